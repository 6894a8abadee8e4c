#include "phonebook/PhoneBookFiles.h"

#include <string>

#include <QFile>

#include "PhoneBookToolsFixture.h"

namespace kestrel::test {
namespace {

constexpr int kOk = static_cast<int>(CardStatus::Ok);

class PhoneBookFilesTest : public PhoneBookToolsTest
{
protected:
    PhoneBookFiles files{*model};

    QString write(const std::string& bytes, const char* fileName = "in.dia")
    {
        const QString path = filePath(fileName);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
    std::string readBack(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll().toStdString();
    }
    int validCount() const
    {
        int n = 0;
        for (const DialEntry& e : model->entries())
            n += e.valid != 0;
        return n;
    }
};

TEST_F(PhoneBookFilesTest, SaveThenOpenGivesTheSameEntriesBack)
{
    put(0, "Alice", "0301234");
    put(3, "Ann\nSmith", "+4930123");
    put(7, "\tTab", "*100#");
    const QString path = filePath("book.dia");
    ASSERT_TRUE(files.saveFile(path, 1, 250));
    EXPECT_EQ(prompter.messages, std::vector<int>{57782});
    // Free positions have no line; a line feed in a name is ESC "n".
    EXPECT_EQ(readBack(path), "1\tAlice\t0301234\r\n"
                              "4\tAnn\x1bnSmith\t+4930123\r\n"
                              "8\t\x1b\tTab\t*100#\r\n");

    model->clearEntries();
    put(5, "Other", "1");
    prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(files.confirmOpen());
    EXPECT_EQ(files.openFile(path).messageId(), kOk);
    EXPECT_EQ(prompter.questions, std::vector<int>{57471});
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(validCount(), 3);
    EXPECT_EQ(name(0), "Alice");
    EXPECT_EQ(number(0), "0301234");
    EXPECT_EQ(name(3), "Ann\nSmith");
    EXPECT_EQ(number(3), "+4930123");
    EXPECT_EQ(model->entry(3).ton, 1);
    EXPECT_EQ(name(7), "\tTab");
    EXPECT_EQ(number(7), "*100#");
    for (int row = 0; row < PhoneBookModel::kMaxEntries; ++row) {
        const DialEntry& e = model->entry(row);
        EXPECT_EQ(e.position, row);
        EXPECT_EQ(e.modified, 1);
        EXPECT_EQ(e.ccpId, 0xFF);
        EXPECT_EQ(e.extId, 0xFF);
    }
    EXPECT_EQ(model->firstSelected(), 0);
}

TEST_F(PhoneBookFilesTest, SaveWritesInPositionOrderOnlyTheInterval)
{
    put(0, "Zed", "3");
    put(1, "Amy", "1");
    put(2, "Max", "2");
    model->sortByKey(0, 249, 1); // rows now Amy, Max, Zed; positions 1, 2, 0
    const QString path = filePath("part.dia");
    ASSERT_TRUE(files.saveFile(path, 2, 3));
    // The window is back in card order before the rows are taken.
    EXPECT_EQ(name(0), "Zed");
    EXPECT_EQ(readBack(path), "2\tAmy\t1\r\n3\tMax\t2\r\n");
    EXPECT_FALSE(view.redraws.empty());
}

TEST_F(PhoneBookFilesTest, SaveChecksTheIntervalAndTheFile)
{
    model->setCapacity(100);
    struct Case
    {
        int from;
        int to;
        bool ok;
    };
    for (const Case& c : {Case{1, 100, true}, Case{5, 5, true}, Case{0, 5, false}, Case{1, 101, false},
                          Case{6, 5, false}, Case{101, 101, false}, Case{3, 0, false}}) {
        prompter.messages.clear();
        EXPECT_EQ(files.acceptSaveInterval(c.from, c.to), c.ok) << c.from << ".." << c.to;
        EXPECT_EQ(prompter.messages, c.ok ? std::vector<int>{} : std::vector<int>{57783});
    }

    prompter.messages.clear();
    put(0, "A", "1");
    EXPECT_EQ(files.saveFile(filePath("no/such/folder/x.dia"), 1, 100).messageId(), 57780);
    EXPECT_EQ(prompter.messages, std::vector<int>{57780});
    prompter.messages.clear();
    EXPECT_EQ(files.saveFile(m_dir.path(), 1, 100).messageId(), 57780); // a folder
    EXPECT_EQ(prompter.messages, std::vector<int>{57780});
    prompter.messages.clear();
    EXPECT_EQ(files.saveFile(filePath("x.dia"), 0, 5).messageId(), 57783);
    EXPECT_EQ(prompter.messages, std::vector<int>{57783});
}

TEST_F(PhoneBookFilesTest, SaveReplacesAnEarlierFile)
{
    const QString path = write("1\tOld\t999\r\n2\tOlder\t888\r\n", "same.dia");
    put(4, "New", "+1");
    ASSERT_TRUE(files.saveFile(path, 1, 250));
    EXPECT_EQ(readBack(path), "5\tNew\t+1\r\n");
}

TEST_F(PhoneBookFilesTest, TwoFieldFilesGetConsecutiveItems)
{
    // The first "name" is all digits from 1 to 250 and the second field is not empty, but the
    // third is: the file is a two-field file from its first line on. The last line may lack its
    // line end.
    const QString path = write("42\t555\r\n\r\nBob\t+49301\nCar\xE8\xDF\t7");
    EXPECT_EQ(files.openFile(path).messageId(), kOk);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(validCount(), 3);
    EXPECT_EQ(name(0), "42");
    EXPECT_EQ(number(0), "555");
    EXPECT_EQ(name(1), "Bob");
    EXPECT_EQ(number(1), "+49301");
    EXPECT_EQ(name(2), "Carčß"); // Windows-1250 read as it is: the card write folds what it must
    EXPECT_EQ(number(2), "7");
}

TEST_F(PhoneBookFilesTest, BrokenFilesStopWithTheirMessage)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        int result; // messageId() of the Result
        int message;
        int loaded; // valid entries afterwards
    };
    const std::string name49(49, 'n');
    const std::string name50(50, 'n');
    const std::string digits60(60, '1');
    const std::string digits61(61, '1');
    const Case cases[] = {
        {"empty file", "", kOk, 0, 0},
        {"blank lines only", "\r\n\n  \r\n", kOk, 0, 0},
        {"item 0 in the middle", "1\tA\t1\r\n0\tB\t2\r\n3\tC\t3\r\n", kDiaSyntaxError, 57475, 1},
        {"item beyond 250", "1\tA\t1\r\n251\tB\t2\r\n", kDiaSyntaxError, 57475, 1},
        {"item with a sign", "1\tA\t1\r\n+2\tB\t2\r\n", kDiaSyntaxError, 57475, 1},
        {"item with a letter", "1\tA\t1\r\n2a\tB\t2\r\n", kDiaSyntaxError, 57475, 1},
        {"huge item", "1\tA\t1\r\n99999999999999999999\tB\t2\r\n", kDiaSyntaxError, 57475, 1},
        {"line cut after the name", "1\tA\t1\r\n2\tB", kDiaReadError, 57476, 1},
        {"line cut after the item", "1\tA\t1\r\n2", kDiaReadError, 57476, 1},
        {"line without number", "1\tA\t1\r\n2\tB\r\n", kDiaSyntaxError, 57475, 1},
        {"name of 49 bytes", "1\t" + name49 + "\t1\r\n", kOk, 0, 1},
        {"name of 50 bytes", "1\tA\t1\r\n2\t" + name50 + "\t1\r\n", kDiaSyntaxError, 57475, 1},
        {"name of 300 bytes", "1\tA\t1\r\n2\t" + std::string(300, 'x') + "\t1\r\n", kDiaSyntaxError, 57475, 1},
        {"number of 60 digits", "1\tA\t" + digits60 + "\r\n", kOk, 0, 1},
        {"number of 61 digits", "1\tA\t1\r\n2\tB\t" + digits61 + "\r\n", kDiaSyntaxError, 57475, 1},
        {"number of 500 digits", "1\tA\t" + std::string(500, '1') + "\r\n", kDiaSyntaxError, 57475, 0},
        {"number with letters", "1\tA\t1\r\n2\tB\t12ab\r\n", kDiaSyntaxError, 57475, 1},
        {"number with two plus", "1\tA\t+1+2\r\n", kDiaSyntaxError, 57475, 0},
        {"two-field line with a third field", "A\t1\r\nB\t2\t3\r\n", kDiaSyntaxError, 57475, 1},
        {"two-field line without number", "A\t1\r\nB\r\n", kDiaSyntaxError, 57475, 1},
        {"name starting with NUL", std::string("1\tA\t1\r\n2\t\0B\t2\r\n", 15), kDiaSyntaxError, 57475, 1},
        {"number of a plus alone", "1\tA\t1\r\n2\tB\t+\r\n", kDiaSyntaxError, 57475, 1},
        {"two-field name with NUL", std::string("A\t1\r\nB\0C\t2\r\n", 12), kDiaSyntaxError, 57475, 1},
        {"two-field line cut after the name", "A\t1\r\nB", kDiaReadError, 57476, 1},
        {"first line of one field", "A", kDiaReadError, 57476, 0},
        {"binary junk", std::string("\x01\x02\xff\t\x1b\x00\t9\r\n", 10), kDiaSyntaxError, 57475, 0},
        {"too many two-field lines",
         [] {
             std::string s;
             for (int i = 0; i < 251; ++i)
                 s += "N\t1\r\n";
             return s;
         }(),
         kDiaSyntaxError, 57475, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model->clearEntries();
        prompter.messages.clear();
        prompter.questions.clear();
        EXPECT_EQ(files.openFile(write(c.bytes)).messageId(), c.result);
        EXPECT_EQ(prompter.messages, c.message ? std::vector<int>{c.message} : std::vector<int>{});
        EXPECT_EQ(validCount(), c.loaded);
        EXPECT_TRUE(prompter.questions.empty());
    }
}

TEST_F(PhoneBookFilesTest, MissingFileChangesNothing)
{
    put(2, "Keep", "1");
    model->setCapacity(20);
    EXPECT_EQ(files.openFile(filePath("missing.dia")).messageId(), kDiaCannotOpen);
    EXPECT_EQ(prompter.messages, std::vector<int>{57472});
    EXPECT_EQ(name(2), "Keep");
    EXPECT_EQ(model->entry(2).modified, 0);
    EXPECT_EQ(model->capacity(), 20);
}

TEST_F(PhoneBookFilesTest, OpenRaisesTheCapacityAndAsksOnceAboutRepeatedItems)
{
    model->setCapacity(10);
    const QString path = write("200\tFar\t1\r\n3\tOne\t2\r\n3\tTwo\t3\r\n3\tThree\t4\r\n");
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(files.openFile(path).messageId(), kOk);
    EXPECT_EQ(model->capacity(), 200);
    EXPECT_EQ(name(199), "Far");
    EXPECT_EQ(name(2), "Three");
    EXPECT_EQ(prompter.questions, std::vector<int>{57473});

    // A larger capacity stays.
    model->setCapacity(250);
    EXPECT_EQ(files.openFile(write("1\tA\t1\r\n")).messageId(), kOk);
    EXPECT_EQ(model->capacity(), 250);
}

TEST_F(PhoneBookFilesTest, RefusingToOverwriteStopsTheReading)
{
    const QString path = write("1\tA\t1\r\n1\tB\t2\r\n2\tC\t3\r\n");
    prompter.answers = {PromptAnswer::No};
    EXPECT_EQ(files.openFile(path).messageId(), kDiaOverwriteQuestion);
    EXPECT_EQ(name(0), "A");
    EXPECT_EQ(model->entry(1).valid, 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PhoneBookFilesTest, QuestionsFollowTheConfirmSetting)
{
    EXPECT_TRUE(files.confirmOpen()); // nothing valid: nothing asked
    put(0, "A", "1");
    prompter.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(files.confirmOpen());
    EXPECT_EQ(prompter.questions, std::vector<int>{57471});

    app->settings().confirm = 0;
    prompter.questions.clear();
    EXPECT_TRUE(files.confirmOpen());
    EXPECT_EQ(files.openFile(write("1\tB\t1\r\n1\tC\t2\r\n")).messageId(), kOk);
    EXPECT_EQ(name(0), "C");
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(PhoneBookFilesTest, AddFromFilePacksEntriesFromTheStartRow)
{
    for (int row = 0; row < 6; ++row)
        put(row, "Old" + std::to_string(row), "1");
    model->setCapacity(6);
    const QString path = write("10\tTen\t10\r\n20\tTwenty\t20\r\n30\tThirty\t30\r\n");
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(files.addFromFile(path, 3, false).messageId(), kOk);
    EXPECT_EQ(prompter.questions, std::vector<int>{57473});
    EXPECT_EQ(name(1), "Old1");
    EXPECT_EQ(name(2), "Ten");
    EXPECT_EQ(name(3), "Twenty");
    EXPECT_EQ(name(4), "Thirty");
    EXPECT_EQ(name(5), "Old5");
    EXPECT_EQ(model->entry(4).position, 4);
    EXPECT_EQ(model->entry(5).modified, 0);
    EXPECT_EQ(model->capacity(), 6);
    EXPECT_EQ(model->firstSelected(), 2);
    EXPECT_EQ(model->lastSelected(), 2);

    // Past the old capacity the window grows, the rows behind it start free.
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(files.addFromFile(write("A\t1\nB\t2\nC\t3\n"), 6, false).messageId(), kOk);
    EXPECT_EQ(model->capacity(), 8);
    EXPECT_EQ(name(7), "C");
    EXPECT_EQ(model->entry(8).valid, 0);
}

TEST_F(PhoneBookFilesTest, AddFromFileWithEmptyEntriesClearsTheGaps)
{
    for (int row = 0; row < 8; ++row)
        put(row, "Old" + std::to_string(row), "1");
    model->setCapacity(8);
    const QString path = write("1\tOne\t1\r\n4\tFour\t4\r\n");

    // No to clearing: the gaps keep their entries.
    prompter.answers = {PromptAnswer::Yes, PromptAnswer::No};
    EXPECT_EQ(files.addFromFile(path, 3, true).messageId(), kOk);
    EXPECT_EQ(prompter.questions, (std::vector<int>{57473, 57474}));
    EXPECT_EQ(name(2), "One");
    EXPECT_EQ(name(3), "Old3");
    EXPECT_EQ(name(5), "Four");

    prompter.questions.clear();
    prompter.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    EXPECT_EQ(files.addFromFile(path, 3, true).messageId(), kOk);
    EXPECT_EQ(model->entry(3).valid, 0);
    EXPECT_EQ(model->entry(3).modified, 1);
    EXPECT_EQ(model->entry(4).valid, 0);
    EXPECT_EQ(name(6), "Old6"); // behind the last entry read
    EXPECT_EQ(name(1), "Old1"); // before the start
}

TEST_F(PhoneBookFilesTest, AddFromFileKeepsTheGapsWhenTheFileIsBroken)
{
    for (int row = 0; row < 8; ++row)
        put(row, "Old" + std::to_string(row), "1");
    model->setCapacity(8);
    prompter.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    EXPECT_EQ(files.addFromFile(write("1\tOne\t1\r\n4\tFour\t4\r\n5\tBad\tx\r\n"), 1, true).messageId(),
              kDiaSyntaxError);
    EXPECT_EQ(prompter.messages, std::vector<int>{57475});
    EXPECT_EQ(prompter.questions, std::vector<int>{57473});
    EXPECT_EQ(name(0), "One");
    EXPECT_EQ(name(1), "Old1");
    EXPECT_EQ(name(3), "Four");
}

TEST_F(PhoneBookFilesTest, AddStartIsChecked)
{
    model->setCapacity(50);
    EXPECT_EQ(files.defaultAddStart(), 1);
    model->setFocusedRow(9);
    EXPECT_EQ(files.defaultAddStart(), 10);
    for (const int from : {0, 51, -3}) {
        prompter.messages.clear();
        EXPECT_FALSE(files.acceptAddStart(from));
        EXPECT_EQ(prompter.messages, std::vector<int>{57470});
    }
    EXPECT_TRUE(files.acceptAddStart(50));
    prompter.messages.clear();
    put(0, "Keep", "1");
    EXPECT_EQ(files.addFromFile(write("1\tA\t1\r\n"), 51, false).messageId(), kAddStartRefused);
    EXPECT_EQ(name(0), "Keep");
}

// .DIA files stay Windows-1250: Czech letters and ß go through as they are, letters it lacks are
// saved as "?" and the user is told which names lost them.
TEST_F(PhoneBookFilesTest, NamesWindows1250LacksAreSavedAsQuestionMarksWithAWarning)
{
    put(0, "Čapek ß", "1");
    put(1, "Ωμέγα", "2");
    put(2, "Жора", "3");
    const QString path = filePath("unicode.dia");
    ASSERT_TRUE(files.saveFile(path, 1, 250));
    EXPECT_EQ(readBack(path), "1\t\xC8\x61pek \xDF\t1\r\n2\t?????\t2\r\n3\t????\t3\r\n");
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0].text.toStdString(),
              "2 names hold characters the .DIA file cannot (they are saved with \"?\" in their place): Ωμέγα, Жора");

    prompter.texts.clear();
    model->clearEntries();
    put(0, "Plain", "1");
    ASSERT_TRUE(files.saveFile(path, 1, 250));
    EXPECT_TRUE(prompter.texts.empty());
    ASSERT_EQ(files.openFile(path).messageId(), kOk);
    EXPECT_EQ(name(0), "Plain");
}

} // namespace
} // namespace kestrel::test
