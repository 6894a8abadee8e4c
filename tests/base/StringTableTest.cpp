#include "base/StringTable.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "base/CardStatus.h"

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

// Every number the code asks the table for with StringTable::text(<digits>) or strId(<digits>) exists.
TEST(StringTable, EveryNumberUsedInTheSourcesExists)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(KESTREL_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(root)) << root;

    const std::regex use(R"((?:\bStringTable::text|\bstrId)\s*\(\s*(\d+)\s*\))");
    int files = 0;
    std::set<int> numbers;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h")
            continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        const std::string s = content.str();
        for (std::sregex_iterator it(s.begin(), s.end(), use), end; it != end; ++it) {
            const int id = std::stoi((*it)[1].str());
            numbers.insert(id);
            EXPECT_TRUE(StringTable::contains(id))
                << "string " << id << " used in " << entry.path().string() << " is not in the table";
        }
    }
    ASSERT_GT(files, 0) << "no source file found under " << root;
    EXPECT_FALSE(numbers.empty()) << "the scan found no use at all; is the pattern still right?";
}
