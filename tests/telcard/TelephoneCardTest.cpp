#include <gtest/gtest.h>

#include <memory>

#include <QStringList>

#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "reader/T0Engine.h"
#include "reader/VirtualReader.h"
#include "telcard/TelephoneCard.h"

namespace kestrel {
namespace {

using Image = std::array<uint8_t, 32>;

// A telephone card: mark 0x83, the unit digits in b[2] and b[3], the country in b[11] and the
// given counter bytes from b[12] on.
Image card(uint8_t mark, uint8_t hundreds, uint8_t tensUnits, uint8_t country, std::initializer_list<uint8_t> counter)
{
    Image b{};
    b[0] = 0x98;
    b[1] = mark;
    b[2] = hundreds;
    b[3] = tensUnits;
    b[11] = country;
    std::size_t i = 12;
    for (uint8_t c : counter)
        b[i++] = c;
    return b;
}

struct ValueCase
{
    const char* what;
    Image bytes;
    bool valid;
    int total;
    int remaining;
    const char* country;
};

TEST(TelephoneCard, ValuesFromTheImage)
{
    Image full = card(0x83, 0x00, 0x12, 85, {});
    full.fill(0xFF); // every counter bit set, more than the card's units
    full[1] = 0x83;
    full[2] = 0x00;
    full[3] = 0x12;
    full[11] = 60;
    const ValueCase cases[] = {
        {"118 units, 3 bits used", card(0x83, 0x01, 0x20, 0x1E, {0x07}), true, 118, 117, "Sweden"},
        {"the high nibble of b[2] is no digit", card(0x83, 0xF1, 0x20, 0x1E, {0x07}), true, 118, 117, "Sweden"},
        {"unused card", card(0x83, 0x00, 0x52, 85, {0x03}), true, 50, 50, "Czech Republic"},
        {"all units used", card(0x83, 0x00, 0x12, 101, {0xFF, 0x0F}), true, 10, 0, "Finland"},
        {"counter past the units", full, true, 10, 0, "Ireland"},
        {"not a telephone card", card(0x82, 0x01, 0x20, 34, {0x07}), false, 0, 0, "Spain"},
        {"digits 002", card(0x83, 0x00, 0x02, 95, {}), false, 0, 0, "Gabon"},
        {"digits 001", card(0x83, 0x00, 0x01, 48, {}), false, 0, 0, "Norway"},
        {"unknown country", card(0x83, 0x00, 0x22, 0x00, {0x03}), true, 20, 20, "???"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TelephoneCardValues v = TelephoneCard::evaluate(c.bytes);
        EXPECT_EQ(v.valid, c.valid);
        EXPECT_EQ(v.totalUnits, c.total);
        EXPECT_EQ(v.unitsRemaining, c.remaining);
        EXPECT_EQ(v.country, QString::fromLatin1(c.country));
    }
}

TEST(TelephoneCard, CountingStopsOnceTheUnitsAreUsedUp)
{
    // 10 units + 2 initial: the count stops after the byte that reaches 12.
    const TelephoneCardValues v = TelephoneCard::evaluate(card(0x83, 0x00, 0x12, 0, {0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(v.usedBits, 16);
    EXPECT_EQ(v.unitsRemaining, 0);
}

TEST(TelephoneCard, CountryTable)
{
    const std::pair<uint8_t, const char*> table[] = {
        {30, "Sweden"},         {34, "Spain"}, {48, "Norway"},   {51, "Andorra"}, {60, "Ireland"}, {71, "Portugal"},
        {85, "Czech Republic"}, {95, "Gabon"}, {101, "Finland"}, {31, "???"},     {255, "???"},
    };
    for (const auto& [code, name] : table)
        EXPECT_EQ(TelephoneCard::countryName(code), QString::fromLatin1(name)) << int(code);
}

TEST(TelephoneCard, RawDataIsFourLinesOfEightBytes)
{
    Image b{};
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<uint8_t>(i * 9);
    const QString text = TelephoneCard::rawDataText(b);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("0000\t00\t09\t12\t1b\t24\t2d\t36\t3f"));
    EXPECT_EQ(lines[3], QStringLiteral("0018\td8\te1\tea\tf3\tfc\t05\t0e\t17"));
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
}

// A reader that cannot read memory cards, as the PC/SC one.
class NoMemoryCardReader final : public T0Engine
{
public:
    CardStatus readMemoryCard(std::array<uint8_t, 32>&) override { return CardStatus::InvalidReaderIdentification; }
    CardStatus close() override { return CardStatus::Ok; }
    CardStatus open(const QString&, int) override { return CardStatus::Ok; }
    CardStatus setLineParameters(int, int) override { return CardStatus::Ok; }
    CardStatus readerCardOff() override { return CardStatus::Ok; }
    CardStatus shutDownReader() override { return CardStatus::Ok; }
    CardStatus startReader() override { return CardStatus::Ok; }
    void writeByte(uint8_t) override {}
    uint8_t readRawByte() override { return 0; }
    bool byteAvailable() override { return false; }
};

TEST(TelephoneCard, ReadingThroughTheReader)
{
    const emulator::SimCardData telephone = emulator::StandardCard::telephoneCard();
    VirtualReader reader(std::make_unique<emulator::SimCardModel>(telephone));
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    const TelephoneCardReading r = TelephoneCard::read(&reader);
    EXPECT_EQ(r.status, CardStatus::Ok);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(r.values.bytes, telephone.memory);
    EXPECT_EQ(r.values.totalUnits, 50);
    EXPECT_EQ(r.values.unitsRemaining, 38);
    EXPECT_EQ(r.values.country, QStringLiteral("Czech Republic"));
}

TEST(TelephoneCard, FailuresAndWarnings)
{
    NoMemoryCardReader pcsc;
    const TelephoneCardReading failed = TelephoneCard::read(&pcsc);
    EXPECT_TRUE(failed.failed());
    EXPECT_EQ(failed.status, CardStatus::InvalidReaderIdentification);
    EXPECT_EQ(failed.message,
              QStringLiteral("Error during card operation:\r\nInvalid smartcard reader identification"));
    EXPECT_TRUE(failed.values.rawData.isEmpty());

    const TelephoneCardReading none = TelephoneCard::read(nullptr);
    EXPECT_TRUE(none.failed());
    EXPECT_EQ(none.message, QStringLiteral("No smartcard reader connected!"));

    emulator::SimCardData other = emulator::StandardCard::telephoneCard();
    other.memory[1] = 0x82;
    VirtualReader reader(std::make_unique<emulator::SimCardModel>(other));
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    const TelephoneCardReading invalid = TelephoneCard::read(&reader);
    EXPECT_TRUE(invalid.warning());
    EXPECT_EQ(invalid.message, QStringLiteral("Not a valid telephone card"));
    EXPECT_EQ(invalid.values.totalUnits, 0);
    EXPECT_FALSE(invalid.values.rawData.isEmpty()); // the bytes are still shown
}

} // namespace
} // namespace kestrel
