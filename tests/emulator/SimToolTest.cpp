#include "emulator/SimTool.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "CliRun.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

using namespace kestrel::emulator;

namespace {

using ToolRun = kestrel::test::CliOutput;

ToolRun run(const QStringList& arguments)
{
    return kestrel::test::captureOutput(
        [&](QTextStream& out, QTextStream& err) { return runSimTool(arguments, out, err); });
}

TEST(SimTool, NewWritesTheStandardCardsAndRefusesToOverwrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sim = dir.filePath(QStringLiteral("sim.json"));
    const QString tel = dir.filePath(QStringLiteral("tel.json"));
    EXPECT_EQ(run({QStringLiteral("new"), sim}).code, 0);
    EXPECT_TRUE(CardFile::load(sim).card == StandardCard::simCard());
    EXPECT_EQ(run({QStringLiteral("new"), tel, QStringLiteral("--telephone-card")}).code, 0);
    EXPECT_TRUE(CardFile::load(tel).card == StandardCard::telephoneCard());

    const ToolRun again = run({QStringLiteral("new"), sim, QStringLiteral("--telephone-card")});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("--force")));
    EXPECT_EQ(CardFile::load(sim).card.kind, CardKind::Sim);
    EXPECT_EQ(run({QStringLiteral("new"), sim, QStringLiteral("--telephone-card"), QStringLiteral("--force")}).code, 0);
    EXPECT_EQ(CardFile::load(sim).card.kind, CardKind::TelephoneCard);
}

TEST(SimTool, ShowPrintsTheTreeWithoutCodes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sim = dir.filePath(QStringLiteral("sim.json"));
    ASSERT_EQ(run({QStringLiteral("new"), sim}).code, 0);
    const ToolRun shown = run({QStringLiteral("show"), sim});
    EXPECT_EQ(shown.code, 0);
    for (const char* expected : {"7F10 DF_TELECOM", "6F3A EF_ADN  linear fixed, 250 records of 28 bytes, 6 used",
                                 "6F44 EF_LND  cyclic", "CHV1: 3 of 3 attempts left, unblock 10 of 10, enabled",
                                 "#  4 43 6F 6E 66", "6FAE EF_Phase  transparent, 1 bytes"})
        EXPECT_TRUE(shown.out.contains(QString::fromLatin1(expected))) << expected;
    for (const char* code : {"12345678", "87654321", "\"1234\"", "5678"})
        EXPECT_FALSE(shown.out.contains(QString::fromLatin1(code))) << code;
}

TEST(SimTool, UsageAndBrokenFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString broken = dir.filePath(QStringLiteral("broken.json"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{ not json");
    f.close();
    struct Case
    {
        QStringList arguments;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{}, 2, "no command"},
        {{QStringLiteral("frobnicate")}, 2, "unknown command frobnicate"},
        {{QStringLiteral("serve")}, 2, "needs --card"},
        {{QStringLiteral("serve"), QStringLiteral("--card")}, 2, "--card needs a card file"},
        {{QStringLiteral("serve"), QStringLiteral("--card"), broken}, 2, "needs --vpcd"},
        {{QStringLiteral("serve"), QStringLiteral("--card"), broken, QStringLiteral("--vpcd"), QStringLiteral("x:0")},
         2,
         "from 1 to 65535"},
        {{QStringLiteral("serve"), QStringLiteral("--card"), broken, QStringLiteral("--vpcd")}, 1, "not valid JSON"},
        {{QStringLiteral("serve"), QStringLiteral("--card"), broken, QStringLiteral("--loud")}, 2, "unknown argument"},
        {{QStringLiteral("serve"), QStringLiteral("--card"), broken, QStringLiteral("--pull-at"), QStringLiteral("0")},
         2,
         "--pull-at needs a command number"},
        {{QStringLiteral("serve"), QStringLiteral("--nulls-from")}, 2, "--nulls-from needs a command number"},
        {{QStringLiteral("serve"), QStringLiteral("--status-at"), QStringLiteral("3:6F0")}, 2, "N:SW"},
        {{QStringLiteral("new")}, 2, "exactly one card file"},
        {{QStringLiteral("new"), broken, QStringLiteral("--wide")}, 2, "unknown option --wide"},
        {{QStringLiteral("show"), broken, broken}, 2, "exactly one card file"},
        {{QStringLiteral("show"), broken}, 1, "not valid JSON"},
        {{QStringLiteral("show"), dir.filePath(QStringLiteral("none.json"))}, 1, "none.json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const ToolRun r = run(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.message))) << r.err.toStdString();
    }
}

} // namespace
