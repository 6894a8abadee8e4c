#include "codec/SmsUserData.h"

#include <algorithm>
#include <array>
#include <optional>

#include <QList>
#include <QString>

#include "codec/AlphaCodec.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"

namespace kestrel {

namespace {

constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kUnknown = 0x3F; // "?"

// GSM 03.38 default alphabet extension table: code after the escape, character.
struct Extension
{
    uint8_t code;
    char32_t character;
};
constexpr std::array<Extension, 10> kExtensions = {{
    {0x0A, U'\f'},
    {0x14, U'^'},
    {0x28, U'{'},
    {0x29, U'}'},
    {0x2F, U'\\'},
    {0x3C, U'['},
    {0x3D, U'~'},
    {0x3E, U']'},
    {0x40, U'|'},
    {0x65, U'\u20AC'},
}};

std::string utf8Of(char32_t c)
{
    return QString::fromUcs4(&c, 1).toUtf8().toStdString();
}

// The septets of one character: one for the alphabet, two for the extension table, none when
// neither has it. The table's no-break space at 0x1B is the escape here.
std::optional<std::vector<uint8_t>> septetsOf(char32_t c)
{
    for (std::size_t code = 0; code < GsmAlphabetTable.size(); ++code) {
        if (code != kEscape && GsmAlphabetTable[code] == c)
            return std::vector<uint8_t>{static_cast<uint8_t>(code)};
    }
    for (const Extension& x : kExtensions) {
        if (x.character == c)
            return std::vector<uint8_t>{kEscape, x.code};
    }
    return std::nullopt;
}

void appendCharacter(char32_t c, std::vector<uint8_t>& out)
{
    if (auto s = septetsOf(c)) {
        out.insert(out.end(), s->begin(), s->end());
        return;
    }
    // Folded to the nearest ASCII letter ("Č" to "C") as the program folds PC text; what is
    // still missing becomes "?".
    const std::string one = utf8Of(c);
    bool lossy = false;
    toWindows1250(one, &lossy);
    const std::string folded = lossy ? std::string("?") : FoldToAsciiText(one);
    for (char f : folded) {
        auto s = septetsOf(static_cast<unsigned char>(f));
        if (s)
            out.insert(out.end(), s->begin(), s->end());
        else
            out.push_back(kUnknown);
    }
}

} // namespace

SmsDataCoding DecodeDataCoding(uint8_t dcs)
{
    SmsDataCoding c;
    switch (dcs >> 4) {
    case 0x0:
    case 0x1:
    case 0x2:
    case 0x3: {
        if (dcs & 0x10)
            c.messageClass = static_cast<int8_t>(dcs & 0x03);
        if (dcs & 0x20) {
            c.encoding = SmsEncoding::Undecodable; // compressed
            break;
        }
        static constexpr SmsEncoding kAlphabet[] = {SmsEncoding::Default, SmsEncoding::EightBit, SmsEncoding::Ucs2,
                                                    SmsEncoding::Undecodable};
        c.encoding = kAlphabet[(dcs >> 2) & 0x03];
        break;
    }
    case 0xC: // message waiting, discard message
    case 0xD: // message waiting, store message
        c.encoding = SmsEncoding::Default;
        break;
    case 0xE: // message waiting, store message, UCS2
        c.encoding = SmsEncoding::Ucs2;
        break;
    case 0xF:
        c.encoding = (dcs & 0x04) ? SmsEncoding::EightBit : SmsEncoding::Default;
        c.messageClass = static_cast<int8_t>(dcs & 0x03);
        break;
    default: // reserved coding groups
        c.encoding = SmsEncoding::Undecodable;
        break;
    }
    return c;
}

SmsUserDataHeader ParseUserDataHeader(std::span<const uint8_t> ud)
{
    SmsUserDataHeader h;
    if (ud.empty())
        return h;
    h.octets = std::size_t{ud[0]} + 1;
    if (h.octets > ud.size())
        return h;
    std::size_t at = 1;
    while (at < h.octets) {
        if (at + 2 > h.octets)
            return h; // an element header cut by the end of the header
        const uint8_t iei = ud[at];
        const std::size_t length = ud[at + 1];
        const std::size_t data = at + 2;
        if (data + length > h.octets)
            return h;
        const bool concat8 = iei == 0x00 && length == 3;
        const bool concat16 = iei == 0x08 && length == 4;
        if (concat8 || concat16) {
            const uint16_t reference =
                concat8 ? ud[data] : static_cast<uint16_t>(static_cast<uint16_t>(ud[data]) << 8 | ud[data + 1]);
            const uint8_t total = ud[data + length - 2];
            const uint8_t part = ud[data + length - 1];
            // GSM 03.40: an element with a zero total or part, or a part beyond the total, is ignored.
            if (total != 0 && part != 0 && part <= total) {
                h.concatenated = true;
                h.reference = reference;
                h.total = total;
                h.part = part;
            }
        }
        at = data + length;
    }
    h.valid = true;
    return h;
}

std::vector<uint8_t> UnpackSeptetValues(std::span<const uint8_t> data, std::size_t first, std::size_t udl)
{
    std::vector<uint8_t> septets;
    for (std::size_t i = first; i < udl; ++i) {
        const std::size_t bit = 7 * i;
        const std::size_t k = bit / 8;
        const unsigned o = bit % 8;
        // Septet i ends at bit 7i + 6; stop where the data end.
        if ((bit + 6) / 8 >= data.size())
            break;
        unsigned value = 0;
        if (o <= 1)
            value = (data[k] >> o) & 0x7F;
        else
            value = ((unsigned{data[k + 1]} << (8 - o)) | (data[k] >> o)) & 0x7F;
        septets.push_back(static_cast<uint8_t>(value));
    }
    return septets;
}

std::string GsmSeptetsToText(std::span<const uint8_t> septets, std::size_t maxChars)
{
    std::u32string chars;
    for (std::size_t i = 0; i < septets.size() && chars.size() < maxChars; ++i) {
        uint8_t code = septets[i] & 0x7F;
        if (code == kEscape) {
            if (++i >= septets.size())
                break; // an escape at the end stands for nothing
            code = septets[i] & 0x7F;
            if (code == kEscape) {
                chars.push_back(U' '); // reserved for a further extension table
                continue;
            }
            const auto x = std::find_if(kExtensions.begin(), kExtensions.end(),
                                        [code](const Extension& e) { return e.code == code; });
            if (x != kExtensions.end()) {
                chars.push_back(x->character);
                continue;
            }
        }
        chars.push_back(GsmAlphabetTable[code]);
    }
    return QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size())).toUtf8().toStdString();
}

std::vector<uint8_t> TextToGsmSeptets(std::string_view text)
{
    std::vector<uint8_t> out;
    const QList<uint> chars = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUcs4();
    for (uint c : chars)
        appendCharacter(static_cast<char32_t>(c), out);
    return out;
}

std::size_t GsmSeptetCount(std::string_view text)
{
    return TextToGsmSeptets(text).size();
}

std::string ThroughGsmAlphabet(std::string_view text)
{
    const std::vector<uint8_t> septets = TextToGsmSeptets(text);
    return GsmSeptetsToText(septets, septets.size());
}

std::string Ucs2ToText(std::span<const uint8_t> octets)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < octets.size(); i += 2)
        units.push_back(static_cast<char16_t>(octets[i] << 8 | octets[i + 1]));
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())).toUtf8().toStdString();
}

std::string OctetsAsHex(std::span<const uint8_t> octets)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (uint8_t b : octets) {
        if (!hex.empty())
            hex.push_back(' ');
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 0x0F]);
    }
    return hex;
}

} // namespace kestrel
