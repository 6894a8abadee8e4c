#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempXdg.h"
#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

using namespace kestrel;

namespace {

using Output = kestrel::test::CliOutput;

class SmsCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        m_card = path("card.json");
        ASSERT_TRUE(saveCard(m_card, emulator::StandardCard::simCard()));
    }

    // `sms <verb> <file>` with the PIN, and --yes when asked to.
    Output sms(const char* verb, const char* file = nullptr, bool yes = true)
    {
        QStringList words = test::onCardFile(m_card) + QStringList{QStringLiteral("sms"), QLatin1String(verb),
                                                                   QStringLiteral("--pin"), QStringLiteral("1234")};
        if (file)
            words << path(file);
        if (yes)
            words << QStringLiteral("--yes");
        return kestrel::test::runCliCommand(words);
    }
    // The card's messages as `sms read` prints them, without the numbering plans: message files
    // do not carry them.
    QJsonArray cardMessages()
    {
        const Output out = sms("read", nullptr, false);
        EXPECT_EQ(out.code, 0) << out.err.toStdString();
        QJsonArray messages;
        for (const QJsonValue& v : out.array()) {
            QJsonObject o = v.toObject();
            o.remove(QStringLiteral("numberNpi"));
            o.remove(QStringLiteral("scNpi"));
            messages.append(o);
        }
        return messages;
    }
    QByteArray contents(const char* name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString m_card;
};

TEST_F(SmsCliTest, ExportThenImportGivesTheCardItsMessagesBack)
{
    const QJsonArray before = cardMessages();
    ASSERT_EQ(before.size(), 4);
    const Output exported = sms("export", "out.sms");
    ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.object().value(QStringLiteral("messages")).toInt(), 4);
    EXPECT_TRUE(contents("out.sms").startsWith("1\t>"));

    // An archive of one message replaces all four; the write question says so.
    QFile one(path("one.sma"));
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.write(">\t>123\t>7 days\t3\t0\t>Only\r\n");
    one.close();
    const Output declined = sms("import", "one.sma", false);
    EXPECT_EQ(declined.code, 1);
    EXPECT_TRUE(declined.err.contains(StringTable::text(9707))) << declined.err.toStdString();
    EXPECT_EQ(cardMessages(), before);
    ASSERT_EQ(sms("import", "one.sma").code, 0);
    const QJsonArray replaced = cardMessages();
    ASSERT_EQ(replaced.size(), 1);
    EXPECT_EQ(replaced[0].toObject().value(QStringLiteral("text")).toString(), QStringLiteral("Only"));

    const Output imported = sms("import", "out.sms");
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.object().value(QStringLiteral("messages")).toInt(), 4);
    EXPECT_EQ(cardMessages(), before);
    EXPECT_EQ(sms("import", "missing.sms").code, 1);
    EXPECT_EQ(sms("export").code, 2);
}

TEST_F(SmsCliTest, ArchiveTwiceAppends)
{
    ASSERT_EQ(sms("archive", "box.sma").code, 0);
    const QByteArray first = contents("box.sma");
    EXPECT_EQ(first.count("\r\n"), 4);
    const Output again = sms("archive", "box.sma");
    ASSERT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_EQ(again.object().value(QStringLiteral("messages")).toInt(), 4);
    EXPECT_EQ(contents("box.sma"), first + first);
}

} // namespace
