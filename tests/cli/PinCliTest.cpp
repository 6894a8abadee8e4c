#include "cli/CliCommands.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "SimBench.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using namespace kestrel::cli;

namespace {

using Output = kestrel::test::CliOutput;

class PinCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_RUNTIME_DIR", m_dir.filePath(QStringLiteral("run")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
        m_card = m_dir.filePath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), m_card, error));
    }

    Output run(const QString& line)
    {
        return kestrel::test::runCliCommand(
            QStringList{QStringLiteral("--device"), QStringLiteral("VIRTUAL:") + m_card} +
            line.split(u' ', Qt::SkipEmptyParts));
    }

    emulator::SimCardData card()
    {
        const emulator::CardFileResult loaded = emulator::CardFile::load(m_card);
        EXPECT_TRUE(loaded.ok);
        return loaded.card;
    }

    QTemporaryDir m_dir;
    QString m_card;
};

} // namespace

// Each line runs on the card as the lines before left it.
TEST_F(PinCliTest, PinAndFdnCommands)
{
    struct Step
    {
        const char* line;
        int code;
        const char* inOut; // expected in standard output (or empty)
        const char* inErr; // expected in standard error (or empty)
    };
    const Step steps[] = {
        {"pin verify --pin 1234", kExitOk, "\"result\": \"done\"", ""},
        {"pin verify --pin 9999", kExitFailed, "", "Communication error: No valid PIN entered"},
        {"pin verify", kExitFailed, "", "Communication error: Operation cancelled"},
        {"pin verify --pin 12a4", kExitFailed, "", "Wrong PIN!"},
        {"pin change --pin 1234 --new-pin 12", kExitFailed, "", "Entered PIN is too short"},
        {"pin change --pin 1234 --new-pin 4321", kExitOk, "PIN successfuly changed", ""},
        {"pin verify --pin 4321", kExitOk, "done", ""},
        {"pin disable --pin 4321", kExitOk, "PIN is now off", ""},
        {"pin verify", kExitOk, "done", ""}, // nothing to verify
        {"pin enable --pin 4321", kExitOk, "PIN is now on", ""},
        {"pin change2 --pin2 5678 --new-pin2 8765", kExitOk, "PIN successfuly changed", ""},
        {"pin verify2 --pin2 8765", kExitOk, "done", ""},
        {"pin unblock", kExitFailed, "", "nothing was changed"},
        {"pin unblock --yes --puk 12345678 --new-pin 2468", kExitOk, "Card was successfuly unblocked", ""},
        {"fdn on --pin 2468", kExitFailed, "", "Operation cancelled"}, // PIN2 needed
        {"fdn on --pin 2468 --pin2 8765", kExitOk, "done", ""},
        {"fdn off --pin 2468 --pin2 8765", kExitOk, "done", ""},
        {"pin frobnicate", kExitUsage, "", "pin needs one of"},
        {"pin verify --pin 1234 --bogus 1", kExitUsage, "", "--bogus"},
        {"fdn", kExitUsage, "", "fdn needs on or off"},
    };
    bool fdnSeenOn = false;
    for (const Step& s : steps) {
        const QString line = QString::fromLatin1(s.line);
        const Output r = run(line);
        EXPECT_EQ(r.code, s.code) << s.line << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QLatin1String(s.inOut))) << s.line << ": " << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(s.inErr))) << s.line << ": " << r.err.toStdString();
        // Codes are never printed.
        for (const char* code : {"1234", "4321", "5678", "8765", "12345678", "2468", "9999"}) {
            EXPECT_FALSE(r.out.contains(QLatin1String(code))) << s.line;
            EXPECT_FALSE(r.err.contains(QLatin1String(code))) << s.line;
        }
        if (line.startsWith(QLatin1String("fdn on --pin 2468 --pin2")))
            fdnSeenOn = test::findFile(card(), SimFiles::kEfAdn)->invalidated;
    }
    EXPECT_TRUE(fdnSeenOn);
    const emulator::SimCardData after = card();
    EXPECT_EQ(after.chv1.code, "2468");
    EXPECT_TRUE(after.chv1.enabled);
    EXPECT_EQ(after.chv1.attemptsLeft, 3);
    EXPECT_EQ(after.chv2.code, "8765");
    EXPECT_FALSE(test::findFile(after, SimFiles::kEfAdn)->invalidated);
}

TEST_F(PinCliTest, BrokenDeviceIsAFailure)
{
    Output r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = runCli({QStringLiteral("--device"), QStringLiteral("VIRTUAL:") + m_dir.filePath(QStringLiteral("none")),
                     QStringLiteral("pin"), QStringLiteral("verify"), QStringLiteral("--pin"), QStringLiteral("1234")},
                    out, err, false);
    err.flush();
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains(QLatin1String("Reader inaccessible"))) << r.err.toStdString();
}
