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

TEST(SimTool, NewMakesTheShapesAsked)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case
    {
        QStringList options;
        int adnRecords, smsRecords, recordLength;
        bool pin1Enabled, blank;
    };
    const Case cases[] = {
        {{}, 250, 20, 28, true, false},
        {{QStringLiteral("--adn"), QStringLiteral("254"), QStringLiteral("--name-length"), QStringLiteral("16")},
         254,
         20,
         30,
         true,
         false},
        {{QStringLiteral("--sms"), QStringLiteral("1"), QStringLiteral("--pin1-disabled"), QStringLiteral("--adn"),
          QStringLiteral("1")},
         1,
         1,
         28,
         false,
         false},
        {{QStringLiteral("--blank"), QStringLiteral("--name-length"), QStringLiteral("0"), QStringLiteral("--sms"),
          QStringLiteral("254")},
         250,
         254,
         14,
         true,
         true},
        {{QStringLiteral("--name-length"), QStringLiteral("241"), QStringLiteral("--adn"), QStringLiteral("254")},
         254,
         20,
         255,
         true,
         false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const QString path = dir.filePath(QStringLiteral("card%1.json").arg(++n));
        const ToolRun r = run(QStringList{QStringLiteral("new"), path} + c.options);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const CardFileResult loaded = CardFile::load(path);
        ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
        const SimCardData expected = StandardCard::simCard({.blank = c.blank,
                                                            .adnRecords = c.adnRecords,
                                                            .smsRecords = c.smsRecords,
                                                            .nameLength = c.recordLength - 14,
                                                            .pin1Disabled = !c.pin1Enabled});
        EXPECT_TRUE(loaded.card == expected);
        EXPECT_EQ(loaded.card.chv1.enabled, c.pin1Enabled);
    }
}

TEST(SimTool, ShowPrintsTheTreeWithoutCodes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sim = dir.filePath(QStringLiteral("sim.json"));
    ASSERT_EQ(run({QStringLiteral("new"), sim}).code, 0);
    const ToolRun shown = run({QStringLiteral("show"), sim});
    EXPECT_EQ(shown.code, 0);
    for (const char* expected :
         {"7F10 DF_TELECOM", "6F3A EF_ADN  linear fixed, 250 records of 28 bytes, 12 used", "6F44 EF_LND  cyclic",
          "CHV1: 3 of 3 attempts left, unblock 10 of 10, enabled", "#  4 43 6F 6E 66",
          "6FAE EF_Phase  transparent, 1 bytes",
          // Each line says what the file's SELECT response says.
          "3F00 MF  (3F00); MF, 2 DFs, 2 EFs\n", "  7F20 DF_GSM  (3F00/7F20); DF, 0 DFs, 18 EFs\n",
          "    6F3A EF_ADN  linear fixed, 250 records of 28 bytes, 12 used; read CHV1, update CHV1, increase NEV, "
          "invalidate CHV2, rehabilitate CHV2; valid (status 01); EF, 7000 bytes\n",
          "    6F39 EF_ACM  cyclic, 5 records of 3 bytes, 3 used; read CHV1, update CHV1, increase CHV1, invalidate "
          "ADM, "
          "rehabilitate ADM; valid (status 01); EF, 15 bytes\n",
          "  2FE2 EF_ICCID  transparent, 10 bytes; read ALW, update NEV, increase NEV, invalidate ADM, rehabilitate "
          "ADM; "
          "valid (status 01); EF\n"})
        EXPECT_TRUE(shown.out.contains(QString::fromLatin1(expected))) << expected;
    for (const char* code : {"12345678", "87654321", "\"1234\"", "5678"})
        EXPECT_FALSE(shown.out.contains(QString::fromLatin1(code))) << code;

    SimCardData card = StandardCard::simCard();
    for (SimFile& f : card.files) {
        f.invalidated = f.id() == 0x6F3A || f.id() == 0x6F07;
        f.readableWhenInvalidated = f.id() == 0x6F07;
    }
    const QString described = describeCard(card);
    EXPECT_TRUE(described.contains(QStringLiteral("rehabilitate CHV2; invalidated (status 00); EF, 7000 bytes")));
    EXPECT_TRUE(described.contains(QStringLiteral("invalidated, readable when invalidated (status 04); EF\n")));
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
        {{QStringLiteral("new"), broken, QStringLiteral("--adn")}, 2, "--adn needs a number from 1 to 254"},
        {{QStringLiteral("new"), broken, QStringLiteral("--adn"), QStringLiteral("0")}, 2, "--adn needs a number"},
        {{QStringLiteral("new"), broken, QStringLiteral("--adn"), QStringLiteral("255")}, 2, "--adn needs a number"},
        {{QStringLiteral("new"), broken, QStringLiteral("--adn"), QStringLiteral("12x")}, 2, "--adn needs a number"},
        {{QStringLiteral("new"), QStringLiteral("--adn"), QStringLiteral("--force"), broken}, 2, "--adn needs a"},
        {{QStringLiteral("new"), broken, QStringLiteral("--sms"), QStringLiteral("-1")}, 2, "--sms needs a number"},
        {{QStringLiteral("new"), broken, QStringLiteral("--name-length"), QStringLiteral("242")},
         2,
         "--name-length needs a number from 0 to 241"},
        {{QStringLiteral("new"), broken, QStringLiteral("--telephone-card"), QStringLiteral("--blank")},
         2,
         "--telephone-card takes none"},
        {{QStringLiteral("new"), broken, QStringLiteral("--sms")}, 2, "usage: kestrel-sim new <card file> [--blank]"},
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
