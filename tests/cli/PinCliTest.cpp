#include "cli/CliCommands.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "SimBench.h"
#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

using namespace kestrel;
using namespace kestrel::cli;

namespace {

using Output = kestrel::test::CliOutput;

constexpr const char* kCodeVariables[] = {"KESTREL_PIN", "KESTREL_PIN2", "KESTREL_PUK", "KESTREL_PUK2"};

class PinCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        for (const char* name : kCodeVariables)
            qunsetenv(name);
        m_card = path("card.json");
        ASSERT_TRUE(saveCard(m_card, emulator::StandardCard::simCard()));
    }

    Output run(const QString& line) { return kestrel::test::runCliCommand(words(line)); }
    // With `input` on standard input.
    Output run(const QString& line, const QByteArray& input)
    {
        return kestrel::test::runCliCommand(words(line), input);
    }

    QStringList words(const QString& line) const { return test::onCardFile(m_card) + test::cliWords(line); }

    emulator::SimCardData card() { return loadCard(m_card); }

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
        {"pin verify --pin 9999", kExitFailed, "", "Communication error: No valid PIN entered. 2 tries left."},
        {"pin verify", kExitFailed, "", "PIN1 needed: give --pin"},
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
        {"fdn on --pin 2468", kExitFailed, "", "PIN2 needed: give --pin2"},
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
            fdnSeenOn = test::findFile(card(), gsm::fid::kEfAdn)->invalidated;
    }
    EXPECT_TRUE(fdnSeenOn);
    const emulator::SimCardData after = card();
    EXPECT_EQ(after.chv1.code, "2468");
    EXPECT_TRUE(after.chv1.enabled);
    EXPECT_EQ(after.chv1.attemptsLeft, 3);
    EXPECT_EQ(after.chv2.code, "8765");
    EXPECT_FALSE(test::findFile(after, gsm::fid::kEfAdn)->invalidated);
}

TEST_F(PinCliTest, BrokenDeviceIsAFailure)
{
    const Output r = kestrel::test::runCliCommand(
        test::onCardFile(path("none")) +
        QStringList{QStringLiteral("pin"), QStringLiteral("verify"), QStringLiteral("--pin"), QStringLiteral("1234")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains(QLatin1String("Reader inaccessible"))) << r.err.toStdString();
}

// Codes from standard input ("-", one line each in the order of the options) and from the
// environment; each line runs on the card as the lines before left it.
TEST_F(PinCliTest, CodesFromStandardInputAndEnvironment)
{
    struct Step
    {
        const char* line;
        const char* input; // standard input
        const char* env;   // "NAME=value ..." set before the run
        int code;
        const char* inErr; // expected in standard error (or empty)
    };
    const Step steps[] = {
        {"phonebook read --pin -", "1234\n", "", kExitOk, ""},
        {"pin change --pin - --new-pin -", "1234\n4321\n", "", kExitOk, ""},
        // The lines follow the options, not a fixed order of the codes.
        {"pin change --new-pin - --pin -", "1234\r\n4321", "", kExitOk, ""},
        {"pin verify --pin -", "", "", kExitUsage, "--pin -: standard input ended"},
        {"pin change --pin - --new-pin -", "1234\n", "", kExitUsage, "--new-pin -: standard input ended"},
        {"pin verify", "", "KESTREL_PIN=1234", kExitOk, ""},
        {"fdn on", "", "KESTREL_PIN=1234 KESTREL_PIN2=5678", kExitOk, ""},
        {"fdn off --pin2 -", "5678\n", "KESTREL_PIN=1234 KESTREL_PIN2=8888", kExitOk, ""}, // the option wins
        {"pin unblock --yes", "", "KESTREL_PUK=12345678", kExitFailed, "New PIN1 needed: give --new-pin"},
        {"pin verify", "1234\n", "", kExitFailed, "PIN1 needed: give --pin"}, // input unused without "-"
        {"pin verify --pin 1234", "", "", kExitOk, "other users of this machine"},
    };
    const QString warning = StringTable::text(9706);
    for (const Step& s : steps) {
        for (const QString& assignment : QString::fromLatin1(s.env).split(u' ', Qt::SkipEmptyParts))
            qputenv(assignment.section(u'=', 0, 0).toLatin1().constData(), assignment.section(u'=', 1).toLatin1());
        const Output r = run(QString::fromLatin1(s.line), QByteArray(s.input));
        EXPECT_EQ(r.code, s.code) << s.line << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(s.inErr))) << s.line << ": " << r.err.toStdString();
        // The warning only for a code written on the command line, and once.
        EXPECT_EQ(r.err.count(warning), QString::fromLatin1(s.line).contains(QLatin1String("1234")) ? 1 : 0) << s.line;
        // Codes are never printed (the phone book's numbers hold such digits).
        const bool phoneBook = QLatin1String(s.line).startsWith(QLatin1String("phonebook"));
        EXPECT_TRUE(!phoneBook || r.array().size() == 12) << r.out.toStdString();
        for (const char* code : {"1234", "4321", "5678", "8888", "12345678"}) {
            EXPECT_TRUE(phoneBook || !r.out.contains(QLatin1String(code))) << s.line;
            EXPECT_FALSE(r.err.contains(QLatin1String(code))) << s.line;
        }
        // Read or not, the code variables are gone: no child process inherits them.
        for (const char* name : kCodeVariables)
            EXPECT_FALSE(qEnvironmentVariableIsSet(name)) << s.line << ": " << name;
    }
    const emulator::SimCardData after = card();
    EXPECT_EQ(after.chv1.code, "1234");
    EXPECT_EQ(after.chv1.attemptsLeft, 3);
    EXPECT_EQ(after.chv2.attemptsLeft, 3);
    EXPECT_EQ(after.chv1.unblockAttemptsLeft, 10);
    EXPECT_FALSE(test::findFile(after, gsm::fid::kEfAdn)->invalidated);

    // Two codes on the command line: the warning is said once.
    const Output both = run(QStringLiteral("pin change --pin 1234 --new-pin 1234"), QByteArray());
    EXPECT_EQ(both.code, kExitOk) << both.err.toStdString();
    EXPECT_EQ(both.err.count(warning), 1) << both.err.toStdString();
}

// Without a terminal and without a code the command says which code it needs, exits with 1 and
// spends no try.
TEST_F(PinCliTest, CodesNeededWithoutATerminal)
{
    emulator::SimCardData blocked2 = card();
    blocked2.chv2.attemptsLeft = 0;
    QString error;
    ASSERT_TRUE(emulator::CardFile::save(blocked2, m_card, error));
    struct Case
    {
        const char* line;
        QStringList said;
    };
    const Case cases[] = {
        {"phonebook read", {QStringLiteral("PIN1 needed: give --pin")}},
        {"pin change --pin -", {QStringLiteral("New PIN1 needed: give --new-pin")}},
        {"pin change2",
         {QStringLiteral("PIN2 needed: give --pin2"), QStringLiteral("New PIN2 needed: give --new-pin2")}},
        {"pin unblock --new-pin2 -", {QStringLiteral("PUK2 needed: give --puk2")}},
    };
    for (const Case& c : cases) {
        const Output r = run(QString::fromLatin1(c.line), QByteArray("1234\n2468\n"));
        EXPECT_EQ(r.code, kExitFailed) << c.line;
        EXPECT_TRUE(r.out.isEmpty()) << c.line;
        QStringList said;
        for (const QString& line : r.err.split(u'\n', Qt::SkipEmptyParts))
            said.append(line.section(QStringLiteral("kestrel-cli: "), 1));
        EXPECT_EQ(said, c.said) << c.line << ": " << r.err.toStdString();
    }
    const emulator::SimCardData after = card();
    EXPECT_EQ(after.chv1.attemptsLeft, 3);
    EXPECT_EQ(after.chv2.attemptsLeft, 0);
    EXPECT_EQ(after.chv2.unblockAttemptsLeft, 10);
}
