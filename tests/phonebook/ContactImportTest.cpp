#include "phonebook/ContactImport.h"

#include <string>
#include <vector>

#include <QFile>

#include "PhoneBookToolsFixture.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "phonebook/PhoneBookFiles.h"

namespace kestrel::test {
namespace {

struct ImportCase
{
    const char* what;
    std::vector<Contact> contacts;
    int maxName;
    int freeRows;
    std::vector<std::string> entries; // "name=number"
    QStringList losses;               // lossLine of each
};

QString text(int id)
{
    return StringTable::text(id);
}

TEST(ContactImportTest, ContactsBecomeEntriesAndEveryLossIsListed)
{
    const QString noRow = text(sid::NoFreeRowLeftIn_9948);
    const ImportCase cases[] = {
        {"one number: the name as it is; separators and '/' go, a leading 00 stays",
         {{QStringLiteral(u"Jiří Novák"), {{QStringLiteral("00420 (603) 123-456/7.8")}}}},
         20,
         250,
         {"Jiří Novák=00420603123456"
          "78"},
         {}},
        {"the trunk prefix \"(0)\" after a country code goes, other brackets are stripped",
         {{QStringLiteral("UK"), {{QStringLiteral("+44 (0)20 7946 0000")}}},
          {QStringLiteral("US"), {{QStringLiteral("+1 (212) 555-1234")}}},
          {QStringLiteral("National"), {{QStringLiteral("(0)20 7946 0000")}}}},
         20,
         250,
         {"UK=+442079460000", "US=+12125551234", "National=02079460000"},
         {}},
        {"untyped and other numbers share the suffix /O",
         {{QStringLiteral("Pat"), {{QStringLiteral("1")}, {QStringLiteral("2"), ContactType::Other}}}},
         20,
         250,
         {"Pat/O=1", "Pat/O2=2"},
         {}},
        {"several numbers: suffixes by type, a second of a type numbered, the name cut to make room",
         {{QStringLiteral("Alexandra Koval"),
           {{QStringLiteral("+420603123456"), ContactType::Cell},
            {QStringLiteral("212345678"), ContactType::Work},
            {QStringLiteral("603999888"), ContactType::Cell},
            {QStringLiteral("*31#"), ContactType::Voice}}}},
         14,
         250,
         {"Alexandra Ko/M=+420603123456", "Alexandra Ko/W=212345678", "Alexandra K/M2=603999888",
          "Alexandra Ko/O=*31#"},
         {QStringLiteral("\"Alexandra Koval/M\" is cut to \"Alexandra Ko/M\""),
          QStringLiteral("\"Alexandra Koval/W\" is cut to \"Alexandra Ko/W\""),
          QStringLiteral("\"Alexandra Koval/M2\" is cut to \"Alexandra K/M2\""),
          QStringLiteral("\"Alexandra Koval/O\" is cut to \"Alexandra Ko/O\"")}},
        {"a cut between words leaves no blank before the suffix",
         {{QStringLiteral("Ann Lee Brown"),
           {{QStringLiteral("1"), ContactType::Cell}, {QStringLiteral("2"), ContactType::Cell}}}},
         10,
         250,
         {"Ann Lee/M=1", "Ann Lee/M2=2"},
         {QStringLiteral("\"Ann Lee Brown/M\" is cut to \"Ann Lee/M\""),
          QStringLiteral("\"Ann Lee Brown/M2\" is cut to \"Ann Lee/M2\"")}},
        {"left out: bad characters, too long, no number, no name, no free row",
         {{QStringLiteral("Ext"), {{QStringLiteral("+420 603 123 456 x12")}}},
          {QStringLiteral("Long"), {{QString(61, QLatin1Char('1'))}}},
          {QStringLiteral("Nobody"), {}},
          {QString(), {{QStringLiteral("123")}}},
          {QStringLiteral("Fits"), {{QStringLiteral("1"), ContactType::Home}, {QStringLiteral("2")}}}},
         20,
         1,
         {"Fits/H=1"},
         {QStringLiteral("Ext +420 603 123 456 x12 is left out: ") + text(sid::TheNumberHoldsCharactersA_9944),
          QStringLiteral("Long ") + QString(61, QLatin1Char('1')) + QStringLiteral(" is left out: ") +
              text(sid::TheNumberHasMoreThan_9945),
          QStringLiteral("Nobody is left out: ") + text(sid::NoNumber_9946),
          QStringLiteral("123 is left out: ") + text(sid::NoName_9947),
          QStringLiteral("Fits/O 2 is left out: ") + noRow}},
    };
    for (const ImportCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ContactImport got = importContacts(c.contacts, c.maxName, c.freeRows);
        std::vector<std::string> entries;
        for (const ImportedEntry& e : got.entries)
            entries.push_back(e.name + "=" + e.number);
        EXPECT_EQ(entries, c.entries);
        QStringList losses;
        for (const ContactLoss& l : got.losses)
            losses.append(lossLine(l));
        EXPECT_EQ(losses, c.losses);
    }
}

TEST(ContactImportTest, TheLossMessageKeepsToTwentyLines)
{
    std::vector<ContactLoss> losses(25, ContactLoss{QStringLiteral("A"), QStringLiteral("1"), {}, sid::NoName_9947});
    const QStringList lines = lossMessage(losses, sid::LoadTheOtherEntries_9950).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 20 + 1 + 2);
    EXPECT_EQ(lines[21], QStringLiteral("... and 5 more"));
    EXPECT_EQ(lines.back(), text(sid::LoadTheOtherEntries_9950));
}

class ContactFilesTest : public PhoneBookToolsTest
{
protected:
    PhoneBookFiles files{*model};

    QString write(const QByteArray& bytes, const char* name)
    {
        QFile f(filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    // The valid rows as "item name number".
    std::vector<std::string> rows() const
    {
        std::vector<std::string> out;
        for (const DialEntry& e : model->entries()) {
            if (e.valid)
                out.push_back(std::to_string(e.position + 1) + " " + e.name + " " + JoinPlus(e.number, e.ton));
        }
        return out;
    }
};

TEST_F(ContactFilesTest, VCardAndCsvRoundTripsKeepThePhoneBook)
{
    for (const char* name : {"book.vcf", "book.CSV"}) {
        SCOPED_TRACE(name);
        model->clearEntries();
        put(0, "Jiří Novák", "+420603123456");
        put(1, "Řeřicha Čeněk", "603123456");
        put(3, "Hlasová schránka", "*31#");
        put(4, "Jan/M", "777000111");
        put(8, "Skrytí", "#21#");
        prompter.messages.clear();
        ASSERT_TRUE(files.saveFile(filePath(name), 1, 250));
        EXPECT_EQ(prompter.messages, std::vector<int>{sid::DataWrittenToFile_57782});

        model->clearEntries();
        ASSERT_TRUE(files.openFile(filePath(name)));
        // Contact files hold no item numbers: the entries come packed from the first row.
        EXPECT_EQ(rows(), (std::vector<std::string>{"1 Jiří Novák +420603123456", "2 Řeřicha Čeněk 603123456",
                                                    "3 Hlasová schránka *31#", "4 Jan/M 777000111", "5 Skrytí #21#"}));
        EXPECT_TRUE(prompter.questionTexts.empty());
        EXPECT_TRUE(files.losses().empty());
    }
}

TEST_F(ContactFilesTest, LossesAreAskedFirstAndNoChangesNothing)
{
    const QString path = write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A very long name indeed\r\nTEL;TYPE=CELL:603123456\r\n"
                               "TEL;TYPE=HOME:2 x 3\r\nEND:VCARD\r\n",
                               "loss.vcf");
    put(0, "Kept", "111");
    prompter.answers = {PromptAnswer::No};
    EXPECT_EQ(files.openFile(path).messageId(), sid::LoadTheOtherEntries_9950);
    ASSERT_EQ(prompter.questionTexts.size(), 1u);
    const QString asked = prompter.questionTexts[0];
    EXPECT_TRUE(asked.contains(QStringLiteral("\"A very long name indeed\" is cut to \"A very long name ind\"")))
        << asked.toStdString();
    EXPECT_TRUE(asked.contains(QStringLiteral("A very long name indeed 2 x 3 is left out")));
    EXPECT_EQ(rows(), std::vector<std::string>{"1 Kept 111"});

    prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(files.openFile(path));
    EXPECT_EQ(rows(), std::vector<std::string>{"1 A very long name ind 603123456"});
}

TEST_F(ContactFilesTest, AddFromFileFillsFreeRowsFromTheStart)
{
    model->setCapacity(4);
    put(0, "First", "1");
    put(2, "Third", "3");
    const QString path = write("Name,Phone\r\nNew A,10\r\nNew B,20\r\nNew C,30\r\n", "add.csv");
    prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(files.addFromFile(path, 2, false));
    EXPECT_EQ(rows(), (std::vector<std::string>{"1 First 1", "2 New A 10", "3 Third 3", "4 New B 20"}));
    ASSERT_EQ(files.losses().size(), 1u);
    EXPECT_EQ(files.losses()[0].reasonId, sid::NoFreeRowLeftIn_9948);
}

TEST_F(ContactFilesTest, ABrokenFileLoadsNothingAndSaysWhere)
{
    put(0, "Kept", "111");
    const QString path = write("BEGIN:VCARD\nFN:A\nTEL:1\n", "broken.vcf");
    EXPECT_EQ(files.openFile(path).messageId(), sid::BeginVcardHasNoEnd_9925);
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0].text,
              text(sid::TheContactFileCannotBe_9920).arg(1).arg(text(sid::BeginVcardHasNoEnd_9925)));
    EXPECT_EQ(rows(), std::vector<std::string>{"1 Kept 111"});
}

} // namespace
} // namespace kestrel::test
