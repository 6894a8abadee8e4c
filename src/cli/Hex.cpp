#include "cli/Hex.h"

namespace kestrel::cli {

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<std::vector<uint8_t>> parseHex(const QString& text)
{
    std::vector<uint8_t> out;
    int high = -1;
    for (QChar c : text) {
        if (c == u' ' || c == u':' || c == u'\t') {
            if (high >= 0)
                return std::nullopt; // a separator inside a byte
            continue;
        }
        const int v = hexValue(c);
        if (v < 0)
            return std::nullopt;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return out;
}

QString toHex(std::span<const uint8_t> bytes)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size() * 2));
    for (uint8_t b : bytes) {
        out.append(QChar(kDigits[b >> 4]));
        out.append(QChar(kDigits[b & 0x0F]));
    }
    return out;
}

} // namespace kestrel::cli
