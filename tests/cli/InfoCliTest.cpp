#include "cli/CliCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

using namespace kestrel;
using namespace kestrel::cli;

namespace {

using Output = kestrel::test::CliOutput;

class InfoCliTest : public test::CliFixture
{
protected:
    Output run(const emulator::SimCardData& card, const QStringList& words)
    {
        const QString cardPath = path(QStringLiteral("card%1.json").arg(m_cards++));
        saveCard(cardPath, card);
        return kestrel::test::runCliCommand(test::onCardFile(cardPath) + words);
    }

    int m_cards = 0;
};

TEST_F(InfoCliTest, InfoOfTheStandardCard)
{
    const Output r = run(emulator::StandardCard::simCard(),
                         {QStringLiteral("info"), QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonObject o = r.object();
    const QJsonObject global = o[QStringLiteral("global")].toObject();
    EXPECT_EQ(global[QStringLiteral("phase")].toString(), QStringLiteral("2+"));
    EXPECT_EQ(global[QStringLiteral("imsi")].toString(), QStringLiteral("230011234567890"));
    const QJsonObject costs = global[QStringLiteral("callCosts")].toObject();
    EXPECT_EQ(costs[QStringLiteral("sumUsed")].toString(), QStringLiteral(" 105.00"));
    EXPECT_EQ(costs[QStringLiteral("acmUnits")].toInt(), 42);
    EXPECT_EQ(global[QStringLiteral("codes")].toArray()[0].toObject()[QStringLiteral("activated")], QJsonValue(true));
    EXPECT_EQ(o[QStringLiteral("capacities")].toObject()[QStringLiteral("sms")].toObject()[QStringLiteral("items")],
              QJsonValue(20));
    const QJsonObject own = o[QStringLiteral("ownNumbers")].toObject();
    EXPECT_EQ(own[QStringLiteral("lines")].toArray()[0].toString(), QStringLiteral("1\tMy number\t+420603123456"));
    EXPECT_EQ(own[QStringLiteral("entries")].toArray().size(), 1);
}

TEST_F(InfoCliTest, InfoReportAndFailures)
{
    const Output report = run(emulator::StandardCard::simCard(), {QStringLiteral("info"), QStringLiteral("--report"),
                                                                  QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(report.code, kExitOk) << report.err.toStdString();
    EXPECT_TRUE(report.out.startsWith(QStringLiteral("SIM card global information\nInternational code: \t")));
    EXPECT_TRUE(report.out.contains(QStringLiteral("\n{$B}Self dial number\n")));

    // No PIN given and no terminal to ask: nothing is read, no try spent.
    const Output noPin = run(emulator::StandardCard::simCard(), {QStringLiteral("info")});
    EXPECT_EQ(noPin.code, kExitFailed);
    EXPECT_TRUE(noPin.out.isEmpty());
    EXPECT_FALSE(noPin.err.isEmpty());

    const Output extra = run(emulator::StandardCard::simCard(), {QStringLiteral("info"), QStringLiteral("more")});
    EXPECT_EQ(extra.code, kExitUsage);
}

TEST_F(InfoCliTest, Telcard)
{
    const Output r = run(emulator::StandardCard::telephoneCard(), {QStringLiteral("telcard")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonObject o = r.object();
    EXPECT_TRUE(o[QStringLiteral("valid")].toBool());
    EXPECT_EQ(o[QStringLiteral("totalUnits")].toInt(), 50);
    EXPECT_EQ(o[QStringLiteral("unitsRemaining")].toInt(), 38);
    EXPECT_EQ(o[QStringLiteral("country")].toString(), QStringLiteral("Czech Republic"));
    EXPECT_EQ(o[QStringLiteral("rawData")].toString().split(u'\n').size(), 4);

    emulator::SimCardData other = emulator::StandardCard::telephoneCard();
    other.memory[1] = 0x82;
    const Output invalid = run(other, {QStringLiteral("telcard")});
    EXPECT_EQ(invalid.code, kExitOk);
    EXPECT_TRUE(invalid.err.contains(QStringLiteral("Not a valid telephone card")));
    EXPECT_EQ(invalid.object()[QStringLiteral("totalUnits")].toInt(), 0);
}

} // namespace
