#include "cli/CliCommands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "BackupCards.h"
#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

using namespace kestrel;
using namespace kestrel::cli;
using namespace kestrel::gsm::fid;

namespace {

using Output = kestrel::test::CliOutput;

class CardCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        ASSERT_TRUE(makeCard("standard.json", emulator::StandardCard::simCard()));
        ASSERT_TRUE(makeCard("blank.json", test::blankStandardCard()));
    }

    bool makeCard(const char* name, const emulator::SimCardData& data) { return saveCard(path(name), data); }

    // kestrel-cli on the card file `card` (nullptr: no --device) with these words.
    Output run(const char* card, const QStringList& words)
    {
        return kestrel::test::runCliCommand((card ? test::onCardFile(path(card)) : QStringList()) + words);
    }
    Output run(const char* card, const char* line) { return run(card, QString::fromLatin1(line).split(u' ')); }

    emulator::SimCardData card(const char* name) { return loadCard(path(name)); }
};

QStringList names(const QJsonArray& list, const char* field)
{
    QStringList out;
    for (const QJsonValue& v : list)
        out << v.toObject().value(QLatin1String(field)).toVariant().toString();
    return out;
}

} // namespace

TEST_F(CardCliTest, ListsOfTheStandardCard)
{
    struct Case
    {
        const char* line;
        const char* field;
        QStringList expected;
    } const cases[] = {
        {"phonebook read --pin 1234",
         "name",
         {QStringLiteral("Mother"), QStringLiteral("Office"), QStringLiteral("Voicemail"),
          QStringLiteral("Conference bri"), QStringLiteral("Pizza"), QStringLiteral("Hotel Vienna"),
          QStringLiteral("Jens Weber"), QStringLiteral("Frau Grossmann"), QStringLiteral("Dr. Strauss"),
          QStringLiteral("Taxi"), QStringLiteral("Anne Marie"), QStringLiteral("Dentist")}},
        {"phonebook read --fdn --pin 1234", "number", {QStringLiteral("112"), QStringLiteral("420602111222")}},
        {"phonebook read --lnd --pin 1234", "number", {QStringLiteral("224123456"), QStringLiteral("800123456")}},
        {"phonebook read --msisdn --pin 1234", "name", {QStringLiteral("My number")}},
        {"sms read --pin 1234",
         "text",
         {QStringLiteral("Dinner at seven?"), QStringLiteral("Your parcel is waiting at the post office."),
          QStringLiteral("See you on Sunday"), QStringLiteral("I will pick it up tomorrow")}},
        {"networks read --pin 1234", "mcc", {QStringLiteral("230"), QStringLiteral("262")}},
        {"networks read --forbidden --pin 1234", "mnc", {QStringLiteral("3")}},
    };
    for (const Case& c : cases) {
        const Output r = run("standard.json", c.line);
        ASSERT_EQ(r.code, kExitOk) << c.line << ": " << r.err.toStdString();
        ASSERT_TRUE(r.json().isArray()) << c.line;
        EXPECT_EQ(names(r.json().array(), c.field), c.expected) << c.line;
    }

    // --all lists every record, free ones included; the network entries carry operator names.
    Output all = run("standard.json", "phonebook read --all --pin 1234");
    EXPECT_EQ(all.json().array().size(), 250);
    EXPECT_EQ(all.json().array()[4].toObject().value(QLatin1String("valid")), QJsonValue(false));
    const QJsonObject first = run("standard.json", "networks read --pin 1234").json().array()[0].toObject();
    EXPECT_TRUE(first.value(QLatin1String("operator")).isString());
    const QJsonObject sms = run("standard.json", "sms read --pin 1234").json().array()[1].toObject();
    EXPECT_EQ(sms.value(QLatin1String("status")).toString(), QStringLiteral("Received"));
    EXPECT_EQ(sms.value(QLatin1String("number")).toString(), QStringLiteral("420731000111"));
}

TEST_F(CardCliTest, SmsParameters)
{
    Output r = run("standard.json", "smsp read --pin 1234");
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.json().object().value(QLatin1String("serviceCentre")).toString(), QStringLiteral("+420602909909"));

    r = run("standard.json", QStringList{QStringLiteral("smsp"), QStringLiteral("write"), QStringLiteral("--sc"),
                                         QStringLiteral("+4412345"), QStringLiteral("--validity"),
                                         QStringLiteral("7 days"), QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    r = run("standard.json", "smsp read --pin 1234");
    EXPECT_EQ(r.json().object(), (QJsonObject{{QStringLiteral("serviceCentre"), QStringLiteral("+4412345")},
                                              {QStringLiteral("validity"), QStringLiteral("7 days")}}));

    // Refused before the card is touched.
    const emulator::SimCardData before = card("standard.json");
    for (const char* line : {"smsp write --sc 12a --validity 1 --pin 1234", "smsp write --sc 123 --pin 1234",
                             "smsp write --sc 123456789012345678901 --validity 1 --pin 1234",
                             "smsp write --sc 123 --validity tomorrow --pin 1234", "smsp erase"}) {
        r = run("standard.json", line);
        EXPECT_EQ(r.code, kExitUsage) << line;
    }
    EXPECT_EQ(card("standard.json"), before);
}

// Fixed dialling on: the phone book cannot be read. The backup saves the rest, names the part it
// skipped and why, and fails.
TEST_F(CardCliTest, BackupWithFixedDiallingOnListsTheSkippedPart)
{
    ASSERT_TRUE(makeCard("fdn-on.json", test::standardCardWith([](emulator::SimCardData& d) {
                             test::findFile(d, kEfAdn)->invalidated = true;
                         })));
    qputenv("KESTREL_PIN", "1234");
    const Output r = run("fdn-on.json", QStringList{QStringLiteral("backup"), path("fdn-on.sim")});
    EXPECT_EQ(r.code, kExitFailed) << r.err.toStdString();
    const QJsonObject o = r.json().object();
    EXPECT_EQ(o.value(QLatin1String("result")).toString(), QStringLiteral("incomplete"));
    const QJsonArray skipped = o.value(QLatin1String("skipped")).toArray();
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_EQ(skipped[0].toObject().value(QLatin1String("part")).toString(), QStringLiteral("Phone book"));
    EXPECT_EQ(skipped[0].toObject().value(QLatin1String("status")).toInt(), 149);
    EXPECT_EQ(o.value(QLatin1String("counts")).toObject().value(QLatin1String("fdn")).toInt(), 10);
    EXPECT_FALSE(r.err.contains(StringTable::text(57424)));
    EXPECT_TRUE(QFileInfo::exists(path("fdn-on.sim")));
}

// backup, restore onto a blank card, backup again: the same file; dump shows what the card held.
TEST_F(CardCliTest, BackupRestoreAndDump)
{
    Output r = run("standard.json", QStringList{QStringLiteral("backup"), path("first.sim"), QStringLiteral("--pin"),
                                                QStringLiteral("1234")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.json().object().value(QLatin1String("counts")).toObject().value(QLatin1String("phoneBook")).toInt(),
              250);

    r = run("blank.json", QStringList{QStringLiteral("restore"), path("first.sim"), QStringLiteral("--pin"),
                                      QStringLiteral("1234"), QStringLiteral("--pin2"), QStringLiteral("5678")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(StringTable::text(57430)));

    r = run("blank.json",
            QStringList{QStringLiteral("backup"), path("second.sim"), QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(test::fileBytes(path("second.sim")), test::fileBytes(path("first.sim")));

    r = run(nullptr, QStringList{QStringLiteral("dump"), path("second.sim")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonObject dump = r.json().object();
    const auto entries = [&](const char* part) {
        return dump.value(QLatin1String(part)).toObject().value(QLatin1String("entries")).toArray();
    };
    EXPECT_EQ(names(entries("phoneBook"), "name").first(), QStringLiteral("Mother"));
    EXPECT_EQ(dump.value(QLatin1String("phoneBook")).toObject().value(QLatin1String("count")).toInt(), 250);
    EXPECT_EQ(names(entries("fdn"), "number"), (QStringList{QStringLiteral("112"), QStringLiteral("420602111222")}));
    EXPECT_EQ(names(entries("sms"), "text").size(), 4);
    EXPECT_EQ(names(entries("plmn"), "mcc"), (QStringList{QStringLiteral("230"), QStringLiteral("262")}));
    EXPECT_EQ(names(entries("fplmn"), "mcc"), QStringList{QStringLiteral("230")});
    EXPECT_EQ(dump.value(QLatin1String("smsParameters")).toObject().value(QLatin1String("serviceCentre")).toString(),
              QStringLiteral("+420602909909"));
    EXPECT_EQ(run(nullptr, QStringList{QStringLiteral("dump"), path("second.sim"), QStringLiteral("--all")})
                  .json()
                  .object()
                  .value(QLatin1String("sms"))
                  .toObject()
                  .value(QLatin1String("entries"))
                  .toArray()
                  .size(),
              20);
}

TEST_F(CardCliTest, RestoreOnly)
{
    ASSERT_EQ(run("standard.json", QStringList{QStringLiteral("backup"), path("card.sim"), QStringLiteral("--pin"),
                                               QStringLiteral("1234")})
                  .code,
              kExitOk);
    // Without FDN no PIN2 is needed: none is given.
    Output r =
        run("blank.json", QStringList{QStringLiteral("restore"), path("card.sim"), QStringLiteral("--only"),
                                      QStringLiteral("sms,networks"), QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.json().object().value(QLatin1String("restored")).toArray(),
              (QJsonArray{QStringLiteral("sms"), QStringLiteral("networks")}));
    EXPECT_TRUE(run("blank.json", "phonebook read --pin 1234").json().array().isEmpty());
    EXPECT_EQ(run("blank.json", "sms read --pin 1234").json().array().size(), 4);
    EXPECT_EQ(run("blank.json", "networks read --pin 1234").json().array().size(), 2);
    EXPECT_TRUE(run("blank.json", "smsp read --pin 1234")
                    .json()
                    .object()
                    .value(QLatin1String("serviceCentre"))
                    .toString()
                    .isEmpty());

    // FDN without PIN2: the card is not written at all.
    const emulator::SimCardData before = card("blank.json");
    r = run("blank.json",
            QStringList{QStringLiteral("restore"), path("card.sim"), QStringLiteral("--only"),
                        QStringLiteral("phonebook,fdn"), QStringLiteral("--pin"), QStringLiteral("1234")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains(StringTable::text(9701))) << r.err.toStdString(); // "PIN2 needed: give --pin2"
    EXPECT_TRUE(r.err.contains(StringTable::text(57429))) << r.err.toStdString();
    EXPECT_EQ(card("blank.json"), before);
}

TEST_F(CardCliTest, FailuresAndUsage)
{
    ASSERT_TRUE(test::writeBytes(path("broken.sim"), QByteArray("\x0C"
                                                                "SECTION_DIAX")));
    ASSERT_TRUE(test::writeBytes(path("old.sim"), QByteArray("an older backup")));
    struct Case
    {
        const char* card;
        QStringList words;
        int code;
        QString inErr;
    } const cases[] = {
        {"blank.json",
         {QStringLiteral("restore"), path("broken.sim"), QStringLiteral("--pin"), QStringLiteral("1234")},
         kExitFailed,
         StringTable::text(57427)},
        {"blank.json", {QStringLiteral("restore"), path("none.sim")}, kExitFailed, StringTable::text(57426)},
        {nullptr,
         {QStringLiteral("dump"), path("broken.sim")},
         kExitFailed,
         QStringLiteral("Error in backup file structure. Restore")},
        {nullptr, {QStringLiteral("dump")}, kExitUsage, QStringLiteral("dump needs one backup file")},
        // No PIN: the backup stops, the old file stays.
        {"standard.json", {QStringLiteral("backup"), path("old.sim")}, kExitFailed, StringTable::text(57421)},
        {"standard.json", {QStringLiteral("backup")}, kExitUsage, QStringLiteral("missing argument")},
        {"standard.json",
         {QStringLiteral("restore"), path("old.sim"), QStringLiteral("--only"), QStringLiteral("sms,pins")},
         kExitUsage,
         QStringLiteral("unknown part \"pins\"")},
        {"standard.json",
         {QStringLiteral("phonebook"), QStringLiteral("read"), QStringLiteral("--fdn"), QStringLiteral("--lnd")},
         kExitUsage,
         QStringLiteral("at most one")},
        {"standard.json",
         {QStringLiteral("phonebook"), QStringLiteral("write")},
         kExitUsage,
         QStringLiteral("needs read")},
        {"standard.json",
         {QStringLiteral("sms"), QStringLiteral("read"), QStringLiteral("--pin"), QStringLiteral("9999")},
         kExitFailed,
         StringTable::text(5301)},
    };
    for (const Case& c : cases) {
        const Output r = run(c.card, c.words);
        EXPECT_EQ(r.code, c.code) << c.words.join(u' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.inErr)) << c.words.join(u' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QLatin1String("9999")));
    }
    EXPECT_EQ(test::fileBytes(path("old.sim")), QByteArray("an older backup"));
    // The blank card was never written by the refused restores.
    EXPECT_EQ(card("blank.json"), test::blankStandardCard());
}
