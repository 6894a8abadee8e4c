#include "phonebook/CsvFormat.h"
#include "phonebook/VCardFormat.h"

#include <string>
#include <vector>

#include <QStringList>

#include <gtest/gtest.h>

#include "base/StringIds.h"
#include "base/StringTable.h"

namespace kestrel::test {
namespace {

// A contact as "name|type:number|type:number", types c w h f o v.
QString shown(const Contact& c)
{
    QString s = c.name;
    for (const ContactNumber& n : c.numbers)
        s += QStringLiteral("|") + QLatin1Char("vcwhfo"[static_cast<int>(n.type)]) + QLatin1Char(':') + n.number;
    return s;
}

QStringList shown(const ContactsRead& read)
{
    QStringList out;
    for (const Contact& c : read.contacts)
        out.append(shown(c));
    return out;
}

struct ReadCase
{
    const char* what;
    QByteArray file;
    QStringList contacts;
};

TEST(VCardFormatTest, ReadsTheFormsAddressBooksAndPhonesWrite)
{
    const ReadCase cases[] = {
        {"2.1 with quoted-printable UTF-8, a soft line break and bare parameters",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Nov=C3=A1k;Ji=C5=99=\r\n=C3=AD;;;\r\n"
         "TEL;CELL;PREF:+420 603 123 456\r\nTEL;WORK;VOICE:(02) 1234-5678\r\nEND:VCARD\r\n",
         {QStringLiteral(u"Jiří Novák|c:+420 603 123 456|w:(02) 1234-5678")}},
        {"2.1 quoted-printable FN with the bare QUOTED-PRINTABLE parameter, Windows-1250 bytes without CHARSET",
         "BEGIN:VCARD\nVERSION:2.1\nFN;QUOTED-PRINTABLE:=D8e=F8icha =C8en=ECk\nTEL;HOME:603123456\nEND:VCARD\n",
         {QStringLiteral(u"Řeřicha Čeněk|h:603123456")}},
        {"3.0 folded lines, TYPE lists, groups, escapes, a BOM, two contacts",
         "\xEF\xBB\xBF"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Novák\\, Jiří \r\n ml.\r\nitem1.TEL;TYPE=\"work,voice\":*31#\r\n"
         "item1.X-ABLabel:Office\r\nPHOTO;ENCODING=b;TYPE=JPEG:AAAA\r\n\tBBBB\r\nEND:VCARD\r\n\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Smith;John;;Dr.;\r\nFN:\r\nTEL;TYPE=fax,work:#21#\r\nEND:VCARD\r\n",
         {QStringLiteral(u"Novák, Jiří ml.|w:*31#"), QStringLiteral("Dr. John Smith|f:#21#")}},
        {"4.0 tel: URI, lower case names, a contact without a number (its TEL values empty)",
         "begin:vcard\nversion:4.0\nfn:Eva\ntel;value=uri;type=cell:tel:+420603123456\nend:vcard\n"
         "BEGIN:VCARD\nVERSION:4.0\nFN:Nobody\nEMAIL:a@b.c\nTEL:\nTEL;VALUE=uri:tel: \nEND:VCARD\n",
         {QStringLiteral("Eva|c:+420603123456"), QStringLiteral("Nobody")}},
        {"a U+FEFF at the start of a value is a character, not a byte order mark",
         "BEGIN:VCARD\nFN:\xEF\xBB\xBFZ\nTEL:1\nEND:VCARD\n",
         {QStringLiteral(u"\uFEFFZ|v:1")}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ContactsRead read = readVCards(c.file);
        EXPECT_EQ(read.errorId, 0) << read.errorLine;
        EXPECT_EQ(shown(read), c.contacts);
    }
}

struct BrokenCase
{
    const char* what;
    QByteArray file;
    int errorId;
    int line;
};

TEST(VCardFormatTest, ABrokenFileIsRefusedWholeWithItsLine)
{
    const BrokenCase cases[] = {
        {"BEGIN without END", "BEGIN:VCARD\nFN:A\nTEL:1\nEND:VCARD\nBEGIN:VCARD\nFN:B\nTEL:2\n",
         sid::BeginVcardHasNoEnd_9925, 5},
        {"BEGIN inside a contact", "BEGIN:VCARD\nFN:A\nBEGIN:VCARD\nEND:VCARD\n", sid::BeginVcardHasNoEnd_9925, 1},
        {"END without BEGIN", "END:VCARD\n", sid::EndVcardWithoutBeginVcard_9926, 1},
        {"text outside a contact", "BEGIN:VCARD\nEND:VCARD\nFN:A\n", sid::TextOutsideBeginVcardAnd_9927, 3},
        {"a line without a colon", "BEGIN:VCARD\nFN A\nEND:VCARD\n", sid::AVCardLineWithout_9928, 2},
        {"an unknown version", "BEGIN:VCARD\nVERSION:5.0\nEND:VCARD\n", sid::TheVCardVersionIsNot_9929, 2},
        {"broken quoted-printable", "BEGIN:VCARD\nVERSION:2.1\nFN;ENCODING=QUOTED-PRINTABLE:A=4\nEND:VCARD\n",
         sid::BrokenQuotedPrintableText_9930, 3},
        {"an unknown character set", "BEGIN:VCARD\nFN;CHARSET=X-NONE-SUCH:A\nEND:VCARD\n",
         sid::UnknownCharacterSet_9931, 2},
        {"a UTF-7 run that decodes to half a surrogate pair",
         "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-7:+210 603\nEND:VCARD\n", sid::TheTextIsNotValid_9954, 3},
        {"bytes Shift_JIS has no character for", "BEGIN:VCARD\nFN;CHARSET=Shift_JIS:\x81\nEND:VCARD\n",
         sid::TheTextIsNotValid_9954, 2},
        {"3.0 text that is not UTF-8", "BEGIN:VCARD\nVERSION:3.0\nFN:\xE8\nEND:VCARD\n", sid::TheTextIsNotValid_9932,
         3},
        {"an over-long folded line",
         "BEGIN:VCARD\nNOTE:" + QByteArray(kMaxContactLineBytes / 2, 'x') + "\n " +
             QByteArray(kMaxContactLineBytes / 2, 'y') + "\nEND:VCARD\n",
         sid::TheLineIsLongerThan_9923, 2},
        {"soft line breaks of a quoted-printable line without a colon, up to the line limit (in linear time)",
         "BEGIN:VCARD\nFN;QUOTED-PRINTABLE=\n" + QByteArray("x=\n").repeated(kMaxContactLineBytes),
         sid::TheLineIsLongerThan_9923, 2},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ContactsRead read = readVCards(c.file);
        EXPECT_EQ(read.errorId, c.errorId);
        EXPECT_EQ(read.errorLine, c.line);
        EXPECT_TRUE(read.contacts.empty());
    }
}

TEST(VCardFormatTest, WritesFoldedEscapedVersion3)
{
    const QString longName = QStringLiteral(u"Žluťoučký kůň; úpěl ďábelské ódy, a pak ještě jednou žluťoučký kůň");
    const std::vector<Contact> contacts = {{longName, {{QStringLiteral("+420603123456"), ContactType::Cell}}},
                                           {QStringLiteral("A"), {{QStringLiteral("*31#"), ContactType::Voice}}}};
    const QByteArray out = writeVCards(contacts);
    for (const QByteArray& line : out.split('\n')) {
        EXPECT_LE(line.size(), 76); // 75 octets and the CR
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.endsWith('\r'));
        }
        // A fold never splits a UTF-8 sequence: each physical line decodes on its own.
        EXPECT_FALSE(QString::fromUtf8(line).contains(QChar::ReplacementCharacter));
    }
    EXPECT_TRUE(out.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:"));
    EXPECT_TRUE(out.contains("TEL;TYPE=CELL:+420603123456\r\n"));
    EXPECT_TRUE(out.contains("FN:A\r\nN:A;;;;\r\nTEL;TYPE=VOICE:*31#\r\n"));
    EXPECT_TRUE(out.contains("k\xC5\xAF\xC5\x88\\; "));
    const ContactsRead back = readVCards(out);
    ASSERT_EQ(back.contacts.size(), 2u);
    EXPECT_EQ(shown(back.contacts[0]), longName + QStringLiteral("|c:+420603123456"));
}

TEST(CsvFormatTest, ReadsTheExportsOfCommonAddressBooks)
{
    const ReadCase cases[] = {
        {"Google: several phone columns, typed, values joined by :::",
         "Name,Given Name,Family Name,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - Value\r\n"
         "Jiří Novák,Jiří,Novák,* Mobile,+420 603 123 456 ::: 603 111 222,Work,02/1234 5678\r\n"
         ",Eva,Malá,Home,\"(0)2 555\",,\r\n",
         {QStringLiteral(u"Jiří Novák|c:+420 603 123 456|c:603 111 222|w:02/1234 5678"),
          QStringLiteral(u"Eva Malá|h:(0)2 555")}},
        {"Outlook: name parts and Mobile/Business/Home columns, a BOM, quoted fields with a line break",
         "\xEF\xBB\xBF"
         "First Name,Middle Name,Last Name,Business Phone,Home Phone,Mobile Phone,Notes\r\n"
         "Čeněk,,Řeřicha,\"+420 2 2222 2222\",,603123456,\"a \"\"note\"\"\r\nover two lines\"\r\n"
         ",,,,,,\r\n"
         "\"Jan\",,\"Dvořák, st.\",,*31#,,\r\n",
         {QStringLiteral(u"Čeněk Řeřicha|w:+420 2 2222 2222|c:603123456"), QStringLiteral(u"Jan Dvořák, st.|h:*31#")}},
        {"a Czech spreadsheet: ';' separated, LF only, blank lines before the header",
         "\n \n;;\nJméno;Name;Telefon;Phone\nx;Iva;y;#21#\n",
         {QStringLiteral("Iva|v:#21#")}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ContactsRead read = readCsvContacts(c.file);
        EXPECT_EQ(read.errorId, 0) << read.errorLine;
        EXPECT_EQ(shown(read), c.contacts);
    }
}

TEST(CsvFormatTest, ABrokenFileIsRefusedWholeWithItsLine)
{
    const BrokenCase cases[] = {
        {"an unterminated quote", "Name,Phone\r\nA,1\r\n\"B,2\r\nC,3\r\n", sid::AQuotedFieldHasNo_9933, 3},
        {"text after a closing quote", "Name,Phone\r\n\"A\"x,1\r\n", sid::TextAfterTheClosingQuote_9934, 2},
        {"no name column", "E-mail,Phone\r\na@b,1\r\n", sid::TheHeaderRowHasNo_9935, 1},
        {"no phone column", "Name,E-mail\r\nA,a@b\r\n", sid::TheHeaderRowHasNo_9936, 1},
        {"no phone column, blank lines first", "\r\n\r\nName;E-mail\r\nA;a@b\r\n", sid::TheHeaderRowHasNo_9936, 3},
        {"no header row", "\r\n\r\n", sid::TheFileHasNoHeader_9937, 0},
        {"more fields than the header", "Name,Phone\r\nA,1,\r\nB,2,x\r\n", sid::ARowHasMoreFields_9938, 3},
        {"an over-long record", "Name,Phone\r\nA," + QByteArray(kMaxContactLineBytes + 1, '1') + "\r\n",
         sid::TheLineIsLongerThan_9923, 2},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ContactsRead read = readCsvContacts(c.file);
        EXPECT_EQ(read.errorId, c.errorId);
        EXPECT_EQ(read.errorLine, c.line);
        EXPECT_TRUE(read.contacts.empty());
    }
}

TEST(CsvFormatTest, WritesNameAndPhoneQuotedWhereNeeded)
{
    const std::vector<Contact> contacts = {{QStringLiteral(u"Novák, Jiří"), {{QStringLiteral("+420603123456")}}},
                                           {QStringLiteral("Say \"hi\""), {{QStringLiteral("#21#")}}}};
    EXPECT_EQ(writeCsvContacts(contacts), QStringLiteral(u"Name,Phone\r\n\"Novák, Jiří\",+420603123456\r\n"
                                                         u"\"Say \"\"hi\"\"\",#21#\r\n")
                                              .toUtf8());
}

} // namespace
} // namespace kestrel::test
