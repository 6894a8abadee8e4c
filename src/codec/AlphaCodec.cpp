#include "codec/AlphaCodec.h"

#include <QString>

#include "codec/PcText.h"

namespace kestrel {

// clang-format off
const std::array<char16_t, 128> GsmAlphabetTable = {
    // 0x00
    u'@', 0x00A3, u'$', 0x00A5, 0x00E8, 0x00E9, 0x00F9, 0x00EC,
    0x00F2, 0x00E7, u'\n', 0x00D8, 0x00F8, u'\r', 0x00C5, 0x00E5,
    // 0x10: Greek capitals with the low line at 0x11; 0x1B is the escape code
    0x0394, u'_', 0x03A6, 0x0393, 0x039B, 0x03A9, 0x03A0, 0x03A8,
    0x03A3, 0x0398, 0x039E, 0x00A0, 0x00C6, 0x00E6, 0x00DF, 0x00C9,
    // 0x20
    u' ', u'!', u'"', u'#', 0x00A4, u'%', u'&', u'\'',
    u'(', u')', u'*', u'+', u',', u'-', u'.', u'/',
    // 0x30
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7',
    u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    // 0x40
    0x00A1, u'A', u'B', u'C', u'D', u'E', u'F', u'G',
    u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O',
    // 0x50
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'W',
    u'X', u'Y', u'Z', 0x00C4, 0x00D6, 0x00D1, 0x00DC, 0x00A7,
    // 0x60
    0x00BF, u'a', u'b', u'c', u'd', u'e', u'f', u'g',
    u'h', u'i', u'j', u'k', u'l', u'm', u'n', u'o',
    // 0x70
    u'p', u'q', u'r', u's', u't', u'u', u'v', u'w',
    u'x', u'y', u'z', 0x00E4, 0x00F6, 0x00F1, 0x00FC, 0x00E0,
};
// clang-format on

namespace {

constexpr uint8_t kUnknownGsm = 0x3F;

// Both directions go through the system's code-page converter once, on first use; a name is then
// converted by table lookups alone.
struct AlphaTables
{
    std::array<char, 128> toPc{};
    std::array<uint8_t, 256> toGsm{};

    AlphaTables()
    {
        for (std::size_t code = 0; code < GsmAlphabetTable.size(); ++code) {
            const std::string pc = unicodeToPcText(QString(QChar(GsmAlphabetTable[code])));
            toPc[code] = pc.size() == 1 ? pc[0] : '?';
        }
        for (std::size_t byte = 0; byte < toGsm.size(); ++byte) {
            const char c = static_cast<char>(byte);
            const QString decomposed =
                pcTextToUnicode(std::string_view(&c, 1)).normalized(QString::NormalizationForm_D);
            toGsm[byte] = kUnknownGsm;
            if (decomposed.isEmpty())
                continue;
            const char16_t unit = decomposed.at(0).unicode();
            for (std::size_t code = 0; code < GsmAlphabetTable.size(); ++code) {
                if (GsmAlphabetTable[code] == unit) {
                    toGsm[byte] = static_cast<uint8_t>(code);
                    break;
                }
            }
        }
    }
};

const AlphaTables& alphaTables()
{
    static const AlphaTables tables;
    return tables;
}

} // namespace

std::string GsmToAnsi(uint8_t gsm)
{
    if (gsm >= 0x80)
        return std::string(1, '?');
    return std::string(1, alphaTables().toPc[gsm]);
}

uint8_t AnsiToGsm(std::string_view pcText, std::size_t& pos)
{
    if (pos >= pcText.size())
        return kUnknownGsm;
    return alphaTables().toGsm[static_cast<uint8_t>(pcText[pos++])];
}

std::string StoredAlphaText(std::string_view pcText, std::size_t alphaLength)
{
    std::string stored;
    std::size_t pos = 0;
    while (pos < pcText.size() && stored.size() < alphaLength)
        stored += GsmToAnsi(AnsiToGsm(pcText, pos));
    return stored;
}

} // namespace kestrel
