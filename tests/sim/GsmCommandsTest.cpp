#include "sim/GsmCommands.h"

#include <string>

#include <QLoggingCategory>
#include <QStringList>

#include <gtest/gtest.h>

#include "SimBench.h"

using namespace kestrel;
using namespace kestrel::test;

TEST(GsmCommands, StatusWordRules)
{
    struct Case
    {
        SwRule rule;
        uint16_t sw;
        CardStatus status;
    };
    constexpr auto Ok = CardStatus::Ok;
    constexpr auto Bad = CardStatus::BadCardResponse;
    const Case cases[] = {
        {SwRule::Select, 0x9000, Ok},
        {SwRule::Select, 0x9F0F, Ok},
        {SwRule::Select, 0x9404, Bad},
        {SwRule::Select, 0x9804, Bad},
        {SwRule::Strict, 0x9000, Ok},
        {SwRule::Strict, 0x9F0F, Bad},
        {SwRule::Strict, 0x9804, Bad},
        {SwRule::Transfer, 0x9000, Ok},
        {SwRule::Transfer, 0x9804, CardStatus::NoValidPin},
        {SwRule::Transfer, 0x9808, Bad},
        {SwRule::Transfer, 0x9402, Bad},
        {SwRule::Chv, 0x9000, Ok},
        {SwRule::Chv, 0x9804, CardStatus::NoValidPin},
        {SwRule::Chv, 0x9840, CardStatus::NoValidPin},
        {SwRule::Chv, 0x6F00, Bad},
        {SwRule::General, 0x9000, Ok},
        {SwRule::General, 0x9F0C, Ok},
        {SwRule::General, 0x9804, CardStatus::WrongPin},
        {SwRule::General, 0x9408, Bad},
        {SwRule::General, 0x6F00, Bad},
        {SwRule::Authenticate, 0x9F0C, Ok},
        {SwRule::Authenticate, 0x9408, CardStatus::AuthenticationBlocked},
        {SwRule::Authenticate, 0x6F00, CardStatus::AuthenticationBlocked},
        {SwRule::Authenticate, 0x9804, CardStatus::WrongPin},
        {SwRule::Authenticate, 0x6D00, Bad},
    };
    for (const Case& c : cases)
        EXPECT_EQ(judgeStatusWord(c.rule, c.sw), c.status) << static_cast<int>(c.rule) << " " << std::hex << c.sw;
}

TEST(GsmCommands, PinBlock)
{
    struct Case
    {
        std::string text;
        bool ok;
        std::string block;
    };
    const Case cases[] = {
        {"1234", true, "31 32 33 34 FF FF FF FF"},      {"12345678", true, "31 32 33 34 35 36 37 38"},
        {"123456789", true, "31 32 33 34 35 36 37 38"}, {"0000x99", true, "30 30 30 30 FF FF FF FF"},
        {"12a4", false, "FF FF FF FF FF FF FF FF"},     {"123", false, "FF FF FF FF FF FF FF FF"},
        {"", false, "FF FF FF FF FF FF FF FF"},         {" 1234", false, "FF FF FF FF FF FF FF FF"},
    };
    for (const Case& c : cases) {
        std::array<uint8_t, 8> block;
        EXPECT_EQ(GsmCommands::pinBlock(c.text, block), c.ok) << c.text;
        EXPECT_EQ(toSpacedHex(block), c.block) << c.text;
    }
}

namespace {

QStringList g_logged;

void collect(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArrayView(context.category) == "kestrel.apdu")
        g_logged << message;
}

} // namespace

// The APDU log shows commands in hex, but never the data of a CHV command.
TEST(GsmCommands, LogNeverHoldsACode)
{
    SimBench bench;
    QLoggingCategory::setFilterRules(QStringLiteral("kestrel.apdu.debug=true"));
    g_logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    GsmCommands gsm(*bench.reader);
    unsigned flags = 0;
    ASSERT_EQ(bench.reader->activateCard(nullptr, flags), CardStatus::Ok);
    uint16_t sw = 0;
    EXPECT_EQ(gsm.verifyChv("1234", 1, sw), CardStatus::Ok);
    EXPECT_EQ(gsm.changeChv(1, "1234", "8765", sw), CardStatus::Ok);
    EXPECT_EQ(gsm.unblockChv("12345678", "2468", 1, sw), CardStatus::Ok);
    EXPECT_EQ(gsm.selectId(0x3F00, sw), CardStatus::Ok);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    ASSERT_EQ(g_logged.size(), 4);
    EXPECT_EQ(g_logged[0], QStringLiteral("A0 20 00 01 08 > ** : 9000"));
    EXPECT_EQ(g_logged[3], QStringLiteral("A0 A4 00 00 02 > 3F 00 : 9F22"));
    for (const QString& line : g_logged) {
        for (const char* code : {"31 32 33 34", "38 37 36 35", "32 34 36 38"})
            EXPECT_FALSE(line.contains(QLatin1String(code))) << line.toStdString();
    }
}

TEST(GsmCommands, BadCodesSendNothing)
{
    SimBench bench;
    GsmCommands gsm(*bench.reader);
    unsigned flags = 0;
    ASSERT_EQ(bench.reader->activateCard(nullptr, flags), CardStatus::Ok);
    uint16_t sw = 0;
    EXPECT_EQ(gsm.verifyChv("1234", 3, sw), CardStatus::WrongPin);
    EXPECT_EQ(gsm.changeChv(1, "1234", "12", sw), CardStatus::WrongPin);
    EXPECT_EQ(gsm.setChv1Enabled("abcd", false, sw), CardStatus::WrongPin);
    EXPECT_EQ(gsm.unblockChv("1234567", "1111", 0, sw), CardStatus::WrongPin);
    EXPECT_TRUE(bench.recorder->log == std::vector<std::string>{"ATR"});
}
