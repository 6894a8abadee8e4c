#include "codec/PcText.h"

#include <array>

#include <QStringDecoder>
#include <QStringEncoder>

namespace kestrel {

namespace {

constexpr const char* kCodePage = "windows-1250";
constexpr char kDefaultChar = '?';
constexpr char kConverterSubstitute = 0x1A;

// Windows-1250 codes 0x80-0xFF as UTF-16, used only where Qt was built without a converter for
// the code page (no ICU). The undefined codes map to the C1 control of the same value, as the
// system converters do.
// clang-format off
constexpr std::array<char16_t, 128> kHighHalf = {
    /* 80 */ 0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    /* 88 */ 0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    /* 90 */ 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    /* 98 */ 0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    /* A0 */ 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    /* A8 */ 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    /* B0 */ 0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    /* B8 */ 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    /* C0 */ 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    /* C8 */ 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    /* D0 */ 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    /* D8 */ 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    /* E0 */ 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    /* E8 */ 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    /* F0 */ 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    /* F8 */ 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

char16_t tableDecode(uint8_t byte)
{
    return byte < 0x80 ? char16_t(byte) : kHighHalf[byte - 0x80];
}

char tableEncode(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return kDefaultChar;
}

// Length in UTF-16 units of the character starting at index i: 2 for a proper surrogate pair.
qsizetype characterLength(const QString& text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

namespace detail {

QString windows1250ToUnicodeByTable(std::string_view bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        out.append(QChar(tableDecode(static_cast<uint8_t>(c))));
    return out;
}

std::string unicodeToWindows1250ByTable(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = characterLength(text, i);
        out.push_back(n == 2 ? kDefaultChar : tableEncode(text.at(i).unicode()));
        i += n;
    }
    return out;
}

} // namespace detail

QString pcTextToUnicode(std::string_view pcText)
{
    return QString::fromUtf8(pcText.data(), static_cast<qsizetype>(pcText.size()));
}

std::string unicodeToPcText(const QString& text)
{
    return text.toUtf8().toStdString();
}

QString windows1250ToUnicode(std::string_view bytes)
{
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return detail::windows1250ToUnicodeByTable(bytes);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

namespace {

std::string encodeWindows1250(const QString& text)
{
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid())
        return detail::unicodeToWindows1250ByTable(text);

    const QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole.toStdString();

    // The converter put its own substitute (0x1A) where a character has no code; redo the text one
    // character at a time so that only those characters become the code page's default character.
    // (The converter's error flag cannot be cleared between characters, so its output is judged.)
    QStringEncoder single(kCodePage, QStringConverter::Flag::Stateless);
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = characterLength(text, i);
        const QByteArray piece = single.encode(QStringView(text).mid(i, n));
        const bool substituted = piece.size() == 1 && piece.at(0) == kConverterSubstitute && text.at(i) != QChar(0x1A);
        out.push_back(piece.size() != 1 || substituted ? kDefaultChar : piece.at(0));
        i += n;
    }
    return out;
}

} // namespace

std::string unicodeToWindows1250(const QString& text, bool* lossy)
{
    std::string out = encodeWindows1250(text);
    if (lossy) {
        // Every character is one byte, so a "?" where the text had none is a replaced character.
        *lossy = false;
        qsizetype i = 0;
        for (std::size_t k = 0; k < out.size() && i < text.size(); ++k) {
            const qsizetype n = characterLength(text, i);
            if (out[k] == kDefaultChar && (n != 1 || text.at(i) != QLatin1Char(kDefaultChar)))
                *lossy = true;
            i += n;
        }
    }
    return out;
}

std::string toWindows1250(std::string_view pcText, bool* lossy)
{
    return unicodeToWindows1250(pcTextToUnicode(pcText), lossy);
}

std::string fromWindows1250(std::string_view bytes)
{
    return unicodeToPcText(windows1250ToUnicode(bytes));
}

std::string throughWindows1250(std::string_view pcText)
{
    return fromWindows1250(toWindows1250(pcText));
}

} // namespace kestrel
