#include <functional>
#include <string>
#include <utility>

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "base/StringTable.h"
#include "cli/CliHelp.h"
#include "emulator/StandardCard.h"

using namespace kestrel;

namespace {

class LanguageCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        m_card = path("card.json");
        ASSERT_TRUE(saveCard(m_card, emulator::StandardCard::simCard()));
    }

    // kestrel-cli itself (on the card file), or another program, with LANG as given and no other
    // locale variable.
    test::CliOutput runProgram(const QStringList& args, const QString& lang,
                               const QString& program = QStringLiteral(KESTREL_CLI))
    {
        const QStringList words = program == QLatin1String(KESTREL_CLI) ? test::onCardFile(m_card) + args : args;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), lang);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, words);
        test::CliOutput r;
        if (!process.waitForFinished(30000))
            return r;
        r.code = process.exitCode();
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QString m_card;
};

// A text as the compiled translation of a language gives it, looked up in this process.
template <typename Lookup>
QString inLanguage(const char* language, Lookup lookup)
{
    EXPECT_TRUE(installLanguage(QString::fromLatin1(language)));
    const QString text = lookup();
    installLanguage(QStringLiteral("en"));
    return text;
}

// The wrong-PIN message in the language of the locale.
QString expectedMessage(const char* language)
{
    return inLanguage(language, [] { return StringTable::text(sid::NoValidPinEntered_135); });
}

} // namespace

TEST_F(LanguageCliTest, WrongPinMessageFollowsTheLocale)
{
    const QString czech = expectedMessage("cs");
    ASSERT_NE(czech, StringTable::text(sid::NoValidPinEntered_135));
    struct Case
    {
        const char* lang;
        QString expected;
    };
    const Case cases[] = {
        {"cs_CZ.UTF-8", czech},
        {"C.UTF-8", StringTable::text(sid::NoValidPinEntered_135)},
    };
    for (const Case& c : cases) {
        const test::CliOutput r = runProgram(
            {QStringLiteral("phonebook"), QStringLiteral("read"), QStringLiteral("--pin"), QStringLiteral("9999")},
            QString::fromLatin1(c.lang));
        EXPECT_NE(r.code, 0) << c.lang;
        EXPECT_TRUE(r.err.contains(c.expected)) << c.lang << ": " << r.err.toStdString();
    }
}

TEST_F(LanguageCliTest, HelpAndUsageErrorsFollowTheLocale)
{
    const auto help = [](QStringList words) { return [words] { return cli::helpText(words).value_or(QString()); }; };
    const auto unknownOption = [] {
        return StringTable::text(sid::TryKestrelCliHelp_10043)
            .arg(StringTable::text(sid::UnknownOptionBeforeTheCommand_10042).arg(QStringLiteral("--bogus")));
    };
    struct Case
    {
        const char* lang;
        const char* language; // installed here to look the expected text up
        QStringList args;
        std::function<QString()> out; // the whole of standard output
        std::function<QString()> err; // contained in standard error
    };
    const QString phonebook = QStringLiteral("phonebook");
    const Case cases[] = {
        {"cs_CZ.UTF-8", "cs", {QStringLiteral("help")}, help({}), nullptr},
        {"C.UTF-8", "en", {QStringLiteral("help")}, help({}), nullptr},
        {"cs_CZ.UTF-8", "cs", {phonebook, QStringLiteral("--help")}, help({phonebook}), nullptr},
        {"cs_CZ.UTF-8",
         "cs",
         {QStringLiteral("help"), phonebook, QStringLiteral("read")},
         help({phonebook, QStringLiteral("read")}),
         nullptr},
        {"cs_CZ.UTF-8", "cs", {QStringLiteral("--bogus"), QStringLiteral("readers")}, nullptr, unknownOption},
        {"C", "en", {QStringLiteral("--bogus"), QStringLiteral("readers")}, nullptr, unknownOption},
    };
    for (const Case& c : cases) {
        const test::CliOutput r = runProgram(c.args, QString::fromLatin1(c.lang));
        const std::string line = std::string(c.lang) + " " + c.args.join(u' ').toStdString();
        if (c.out) {
            const QString expected = inLanguage(c.language, c.out);
            ASSERT_FALSE(expected.isEmpty()) << line;
            EXPECT_EQ(r.code, 0) << line;
            EXPECT_EQ(r.out.toStdString(), expected.toStdString()) << line;
        } else {
            EXPECT_NE(r.code, 0) << line;
            EXPECT_TRUE(r.err.contains(inLanguage(c.language, c.err))) << line << ": " << r.err.toStdString();
        }
    }
    // kestrel-sim speaks the language of the locale too.
    const QString sim = QStringLiteral(KESTREL_SIM_TOOL);
    const auto noCommand = [] { return StringTable::text(sid::NoCommandGiven_10220); };
    for (const auto& [lang, language] : {std::pair{"cs_CZ.UTF-8", "cs"}, std::pair{"C", "en"}}) {
        const test::CliOutput r = runProgram({}, QString::fromLatin1(lang), sim);
        EXPECT_EQ(r.code, 2) << lang;
        EXPECT_TRUE(r.err.contains(inLanguage(language, noCommand))) << lang << ": " << r.err.toStdString();
    }
    // The Czech help is a translation, and the command and verb still pick the entry.
    EXPECT_NE(inLanguage("cs", help({})), help({})());
    EXPECT_TRUE(inLanguage("cs", help({phonebook, QStringLiteral("read")})).contains(QStringLiteral("phonebook read")));
    EXPECT_FALSE(
        inLanguage("cs", help({phonebook, QStringLiteral("read")})).contains(QStringLiteral("phonebook export")));
}
