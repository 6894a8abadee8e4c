#include "phonebook/AddCode.h"

#include <string>
#include <tuple>

#include "PhoneBookToolsFixture.h"

namespace kestrel::test {
namespace {

class AddCodeTest : public PhoneBookToolsTest
{
protected:
    AddCodeForm form(const char* code, bool forAll = false, bool addToEnd = false)
    {
        AddCodeForm f(*model);
        f.code = QString::fromLatin1(code);
        f.setForAllNumbers(forAll);
        f.setAddToEnd(addToEnd);
        return f;
    }
};

TEST_F(AddCodeTest, CodesGoInFrontOrBehind)
{
    struct Case
    {
        const char* code;
        bool forAll;
        bool addToEnd;
        const char* before; // "+" in front: ton 1
        const char* after;
    };
    const Case cases[] = {
        {"+49", false, false, "0301234", "0301234"},   // trunk prefix: left alone
        {"+49", true, false, "0301234", "+490301234"}, // for all numbers: the 0 stays
        {"+49", false, false, "+123", "+123"},         // international already
        {"+49", true, false, "+123", "+123"},          // ... even for all numbers
        {"49", true, false, "+123", "+49123"},         // after the "+"
        {"49", false, false, "+123", "+123"},
        {"49", false, false, "301", "49301"},
        {"+49", false, false, "301", "+49301"},
        {"+49", false, false, "*100#", "*100#"},
        {"+49", false, false, "#31#", "#31#"},
        {"49", true, false, "*100#", "49*100#"},
        {"+49", false, false, "", "+49"},      // a valid entry without digits
        {"99", false, true, "+123", "+12399"}, // add to end: all numbers
        {"99", false, true, "0301", "030199"},
        {"p1", false, true, "123", "123p1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " on " + c.before + (c.forAll ? " all" : "") + (c.addToEnd ? " end" : ""));
        model->clearEntries();
        put(2, "X", c.before);
        const AddCodeForm f = form(c.code, c.forAll, c.addToEnd);
        ASSERT_TRUE(f.accept(*model, prompter));
        EXPECT_TRUE(addCode(*model, f));
        EXPECT_EQ(number(2), c.after);
        EXPECT_EQ(model->entry(2).modified, std::string(c.before) != c.after ? 1 : 0);
        EXPECT_EQ(fixedText(model->entry(2).number).find('+'), std::string_view::npos);
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AddCodeTest, TooLongNumbersStayAndAreReportedOnce)
{
    put(0, "A", std::string(57, '1')); // 57 + "+49" = 60: fits
    put(1, "B", std::string(58, '2')); // 61: too long
    put(2, "C", "+" + std::string(58, '3'));
    put(3, "D", std::string(60, '4'));
    EXPECT_TRUE(addCode(*model, form("+49", true)));
    EXPECT_EQ(number(0), "+49" + std::string(57, '1'));
    EXPECT_EQ(number(1), std::string(58, '2'));
    EXPECT_EQ(model->entry(1).modified, 0);
    EXPECT_EQ(number(3), std::string(60, '4'));
    EXPECT_EQ(prompter.messages, std::vector<int>{57452});
    EXPECT_EQ(prompter.icons.back(), PromptIcon::Information);

    prompter.messages.clear();
    EXPECT_TRUE(addCode(*model, form("12", false, true)));
    EXPECT_EQ(number(2), "+" + std::string(58, '3') + "12");
    EXPECT_EQ(number(3), std::string(60, '4'));
    EXPECT_EQ(prompter.messages, std::vector<int>{57452});
}

TEST_F(AddCodeTest, RangeAndCodeAreChecked)
{
    model->setCapacity(20);
    const std::string code61(61, '1');
    struct Case
    {
        const char* code;
        int from;
        int to;
        bool addToEnd;
        int message; // 0: accepted
    };
    const Case cases[] = {
        {"+49", 1, 20, false, 0},      {"+49", 5, 5, false, 0},
        {"+49", 0, 5, false, 57450},   {"+49", 1, 21, false, 57450},
        {"+49", 6, 5, false, 57450},   {"+49", 21, 21, false, 57450},
        {"", 1, 20, false, 57451},     {"+", 1, 20, false, 0},
        {"49a", 1, 20, false, 57451},  {"4+9", 1, 20, false, 57451},
        {"++49", 1, 20, false, 57451}, {"49", 1, 20, true, 0},
        {"4+9", 1, 20, true, 57451},   {code61.c_str(), 1, 20, false, 57451},
    };
    put(0, "A", "301");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.from) + ".." + std::to_string(c.to));
        AddCodeForm f = form(c.code, false, c.addToEnd);
        f.code = QString::fromLatin1(c.code); // as typed, after the box was switched
        f.from = c.from;
        f.to = c.to;
        prompter.messages.clear();
        EXPECT_EQ(f.accept(*model, prompter), c.message == 0);
        EXPECT_EQ(prompter.messages, c.message ? std::vector<int>{c.message} : std::vector<int>{});
        if (c.message != 0) {
            EXPECT_EQ(prompter.icons.back(), PromptIcon::Stop);
            EXPECT_FALSE(addCode(*model, f));
            EXPECT_EQ(number(0), "301");
        }
    }
}

TEST_F(AddCodeTest, AddToEndRefusesAPlusTypedIntoTheCode)
{
    AddCodeForm f = form("49", false, true);
    f.code = QStringLiteral("+1");
    prompter.messages.clear();
    EXPECT_FALSE(f.accept(*model, prompter));
    EXPECT_EQ(prompter.messages, std::vector<int>{57451});
}

TEST_F(AddCodeTest, WorksInCardOrderOnTheRowsOfTheRange)
{
    put(0, "Zed", "1");
    put(1, "Amy", "2");
    put(2, "Max", "3");
    model->sortByKey(0, 249, 1); // Amy, Max, Zed
    AddCodeForm f = form("7");
    f.from = 2;
    f.to = 3;
    EXPECT_TRUE(addCode(*model, f));
    EXPECT_EQ(name(0), "Zed");
    EXPECT_EQ(number(0), "1");
    EXPECT_EQ(number(1), "72");
    EXPECT_EQ(number(2), "73");
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, 1, 2));
}

TEST_F(AddCodeTest, FormStartsWithThePlusAndTheDefaultInterval)
{
    model->setCapacity(40);
    AddCodeForm plain(*model);
    EXPECT_EQ(plain.code, QStringLiteral("+"));
    EXPECT_EQ(plain.from, 1);
    EXPECT_EQ(plain.to, 40);
    EXPECT_FALSE(plain.forAllNumbers());
    EXPECT_FALSE(plain.addToEnd());
    EXPECT_TRUE(plain.forAllEnabled());

    model->setSelected(4, true);
    model->setSelected(9, true);
    AddCodeForm selected(*model);
    EXPECT_EQ(selected.from, 5);
    EXPECT_EQ(selected.to, 10);
}

TEST_F(AddCodeTest, AddToEndTakesThePlusAwayAndGivesItBack)
{
    struct Case
    {
        const char* code;
        bool forAll;
        const char* whileOn; // nullptr: not edited while "Add to end" is on
        const char* codeOn;
        const char* codeOff;
    };
    const Case cases[] = {
        {"+49", false, nullptr, "49", "+49"}, {"+49", true, nullptr, "49", "+49"},
        {"49", false, nullptr, "49", "49"}, // no "+" taken away: none given back
        {"+49", false, "33", "33", "+33"},  // edited: the "+" still comes back
        {"+49", false, "+1", "+1", "+1"},   // typed back by hand: not doubled
        {"+", false, nullptr, "", "+"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + (c.whileOn ? std::string(" -> ") + c.whileOn : std::string()));
        AddCodeForm f = form(c.code, c.forAll);
        f.setAddToEnd(true);
        EXPECT_TRUE(f.addToEnd());
        EXPECT_TRUE(f.forAllNumbers());
        EXPECT_FALSE(f.forAllEnabled());
        f.setForAllNumbers(false); // the box is disabled
        EXPECT_TRUE(f.forAllNumbers());
        if (c.whileOn)
            f.code = QString::fromLatin1(c.whileOn);
        EXPECT_EQ(f.code, QString::fromLatin1(c.codeOn));
        f.setAddToEnd(false);
        EXPECT_EQ(f.code, QString::fromLatin1(c.codeOff));
        EXPECT_EQ(f.forAllNumbers(), c.forAll);
        EXPECT_TRUE(f.forAllEnabled());
    }
}

TEST_F(AddCodeTest, ChosenCodeReplacesTheFirstPlus)
{
    AddCodeForm f(*model);
    f.putChosenCode(QStringLiteral("+49"));
    EXPECT_EQ(f.code, QStringLiteral("+49"));
    f.code = QStringLiteral("12+3");
    f.putChosenCode(QStringLiteral("+1809496"));
    EXPECT_EQ(f.code, QStringLiteral("+1809496123"));
    f.putChosenCode(QString());
    EXPECT_EQ(f.code, QStringLiteral("+1809496123"));
}

} // namespace
} // namespace kestrel::test
