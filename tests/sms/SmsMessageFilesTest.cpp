#include "sms/SmsMessageFiles.h"

#include <cstring>
#include <string>
#include <vector>

#include <QFile>

#include "SmsListFixture.h"
#include "codec/SmsTime.h"

namespace kestrel::test {
namespace {

constexpr int kOk = static_cast<int>(CardStatus::Ok);

class SmsMessageFilesTest : public SmsListFixture
{
protected:
    // The model is made in SetUp.
    SmsMessageFiles files() { return SmsMessageFiles(*model); }

    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    QString write(const std::string& bytes, const char* name = "in.sms")
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path(name);
    }
    std::string readBack(const QString& file)
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll().toStdString();
    }
    std::vector<int> usedRows() const
    {
        std::vector<int> rows;
        for (int row = 0; row < SmsListModel::kRows; ++row)
            if (used(row))
                rows.push_back(row);
        return rows;
    }
};

TEST_F(SmsMessageFilesTest, SavedRowsOpenAgainWithTheirItemNumbers)
{
    SmsEntry& a = put(1, "Hi\nthere", "+420777000111");
    std::strcpy(a.scNumber, "420602909909");
    a.scTon = 1;
    std::strcpy(a.when, "01.02.03 04:05");
    a.status = 1;
    a.messageRef = 7;
    put(4, "", "123", 1);
    const QString file = path("out.sms");
    ASSERT_EQ(files().saveFile(file).messageId(), kOk);
    EXPECT_EQ(readBack(file), "2\t>+420602909909\t>+420777000111\t>01.02.03 04:05\t1\t7\t>Hi\x1bnthere\r\n"
                              "5\t>\t>123\t>7 days\t3\t0\t>\r\n");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(modified(1)); // saving leaves the marks alone
    EXPECT_TRUE(modified(4));

    const SmsEntry saved = model->entry(1);
    model->clearRows();
    put(8, "not in the file");
    model->setRowCount(3);
    ASSERT_EQ(files().openFile(file).messageId(), kOk);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(usedRows(), (std::vector<int>{1, 4}));
    const SmsEntry& e = model->entry(1);
    EXPECT_EQ(text(1), "Hi\nthere");
    EXPECT_STREQ(e.scNumber, saved.scNumber);
    EXPECT_STREQ(e.number, saved.number);
    EXPECT_STREQ(e.when, saved.when);
    EXPECT_EQ(std::vector<int>({e.scTon, e.numberTon, e.status, e.messageRef, e.position, e.modified}),
              (std::vector<int>{1, 1, 1, 7, 1, 1}));
    EXPECT_EQ(position(4), 4);
}

TEST_F(SmsMessageFilesTest, ATextOfManyLineFeedsIsSavedWhole)
{
    const std::string feeds(160, '\n'); // 320 bytes written
    put(0, feeds);
    ASSERT_EQ(files().saveFile(path("out.sms")).messageId(), kOk);
    model->clearRows();
    ASSERT_EQ(files().openFile(path("out.sms")).messageId(), kOk);
    EXPECT_EQ(text(0), feeds);
}

TEST_F(SmsMessageFilesTest, AnUnparsableTimeIsSavedAsTheCurrentTime)
{
    std::strcpy(put(0, "x").when, "soon");
    const QString file = path("out.sms");
    ASSERT_EQ(files().saveFile(file).messageId(), kOk);
    const std::string line = readBack(file);
    const std::size_t start = line.find("\t>", line.find("\t>", 2) + 2) + 2; // the third ">" field
    SmsTime time;
    ASSERT_TRUE(ParseSmsTime(line.substr(start, line.find('\t', start) - start), time)) << line;
    EXPECT_TRUE(time.isAbsolute);
    EXPECT_STREQ(model->entry(0).when, "soon");
}

TEST_F(SmsMessageFilesTest, ArchiveAppendsAreNumberedInFileOrderUpTo99)
{
    // An archive left without its last line end by a hand edit gets one before the new lines.
    const QString file = write(">\t>1\t>7 days\t3\t0\t>kept", "box.sma");
    for (int row = 0; row < 50; ++row)
        put(row, "m" + std::to_string(row));
    ASSERT_EQ(files().appendToArchive(file).messageId(), kOk);
    ASSERT_EQ(files().appendToArchive(file).messageId(), kOk);
    const std::string contents = readBack(file);
    // 101 lines, each starting with the service centre: no item numbers.
    EXPECT_EQ(QByteArray::fromStdString(contents).count("\r\n"), 101);
    EXPECT_EQ(QByteArray::fromStdString("\n" + contents).count("\n>"), 101);

    model->setRowCount(10);
    EXPECT_EQ(files().openFile(file).messageId(), kSmsSyntaxError);
    EXPECT_EQ(prompter.messages, std::vector<int>{57688});
    EXPECT_EQ(model->rowCount(), 99);
    EXPECT_EQ(usedRows().size(), 99u);
    EXPECT_EQ(text(0), "kept");
    EXPECT_EQ(text(1), "m0");
    EXPECT_EQ(text(51), "m0"); // the second append follows the first
    EXPECT_EQ(text(98), "m47");
}

TEST_F(SmsMessageFilesTest, OpeningStopsAtTheFirstBadRecordKeepingTheEarlierOnes)
{
    const std::string good = "1\t>\t>123\t>7 days\t3\t0\t>ok\r\n";
    struct Case
    {
        const char* what;
        std::string file;
        int result;  // messageId() of the Result
        int message; // 0: none
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"status 4", good + "2\t>\t>1\t>7 days\t4\t0\t>x\r\n", kSmsSyntaxError, 57688, {0}},
        {"21 digits without +",
         good + "2\t>" + std::string(21, '1') + "\t>1\t>7 days\t3\t0\t>x\r\n",
         kSmsSyntaxError,
         57688,
         {0}},
        {"+ and 20 digits", good + "2\t>+" + std::string(20, '1') + "\t>1\t>7 days\t3\t0\t>x\r\n", kOk, 0, {0, 1}},
        {"text without >", good + "2\t>\t>1\t>7 days\t3\t0\tx\r\n", kSmsSyntaxError, 57688, {0}},
        {"message reference 256", good + "2\t>\t>1\t>7 days\t3\t256\t>x\r\n", kSmsSyntaxError, 57688, {0}},
        {"signed item number", good + "+3\t>\t>1\t>7 days\t3\t0\t>x\r\n", kSmsSyntaxError, 57688, {0}},
        {"an archive line in a message file", good + ">\t>1\t>7 days\t3\t0\t>x\r\n", kSmsSyntaxError, 57688, {0}},
        {"an archive line with a seventh field",
         ">\t>1\t>7 days\t3\t0\t>a\r\n>\t>1\t>7 days\t3\t0\t>b\t>c\r\n",
         kSmsSyntaxError,
         57688,
         {0}},
        {"file cut inside a record", good + "2\t>\t>1", kSmsReadError, 57689, {0}},
        {"blank lines and no last line end", "\r\n\r\n" + good + "9\t>\t>1\t>1 day\t0\t0\t>y", kOk, 0, {0, 8}},
        {"empty file", "", kOk, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(40, "before");
        prompter.messages.clear();
        EXPECT_EQ(files().openFile(write(c.file)).messageId(), c.result);
        EXPECT_EQ(prompter.messages, c.message ? std::vector<int>{c.message} : std::vector<int>{});
        EXPECT_EQ(usedRows(), c.rows);
        EXPECT_EQ(model->rowCount(), 99); // never fewer rows than before
    }

    put(40, "before");
    prompter.messages.clear();
    EXPECT_EQ(files().openFile(path("missing.sms")).messageId(), 57687);
    EXPECT_EQ(prompter.messages, std::vector<int>{57687});
    EXPECT_EQ(usedRows(), std::vector<int>{40});
}

TEST_F(SmsMessageFilesTest, ASixteenCharacterTimeKeepsItsValue)
{
    ASSERT_EQ(files().openFile(write("3\t>\t>1\t>31.12.2024 23:59\t0\t0\t>x\r\n")).messageId(), kOk);
    EXPECT_STREQ(model->entry(2).when, "31.12.24 23:59");
}

// The files keep Windows-1250 text: what the code page lacks becomes "?", and the user is told;
// reading gives UTF-8 back.
TEST_F(SmsMessageFilesTest, TextsAreWindows1250InTheFile)
{
    const struct
    {
        const char* text;
        const char* inFile;
        bool warned;
    } cases[] = {
        {"\xC4\x8C"
         "au",
         "\xC8"
         "au",
         false}, // Č is in the code page
        {"\xD0\x9F"
         "A \xE2\x82\xAC",
         "?A \x80", true}, // П is not, € is
    };
    for (const auto& c : cases) {
        model->clearRows();
        prompter.messages.clear();
        put(0, c.text, "123");
        const QString file = path("cp.sms");
        ASSERT_EQ(files().saveFile(file).messageId(), kOk);
        EXPECT_EQ(readBack(file), std::string("1\t>\t>123\t>7 days\t3\t0\t>") + c.inFile + "\r\n");
        EXPECT_EQ(prompter.messages, c.warned ? std::vector<int>{9899} : std::vector<int>{}) << c.text;
        ASSERT_EQ(files().openFile(file).messageId(), kOk);
        EXPECT_EQ(text(0), c.warned ? std::string("?A \xE2\x82\xAC") : std::string(c.text));
    }
}

} // namespace
} // namespace kestrel::test
