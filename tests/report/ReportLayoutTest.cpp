#include "report/ReportLayout.h"

#include <QDateTime>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

// A printer with a fixed-width font: normal characters 20 units wide and 40 high, bold ones 25 wide
// and 45 high. It records every page as a list of drawn texts and lines.
class RecordingCanvas : public ReportCanvas
{
public:
    struct Text
    {
        int x;
        int y;
        QString text;
        bool bold;
    };
    struct Rule
    {
        int x1, y1, x2, y2;
    };
    struct Page
    {
        std::vector<Text> texts;
        std::vector<Rule> rules;
        bool ended = false;
    };

    RecordingCanvas(int width = 2100, int height = 2970) : m_width(width), m_height(height) {}

    int pageWidth() const override { return m_width; }
    int pageHeight() const override { return m_height; }
    int textWidth(const QString& text, bool bold) const override { return int(text.size()) * (bold ? 25 : 20); }
    int lineHeight(bool bold) const override { return bold ? 45 : 40; }
    void beginPage() override { pages.emplace_back(); }
    void endPage() override { pages.back().ended = true; }
    void drawText(int x, int y, const QString& text, bool bold) override
    {
        EXPECT_FALSE(pages.empty());
        EXPECT_LE(x + textWidth(text, bold), m_width - 100) << text.toStdString();
        EXPECT_LE(y, 0);
        pages.back().texts.push_back({x, y, text, bold});
    }
    void drawLine(int x1, int y1, int x2, int y2) override { pages.back().rules.push_back({x1, y1, x2, y2}); }

    // The texts of a page below its heading rule (the first rule drawn).
    std::vector<Text> body(std::size_t page) const
    {
        std::vector<Text> out;
        const int rule = pages.at(page).rules.at(0).y1;
        for (const Text& t : pages.at(page).texts) {
            if (t.y < rule)
                out.push_back(t);
        }
        return out;
    }
    // The texts of a page above its heading line.
    std::vector<Text> header(std::size_t page, int titleY) const
    {
        std::vector<Text> out;
        for (const Text& t : pages.at(page).texts) {
            if (t.y > titleY)
                out.push_back(t);
        }
        return out;
    }

    std::vector<Page> pages;

private:
    int m_width;
    int m_height;
};

ReportHeader emptyHeader()
{
    ReportHeader h;
    h.printTime = QDateTime(QDate(2026, 12, 24), QTime(9, 5, 30));
    return h;
}

// With an empty header the print-time line lies at -100 - 10 and is 40 high, so the title lies at
// -165, the heading rule at -165 - 45 - 5 = -215 and the first body line at -225.
constexpr int kTitleY = -165;
constexpr int kFirstBodyY = -225;

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

TEST(ReportLayout, NextTabStop)
{
    struct Case
    {
        int x;
        QList<int> stops;
        int expected;
    } cases[] = {
        {250, {500, 600, 700}, 500},
        {500, {500, 600, 700}, 600},
        {699, {500, 600, 700}, 700},
        {700, {500, 600, 700}, 800},
        {801, {500, 600, 700}, 1200},
        {0, {}, 400},
        {399, {}, 400},
        {400, {}, 800},
        {1250, {400, 700, 1100, 1400, 1700}, 1400},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportLayout::nextTabStop(c.x, c.stops), c.expected) << c.x;
}

TEST(ReportLayout, IccidDigitsLowNibbleFirstWithoutFiller)
{
    struct Case
    {
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {QByteArray::fromHex("98940100000012345678"), "89491000000021436587"},
        {QByteArray::fromHex("9894010000001234F5"), "89491000000021435"},
        {QByteArray::fromHex("FFFF"), ""},
        {QByteArray::fromHex("A1"), "1A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportLayout::iccidText(c.bytes), QString::fromLatin1(c.expected));
}

TEST(ReportLayout, LongLinesAreCutWithDots)
{
    struct Case
    {
        QString line;
        QString firstShown; // the text drawn at the left margin
    } cases[] = {
        // 2000 - 200 = 1800 units hold 90 normal characters.
        {QString(90, QLatin1Char('a')), QString(90, QLatin1Char('a'))},
        {QString(91, QLatin1Char('a')), QString(87, QLatin1Char('a')) + QStringLiteral("...")},
        {QString(300, QLatin1Char('b')), QString(87, QLatin1Char('b')) + QStringLiteral("...")},
        // 1800 units hold 72 bold characters.
        {QStringLiteral("{$B}") + QString(80, QLatin1Char('c')), QString(69, QLatin1Char('c')) + QStringLiteral("...")},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        ReportLayout layout(canvas, emptyHeader());
        EXPECT_EQ(layout.printReport(c.line, QStringLiteral("Title"), {}), 1);
        const auto body = canvas.body(0);
        ASSERT_EQ(body.size(), 1u);
        EXPECT_EQ(body[0].x, 200);
        EXPECT_EQ(body[0].text, c.firstShown);
    }

    // A segment after a tab is cut at the right edge too; a segment starting past it disappears.
    RecordingCanvas canvas;
    ReportLayout layout(canvas, emptyHeader());
    layout.printReport(QStringLiteral("ab\t") + QString(100, QLatin1Char('x')), QString(), {1500});
    const auto body = canvas.body(0);
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[1].x, 1500);
    EXPECT_EQ(body[1].text, QString(22, QLatin1Char('x')) + QStringLiteral("..."));
}

TEST(ReportLayout, TabStopsBoldLinesAndEmptyLines)
{
    RecordingCanvas canvas;
    ReportLayout layout(canvas, emptyHeader());
    const QString text = QStringLiteral("List:\tItems:\tName length max\n\n\r\n{$B}Last number dialed\r\n"
                                        "Items number: \t10\n") +
                         QString(30, QLatin1Char('z')) + QStringLiteral("\tend");
    EXPECT_EQ(layout.printReport(text, QStringLiteral("SIM card global information"), {500, 900}), 1);
    const auto body = canvas.body(0);
    struct Expected
    {
        int x;
        int y;
        const char* text;
        bool bold;
    } expected[] = {
        {200, kFirstBodyY, "List:", false},
        {500, kFirstBodyY, "Items:", false},
        {900, kFirstBodyY, "Name length max", false},
        // Empty lines take no space; a bold line is 45 high.
        {200, kFirstBodyY - 55, "Last number dialed", true},
        {200, kFirstBodyY - 55 - 60, "Items number: ", false},
        {500, kFirstBodyY - 55 - 60, "10", false},
        // 200 + 30 * 20 = 800 is past 500, 900 is the next stop.
        {200, kFirstBodyY - 55 - 60 - 55, "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", false},
        {900, kFirstBodyY - 55 - 60 - 55, "end", false},
    };
    ASSERT_EQ(body.size(), std::size(expected));
    for (std::size_t i = 0; i < body.size(); ++i) {
        EXPECT_EQ(body[i].x, expected[i].x) << i;
        EXPECT_EQ(body[i].y, expected[i].y) << i;
        EXPECT_EQ(body[i].text, QString::fromLatin1(expected[i].text)) << i;
        EXPECT_EQ(body[i].bold, expected[i].bold) << i;
    }
    // The title is drawn bold with the same tab stops.
    ASSERT_FALSE(canvas.pages[0].texts.empty());
    bool titleSeen = false;
    for (const auto& t : canvas.pages[0].texts)
        titleSeen |= t.y == kTitleY && t.bold && t.text == QStringLiteral("SIM card global information");
    EXPECT_TRUE(titleSeen);
}

TEST(ReportLayout, OneLineMoreThanAPageGoesAloneOnPageTwo)
{
    // Body lines step 55 from -225; the bottom limit is -2950 and a line needs 55 above it, so
    // lines at -225 ... -2865 (49 lines) fit on a page.
    constexpr int kPerPage = 49;
    struct Case
    {
        int lines;
        int pages;
        int lastPageLines;
    } cases[] = {{0, 1, 0}, {1, 1, 1}, {kPerPage, 1, kPerPage}, {kPerPage + 1, 2, 1}, {2 * kPerPage + 1, 3, 1}};
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        ReportLayout layout(canvas, emptyHeader());
        EXPECT_EQ(layout.printReport(numberedLines(c.lines), QStringLiteral("Report"), {}), c.pages) << c.lines;
        ASSERT_EQ(canvas.pages.size(), std::size_t(c.pages)) << c.lines;
        for (std::size_t p = 0; p < canvas.pages.size(); ++p) {
            const auto& page = canvas.pages[p];
            EXPECT_TRUE(page.ended);
            // Page number right-aligned at the right edge on the title line.
            const QString number = QStringLiteral("<%1>").arg(p + 1);
            bool numberSeen = false;
            for (const auto& t : page.texts)
                numberSeen |= t.text == number && t.y == kTitleY && t.x + int(number.size()) * 20 == 2000;
            EXPECT_TRUE(numberSeen) << p;
            // A rule under the heading line and one at the bottom limit.
            ASSERT_EQ(page.rules.size(), 2u);
            EXPECT_EQ(page.rules[0].y1, kTitleY - 45 - 5);
            EXPECT_EQ(page.rules[0].x1, 200);
            EXPECT_EQ(page.rules[0].x2, 2000);
            EXPECT_EQ(page.rules[1].y1, -2950);
            for (const auto& t : canvas.body(p))
                EXPECT_GE(t.y - 40, -2950);
        }
        const auto last = canvas.body(canvas.pages.size() - 1);
        ASSERT_EQ(last.size(), std::size_t(c.lastPageLines));
        if (c.lastPageLines == 1) {
            EXPECT_EQ(last[0].text, QStringLiteral("line %1").arg(c.lines));
            EXPECT_EQ(last[0].y, kFirstBodyY);
        }
    }
}

TEST(ReportLayout, HeaderBlock)
{
    RecordingCanvas canvas;
    ReportHeader empty = emptyHeader();
    ReportLayout(canvas, empty).printReport(QString(), QString(), {});
    auto header = canvas.header(0, kTitleY);
    // Only the print-time line; "Print time: " is 240 wide and goes to 500, the time to 900.
    ASSERT_EQ(header.size(), 3u);
    EXPECT_EQ(header[0].text, QStringLiteral("Print time: "));
    EXPECT_EQ(header[0].x, 200);
    EXPECT_EQ(header[0].y, -110);
    EXPECT_EQ(header[1].text, QStringLiteral("12-24-2026 09:05 "));
    EXPECT_EQ(header[1].x, 500);
    EXPECT_EQ(header[2].text, QStringLiteral("Card ICCID: Not accessible"));
    EXPECT_EQ(header[2].x, 900);
    // A SimCard that has not opened a card yet holds nothing but filler.
    empty.iccid = QByteArray(10, '\xFF');
    RecordingCanvas unread;
    ReportLayout(unread, empty).printReport(QString(), QString(), {});
    EXPECT_EQ(unread.header(0, kTitleY).at(2).text, QStringLiteral("Card ICCID: Not accessible"));

    ReportHeader full = emptyHeader();
    full.shop = QStringLiteral("Mobil Centrum");
    full.address = QStringLiteral("Hlavni 1, Brno");
    full.salesperson = QStringLiteral("Jana");
    full.fax = QStringLiteral("+420 5 4321");
    full.email = QStringLiteral("shop@example.cz");
    full.comment = QStringLiteral("Repaired");
    full.iccid = QByteArray::fromHex("98940100000012345678");
    RecordingCanvas canvas2;
    ReportLayout(canvas2, full).printReport(QStringLiteral("x"), QString(), {});
    // Header lines step 45; the print-time line comes 10 further down, then the title 55 below it.
    const int timeY = -100 - 6 * 45 - 10;
    const int titleY = timeY - 55;
    header = canvas2.header(0, titleY);
    struct Expected
    {
        int x;
        int y;
        const char* text;
    } expected[] = {
        {200, -100, "Shop:  "},
        {500, -100, "Mobil Centrum"},
        {200, -145, "Address: "},
        {500, -145, "Hlavni 1, Brno"},
        {200, -190, "Salesperson:  "},
        {500, -190, "Jana"},
        // Phone empty, fax not: the line is printed with the two-value stops.
        {200, -235, "Phone: "},
        {500, -235, " "},
        {900, -235, "Fax: "},
        {1200, -235, "+420 5 4321"},
        {200, -280, "E-mail: "},
        {500, -280, "shop@example.cz"},
        {200, -325, "Comment: "},
        {500, -325, "Repaired"},
        {200, timeY, "Print time: "},
        {500, timeY, "12-24-2026 09:05 "},
        {900, timeY, "Card ICCID: 89491000000021436587"},
    };
    ASSERT_EQ(header.size(), std::size(expected));
    for (std::size_t i = 0; i < header.size(); ++i) {
        EXPECT_EQ(header[i].x, expected[i].x) << i;
        EXPECT_EQ(header[i].y, expected[i].y) << i;
        EXPECT_EQ(header[i].text, QString::fromLatin1(expected[i].text)) << i;
    }
    EXPECT_EQ(canvas2.pages[0].rules[0].y1, titleY - 45 - 5);
}

namespace {

DialEntry dialEntry(uint16_t position, const char* name, const char* number, uint8_t ton = 0)
{
    DialEntry e = DialEntry::emptyAt(position);
    e.valid = 1;
    std::strncpy(e.name, name, sizeof e.name - 1);
    std::strncpy(e.number, number, sizeof e.number - 1);
    e.ton = ton;
    return e;
}

} // namespace

TEST(ReportLayout, PhoneBookList)
{
    // A narrow page: right edge 1400, so 400 units (20 digits) for the number.
    RecordingCanvas canvas(1500, 2970);
    QList<DialEntry> entries{dialEntry(0, "Anna", "123456", 1), DialEntry::emptyAt(1),
                             dialEntry(2, "Bob", "0123456789012345678901234567890123456789012"),
                             dialEntry(3, "Bartholomew Fitzgerald-Smith", "5")};
    EXPECT_EQ(ReportLayout(canvas, emptyHeader()).printPhoneBook(entries), 1);

    std::vector<std::pair<int, QString>> heads;
    for (const auto& t : canvas.pages[0].texts) {
        if (t.y == kTitleY && t.bold)
            heads.emplace_back(t.x, t.text);
    }
    const std::vector<std::pair<int, QString>> expectedHeads{
        {200, QStringLiteral("#")}, {500, QStringLiteral("Name:")}, {1000, QStringLiteral("Telephone")}};
    EXPECT_EQ(heads, expectedHeads);

    struct Expected
    {
        int x;
        int y;
        const char* text;
    } expected[] = {
        {200, kFirstBodyY, "1"},
        {500, kFirstBodyY, "Anna"},
        {1000, kFirstBodyY, "+123456"},
        {200, kFirstBodyY - 55, "3"},
        {500, kFirstBodyY - 55, "Bob"},
        {1000, kFirstBodyY - 55, "01234567890123456789"},
        {1000, kFirstBodyY - 110, "01234567890123456789"},
        {1000, kFirstBodyY - 165, "012"},
        // A name that would run into the telephone column is cut (485 units hold 24 characters).
        {200, kFirstBodyY - 220, "4"},
        {500, kFirstBodyY - 220, "Bartholomew Fitzgeral..."},
        {1000, kFirstBodyY - 220, "5"},
    };
    const auto body = canvas.body(0);
    ASSERT_EQ(body.size(), std::size(expected));
    for (std::size_t i = 0; i < body.size(); ++i) {
        EXPECT_EQ(body[i].x, expected[i].x) << i;
        EXPECT_EQ(body[i].y, expected[i].y) << i;
        EXPECT_EQ(body[i].text, QString::fromLatin1(expected[i].text)) << i;
    }
}

TEST(ReportLayout, PhoneBookEntryContinuesOnTheNextPage)
{
    // Bottom limit -470: body lines at -225, -280, -335, -390 fit (each needs 55 above the limit).
    RecordingCanvas canvas(1500, 490);
    QList<DialEntry> entries{dialEntry(0, "A", "1"), dialEntry(1, "B", "2"), dialEntry(2, "C", "3"),
                             dialEntry(3, "Long", "1111111111111111111122222222222222222222333")};
    EXPECT_EQ(ReportLayout(canvas, emptyHeader()).printPhoneBook(entries), 2);
    ASSERT_EQ(canvas.pages.size(), 2u);
    const auto first = canvas.body(0);
    ASSERT_EQ(first.size(), 3u * 3 + 3); // number, name and telephone per line
    EXPECT_EQ(first.back().text, QStringLiteral("11111111111111111111"));
    EXPECT_EQ(first.back().y, -390);
    const auto second = canvas.body(1);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].text, QStringLiteral("22222222222222222222"));
    EXPECT_EQ(second[0].x, 1000);
    EXPECT_EQ(second[0].y, kFirstBodyY);
    EXPECT_EQ(second[1].text, QStringLiteral("333"));
}

namespace {

SmsEntry sms(uint16_t position, int status, const char* number, const char* when, const char* text)
{
    SmsEntry e;
    e.valid = 1;
    e.position = position;
    e.status = status;
    std::strncpy(e.number, number, sizeof e.number - 1);
    std::strncpy(e.when, when, sizeof e.when - 1);
    std::strncpy(e.text, text, sizeof e.text - 1);
    return e;
}

} // namespace

TEST(ReportLayout, MessageList)
{
    // Right edge 1300 + 600: 1600 units from x = 300 hold 80 characters per text line.
    RecordingCanvas canvas(2000, 2970);
    SmsEntry unused;
    QString longText;
    // Words of 9 letters and a space: the space after the 8th word is at index 79.
    for (int i = 0; i < 12; ++i)
        longText += QStringLiteral("abcdefghi ");
    const QByteArray longBytes = longText.toLatin1();
    const std::string noSpaces(100, 'w');
    QList<SmsEntry> messages{sms(0, 1, "420603123456", "24.12.26 09:05", "Hello"), unused,
                             sms(2, 3, "123", "1 day", longBytes.constData()),
                             sms(3, 0, "5", "", ("x " + noSpaces).c_str())};
    messages[0].numberTon = 1;
    EXPECT_EQ(ReportLayout(canvas, emptyHeader()).printMessages(messages), 1);

    std::vector<QString> heads;
    for (const auto& t : canvas.pages[0].texts) {
        if (t.y == kTitleY && t.bold)
            heads.push_back(t.text);
    }
    EXPECT_EQ(heads, (std::vector<QString>{QStringLiteral("#"), QStringLiteral("Telephone"),
                                           QStringLiteral("Condition:"), QStringLiteral("Date / Validity period:")}));

    struct Expected
    {
        int x;
        QString text;
        bool bold;
    } expected[] = {
        {200, QStringLiteral("1"), true},
        {300, QStringLiteral("+420603123456"), true},
        {1000, QStringLiteral("Received"), true},
        {1300, QStringLiteral("24.12.26 09:05"), true},
        {300, QStringLiteral("Hello"), false},
        {200, QStringLiteral("3"), true},
        {300, QStringLiteral("123"), true},
        {1000, QStringLiteral("To be sent"), true},
        {1300, QStringLiteral("1 day"), true},
        // Broken after the last space that fits.
        {300, longText.left(80), false},
        {300, longText.mid(80), false},
        {200, QStringLiteral("4"), true},
        {300, QStringLiteral("5"), true},
        {1000, QStringLiteral("Read"), true},
        // The only space lies before the middle: the line is cut at the last character that fits.
        {300, QStringLiteral("x ") + QString(78, QLatin1Char('w')), false},
        {300, QString(22, QLatin1Char('w')), false},
    };
    const auto body = canvas.body(0);
    ASSERT_EQ(body.size(), std::size(expected));
    int previousY = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        EXPECT_EQ(body[i].x, expected[i].x) << i;
        EXPECT_EQ(body[i].text, expected[i].text) << i;
        EXPECT_EQ(body[i].bold, expected[i].bold) << i;
        if (body[i].x == 200 || !body[i].bold) {
            EXPECT_LT(body[i].y, previousY) << i;
            previousY = body[i].y;
        }
    }
}
