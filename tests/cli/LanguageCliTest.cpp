#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "base/StringTable.h"
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

    // kestrel-cli itself, with LANG as given and no other locale variable.
    test::CliOutput runProgram(const QStringList& args, const QString& lang)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), lang);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KESTREL_CLI), test::onCardFile(m_card) + args);
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

// The wrong-PIN message in the language of the locale, as the compiled translation gives it.
QString expectedMessage(const char* language)
{
    EXPECT_TRUE(installLanguage(QString::fromLatin1(language)));
    const QString text = StringTable::text(sid::NoValidPinEntered_135);
    installLanguage(QStringLiteral("en"));
    return text;
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
