#include "telcard/TelephoneCard.h"

#include <bit>

#include "base/StringTable.h"
#include "reader/CardReader.h"

namespace kestrel {

namespace {

constexpr uint8_t kTelephoneCardMark = 0x83;
constexpr std::size_t kCounterFirst = 12;
constexpr std::size_t kCounterLast = 30;
constexpr int kInitialUnits = 2;

// Texts of the telephone card window that have no number in the string table.
constexpr int kNoReader = strId(sid::NoSmartcardReaderConnected_9017);
constexpr int kReadError = strId(sid::ErrorDuringCardOperation_9018);
constexpr int kInvalidCard = strId(sid::NotAValidTelephoneCard_9019);
const char* const kUnknownCountry = "???";

struct Country
{
    uint8_t code;
    const char* name;
};

// Issuing countries by the code in b[11].
constexpr Country kCountries[] = {
    {30, "Sweden"},   {34, "Spain"},          {48, "Norway"}, {51, "Andorra"},  {60, "Ireland"},
    {71, "Portugal"}, {85, "Czech Republic"}, {95, "Gabon"},  {101, "Finland"},
};

} // namespace

TelephoneCardReading TelephoneCard::read(CardReader* reader)
{
    TelephoneCardReading reading;
    if (!reader) {
        reading.status = CardStatus::ReaderInaccessible;
        reading.message = noReaderText();
        return reading;
    }
    std::array<uint8_t, 32> bytes{};
    reading.status = reader->readMemoryCard(bytes);
    if (reading.status != CardStatus::Ok) {
        reading.message = readErrorText(reading.status);
        return reading;
    }
    reading.values = evaluate(bytes);
    if (!reading.values.valid)
        reading.message = invalidCardText();
    return reading;
}

TelephoneCardValues TelephoneCard::evaluate(const std::array<uint8_t, 32>& b)
{
    TelephoneCardValues v;
    v.bytes = b;
    // The total on the card counts the two initial units; the user's total does not.
    const int total = 100 * (b[2] & 0x0F) + 10 * (b[3] >> 4) + (b[3] & 0x0F) - kInitialUnits;
    v.country = countryName(b[11]);

    int used = 0;
    for (std::size_t i = kCounterFirst; i <= kCounterLast; ++i) {
        used += std::popcount(b[i]);
        if (used >= total + kInitialUnits)
            break;
    }
    v.usedBits = used;

    // Anything but a telephone card, or a total of no units (or a nonsensical negative one), shows
    // as an invalid card with no units at all rather than with numbers made up from its bytes.
    v.valid = b[1] == kTelephoneCardMark && total > 0;
    if (v.valid) {
        v.totalUnits = total;
        v.unitsRemaining = total + kInitialUnits >= used ? total - used + kInitialUnits : 0;
    }
    v.rawData = rawDataText(b);
    return v;
}

QString TelephoneCard::countryName(uint8_t code)
{
    for (const Country& c : kCountries) {
        if (c.code == code)
            return QString::fromLatin1(c.name);
    }
    return QString::fromLatin1(kUnknownCountry);
}

QString TelephoneCard::rawDataText(const std::array<uint8_t, 32>& bytes)
{
    QString text;
    for (std::size_t j = 0; j < bytes.size(); ++j) {
        if (j % 8 == 0)
            text += QString::asprintf("%04x\t", static_cast<unsigned>(j));
        text += QString::asprintf("%02x", static_cast<unsigned>(bytes[j]));
        if (j % 8 != 7)
            text += QLatin1Char('\t');
        else if (j != bytes.size() - 1)
            text += QStringLiteral("\r\n");
    }
    return text;
}

QString TelephoneCard::noReaderText()
{
    return StringTable::text(kNoReader);
}

QString TelephoneCard::readErrorText(CardStatus status)
{
    return StringTable::text(kReadError) + QStringLiteral("\r\n") + cardStatusMessage(status);
}

QString TelephoneCard::invalidCardText()
{
    return StringTable::text(kInvalidCard);
}

} // namespace kestrel
