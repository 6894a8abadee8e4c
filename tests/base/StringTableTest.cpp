#include "base/StringTable.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/CardStatus.h"
#include "base/StringIdName.h"

// Readable failure output for QString comparisons.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using namespace kestrel;

namespace {

QString u16(const char16_t* s)
{
    return QString::fromUtf16(s);
}

} // namespace

TEST(StringTable, IdsAreSortedAndUnique)
{
    const QList<int> ids = StringTable::ids();
    ASSERT_GT(ids.size(), 300);
    for (qsizetype i = 1; i < ids.size(); ++i)
        EXPECT_LT(ids[i - 1], ids[i]) << "at index " << i;
}

TEST(StringTable, EveryIdHasANonEmptyText)
{
    for (int id : StringTable::ids()) {
        EXPECT_TRUE(StringTable::contains(id)) << id;
        EXPECT_FALSE(StringTable::text(id).isEmpty()) << id;
    }
}

TEST(StringTable, UnknownIdGivesEmptyText)
{
    for (int id : {-1, 0, 1, 101, 116, 154, 5104, 57346, 99999}) {
        EXPECT_FALSE(StringTable::contains(id)) << id;
        EXPECT_TRUE(StringTable::text(id).isEmpty()) << id;
    }
}

TEST(StringTable, TrickyTextsAreExact)
{
    struct Case
    {
        int id;
        const char16_t* text;
    };
    const Case cases[] = {
        // doubled blank before "SIM"
        {5014, u"Writing phone book to  SIM\nWriting Item %u (total %u)"},
        {5015, u"Writing phone book to  SIM\nWriting Item %u (total %u)"},
        // single blank in the neighbours
        {5003, u"Writing phone book to SIM\nWriting Item %u (total %u)"},
        // "\r\n"
        {57500, u"Some entries are not updated on the card.\r\nContinue?"},
        {5615, u"Card is blocked by authentification counter overflow.\r\nIt is not usable for calls, but some "
               u"information may be accessible."},
        // "\n" alone
        {57840, u"By closing these windows you will lose all changes.\nClose all windows?"},
        // "\r" alone
        {57471, u"All entries in the current window will be overwritten.\rContinue?"},
        // doubled blank inside, trailing blanks, misspellings
        {5607, u"PIN is activated.  Deactivate it?"},
        {5601, u"Entered PIN is too short "},
        {57475, u"Syntax or data extent error "},
        {142, u"Reader inaccessible (use menu Other->Setup) via "},
        {5602, u"PIN successfuly changed"},
        {5610, u"<Entry can not be ovewritten>"},
        {6272, u"Preffered networks list:"},
        // CardStatus messages
        {102, u"O.K."},
        {146, u"Operation cancelled by user"},
        {153, u"Card is blocked by authentification counter overflow."},
        // printf formats stay
        {6211, u"%m-%d-%Y %H:%M:%S"},
        // defaults of the settings
        {59000, u"49"},
        {59001, u"00"},
        {57344, u"Kestrel! 4.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringTable::text(c.id), u16(c.text)) << c.id;
}

TEST(StringTable, UnblockOfferIsCzechUnicode)
{
    const QString text = StringTable::text(kUnblockOfferId);
    EXPECT_EQ(text, u16(u"Karta je zablokov\u00e1na. Chcete nyn\u00ed kartu odblokovat?\n"
                        u"K t\u00e9to operaci je t\u0159eba zn\u00e1t PUK1 p\u0159\u00edpadn\u011b PUK2."));
    EXPECT_TRUE(text.contains(QChar(0x0159))); // r with caron, outside Latin-1
    EXPECT_TRUE(text.contains(QChar(0x011B))); // e with caron
}

TEST(StringTable, BadResponseCodesShareTheirText)
{
    EXPECT_EQ(StringTable::text(111), StringTable::text(132));
    EXPECT_EQ(StringTable::text(111), u16(u"Bad SIM card response"));
    EXPECT_EQ(StringTable::text(131), StringTable::text(145));
}

TEST(StringTable, CardStatusMessagesWinOverDialogIds)
{
    // Dialog 140 "Kestrel! - Write to File" shares its number with a CardStatus.
    EXPECT_EQ(StringTable::text(140), u16(u"Non-specific error"));
    EXPECT_EQ(StringTable::text(150), u16(u"Card blocked, PIN is not verified"));
}

TEST(StringTable, EveryCardStatusHasAMessage)
{
    for (CardStatus s : allCardStatuses()) {
        EXPECT_TRUE(StringTable::contains(toInt(s))) << toInt(s);
        EXPECT_FALSE(cardStatusMessage(s).isEmpty()) << toInt(s);
    }
}

TEST(StringTable, StrIdIsTheIdentity)
{
    static_assert(strId(57427) == 57427);
    EXPECT_EQ(kUnblockOfferId, 5603);
}

namespace {

// The text of every .cpp and .h file under src/, by its path relative to the source folder.
std::vector<std::pair<std::string, std::string>> sourceFiles()
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(KESTREL_SOURCE_DIR);
    std::vector<std::pair<std::string, std::string>> out;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / "src")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        out.emplace_back(fs::relative(entry.path(), root).generic_string(), content.str());
    }
    return out;
}

} // namespace

// Every number the code asks the table for with StringTable::text(...) or strId(...), as a name
// (sid::Name_N) or, in files not swept yet, as digits, exists.
TEST(StringTable, EveryNumberUsedInTheSourcesExists)
{
    const auto files = sourceFiles();
    ASSERT_FALSE(files.empty()) << "no source file found under " << KESTREL_SOURCE_DIR << "/src";

    const std::regex use(R"((?:\bStringTable::text|\bstrId)\s*\(\s*(?:sid::\w+_)?(\d+)\s*\))");
    std::set<int> numbers;
    for (const auto& [path, s] : files) {
        for (std::sregex_iterator it(s.begin(), s.end(), use), end; it != end; ++it) {
            const int id = std::stoi((*it)[1].str());
            numbers.insert(id);
            EXPECT_TRUE(StringTable::contains(id)) << "string " << id << " used in " << path << " is not in the table";
        }
    }
    EXPECT_FALSE(numbers.empty()) << "the scan found no use at all; is the pattern still right?";
}

// Every sid:: name in the sources, code or comment, is the generated name of a table entry: its
// number is in the table and its words are those of the entry's text.
TEST(StringTable, EveryNameUsedInTheSourcesIsGenerated)
{
    const std::regex name(R"(\bsid::(\w+_(\d+))\b)");
    int uses = 0;
    for (const auto& [path, s] : sourceFiles()) {
        for (std::sregex_iterator it(s.begin(), s.end(), name), end; it != end; ++it) {
            ++uses;
            const int id = std::stoi((*it)[2].str());
            ASSERT_TRUE(StringTable::contains(id)) << (*it)[0].str() << " in " << path << ": no such entry";
            EXPECT_EQ((*it)[1].str(), stringIdName(id, StringTable::text(id).toStdU16String()))
                << "in " << path << ": not the generated name of " << id;
        }
    }
    EXPECT_GT(uses, 300);
}

// Ids are names in the sources: no strId(<digits>), StringTable::text(<digits>) or uiText(<digits>)
// (nor "<digits> + offset") is left anywhere in src/.
TEST(StringTable, NoNumericIdIsLeftInTheSources)
{
    const std::regex numeric(R"(\b(?:strId|StringTable::text|uiText)\s*\(\s*\d)");
    int checked = 0;
    for (const auto& [path, s] : sourceFiles()) {
        ++checked;
        std::smatch m;
        EXPECT_FALSE(std::regex_search(s, m, numeric))
            << path << ": " << m.str() << "...: a numeric id, not a sid:: name";
    }
    EXPECT_GT(checked, 100);
}

// How a text becomes a name: its first words, ASCII only, in CamelCase, then the number.
TEST(StringTable, GeneratedNamesFollowTheNamingRule)
{
    struct Case
    {
        int id;
        const char16_t* text;
        const char* name;
    };
    const Case cases[] = {
        {131, u"Card not inserted", "CardNotInserted_131"},
        {102, u"O.K.", "OK_102"},
        // the caption prefix goes, capitals are capitalized
        {114, u"Kestrel! - Edit SMS Message", "EditSmsMessage_114"},
        {9300, u"Kestrel!", "Kestrel_9300"},
        {57344, u"Kestrel! 4.0", "Kestrel40_57344"},
        // accelerators and apostrophes join, at most five words, line breaks separate
        {1019, u"A&utomatically read SIM", "AutomaticallyReadSim_1019"},
        {9311, u"What's &This?", "WhatsThis_9311"},
        {57500, u"Some entries are not updated on the card.\r\nContinue?", "SomeEntriesAreNotUpdated_57500"},
        {9521, u"\r\n  ->  ", "Text_9521"},
        // placeholders go; a leading digit gets "N"
        {5001, u"Reading phone book from SIM\nReading item %u (total %u)", "ReadingPhoneBookFromSim_5001"},
        {9840, u"%1 tries left.", "TriesLeft_9840"},
        {6211, u"%m-%d-%Y %H:%M:%S", "Text_6211"},
        {59000, u"49", "N49_59000"},
        {1008, u"1 w&eek", "N1Week_1008"},
        // diacritics fold to their letters, other characters separate
        {5603, u"Karta je zablokov\u00e1na. Chcete nyn\u00ed kartu", "KartaJeZablokovanaChceteNyni_5603"},
        {1, u"\u0159\u00df \u00d7 \u4e2d\u6587x", "RsX_1"},
        // mixed case stays
        {153, u"Card is blocked by authentification counter overflow.", "CardIsBlockedByAuthentification_153"},
        {9737, u"PIN1", "Pin1_9737"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stringIdName(c.id, c.text), c.name) << c.id;
}

TEST(StringTable, GeneratedNamesAreTheTableIds)
{
    static_assert(sid::CardNotInserted_131 == 131);
    static_assert(sid::KartaJeZablokovanaChceteNyni_5603 == kUnblockOfferId);
    EXPECT_EQ(StringTable::text(sid::OperationCancelledByUser_146), u16(u"Operation cancelled by user"));
}
