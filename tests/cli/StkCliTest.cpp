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

class StkCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        ASSERT_TRUE(saveCard(m_card, emulator::StandardCard::simCard()));
    }

    Output run(const QStringList& words) { return kestrel::test::runCliCommand(test::onCardFile(m_card) + words); }
    Output run(const char* line) { return run(QString::fromLatin1(line).split(u' ')); }

    QString m_card = path("standard.json");
};

TEST_F(StkCliTest, MenuOfTheVirtualCard)
{
    const Output r = run("stk menu --pin 1234");
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonObject menu = r.object();
    EXPECT_EQ(menu.value(QLatin1String("title")).toString(), QStringLiteral("Kestrel SIM"));
    const QJsonArray items = menu.value(QLatin1String("items")).toArray();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].toObject().value(QLatin1String("id")).toInt(), 1);
    EXPECT_EQ(items[0].toObject().value(QLatin1String("text")).toString(), QStringLiteral("Services"));
    EXPECT_EQ(items[2].toObject().value(QLatin1String("text")).toString(), QStringLiteral("About"));
}

// Each menu item browsed to the card's DISPLAY TEXT; without an answer the dialogs count as
// cancelled and nothing is displayed.
TEST_F(StkCliTest, SelectBrowsesToTheDisplayedText)
{
    struct Case
    {
        QStringList words;
        int code;
        QString displayed; // empty: nothing
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("1"), QStringLiteral("--item"), QStringLiteral("3")},
         kExitOk,
         QStringLiteral("Balance: 38 units")},
        {{QStringLiteral("1")}, kExitOk, QString()},
        {{QStringLiteral("2"), QStringLiteral("--input"), QStringLiteral("Eva")}, kExitOk, QStringLiteral("Eva")},
        {{QStringLiteral("2")}, kExitOk, QString()},
        {{QStringLiteral("7")}, kExitFailed, QString()},
    };
    for (const Case& c : cases) {
        const Output r = run(QStringList{QStringLiteral("stk"), QStringLiteral("select")} + c.words +
                             QStringList{QStringLiteral("--pin"), QStringLiteral("1234")});
        ASSERT_EQ(r.code, c.code) << c.words.join(u' ').toStdString() << r.err.toStdString();
        if (c.code != kExitOk)
            continue;
        const QJsonArray shown = r.object().value(QLatin1String("displayed")).toArray();
        if (c.displayed.isEmpty()) {
            EXPECT_TRUE(shown.isEmpty()) << c.words.join(u' ').toStdString();
        } else {
            ASSERT_EQ(shown.size(), 1) << c.words.join(u' ').toStdString();
            EXPECT_TRUE(shown[0].toString().contains(c.displayed)) << shown[0].toString().toStdString();
        }
    }
}

TEST_F(StkCliTest, UsageErrors)
{
    for (const char* line :
         {"stk", "stk list", "stk select", "stk select x", "stk select 300", "stk select 1 --item y", "stk select 1 2"})
        EXPECT_EQ(run(line).code, kExitUsage) << line;
}

} // namespace
