#include "phonebook/Internationalize.h"

#include <string>
#include <tuple>

#include "PhoneBookToolsFixture.h"

namespace kestrel::test {
namespace {

class InternationalizeTest : public PhoneBookToolsTest
{
protected:
    void setPrefixes(const char* selector, const char* country)
    {
        app->settings().intSelector = QString::fromLatin1(selector);
        app->settings().intNumber = QString::fromLatin1(country);
    }
};

TEST_F(InternationalizeTest, NumbersBecomeInternational)
{
    struct Case
    {
        const char* selector;
        const char* country;
        const char* before; // "+" in front: ton 1
        int ton;
        const char* after;
        bool changed;
    };
    const Case cases[] = {
        {"00", "49", "0301234", 0, "+49301234", true},    // trunk prefix -> own country code
        {"00", "49", "0049301234", 0, "+49301234", true}, // access prefix dropped
        {"00", "49", "00", 0, "+", true},                 // access prefix alone
        {"00", "49", "0", 0, "+49", true},                // a lone trunk prefix
        {"00", "49", "301234", 0, "301234", false},       // no prefix
        {"00", "49", "*100#", 0, "*100#", false},
        {"00", "49", "#31#0", 0, "#31#0", false},
        {"00", "49", "+0301234", 1, "+0301234", false}, // international already
        {"00", "49", "0301", 2, "+49301", true},        // a national TON from the card
        {"011", "1", "0044123", 0, "0044123", false},   // neither access nor trunk prefix
        {"011", "1", "011441234", 0, "+441234", true},
        {"011", "1", "0301", 0, "+1301", true},
        {"", "49", "0301", 0, "+0301", true},    // an empty access prefix matches every number
        {"00", "", "0301", 0, "+301", true},     // no country code: only the 0 goes
        {"00", "4+9", "0301", 0, "0301", false}, // a "+" never gets among the digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.selector) + " / " + c.country + " / " + c.before);
        setPrefixes(c.selector, c.country);
        model->clearEntries();
        DialEntry& e = put(4, "X", c.before);
        e.ton = static_cast<uint8_t>(c.ton);
        prompter.answers = {PromptAnswer::Yes};
        EXPECT_TRUE(internationalize(*model, 1, 250));
        EXPECT_EQ(e.modified, c.changed ? 1 : 0);
        EXPECT_EQ(number(4), c.after);
        EXPECT_EQ(e.ton, c.changed ? 1 : c.ton);
    }
}

TEST_F(InternationalizeTest, LongResultsStayAndAreReportedOnce)
{
    setPrefixes("00", "49");
    put(0, "A", "0" + std::string(59, '7')); // 49 + 59 digits = 61
    put(1, "B", "0" + std::string(58, '7')); // 49 + 58 digits = 60
    put(2, "C", "0" + std::string(59, '8'));
    EXPECT_TRUE(internationalize(*model, 1, 3));
    EXPECT_EQ(number(0), "0" + std::string(59, '7'));
    EXPECT_EQ(model->entry(0).modified, 0);
    EXPECT_EQ(number(1), "+49" + std::string(58, '7'));
    EXPECT_EQ(number(2), "0" + std::string(59, '8'));
    EXPECT_EQ(prompter.messages, std::vector<int>{57592});
    EXPECT_EQ(prompter.icons.back(), PromptIcon::Information);
}

TEST_F(InternationalizeTest, OnlyTheRangeAndValidEntriesChange)
{
    setPrefixes("00", "49");
    model->setCapacity(10);
    put(0, "A", "01");
    put(1, "B", "02");
    put(3, "D", "04");
    DialEntry& freeRow = model->entry(2);
    setFixedText(freeRow.number, "03");
    EXPECT_TRUE(internationalize(*model, 2, 3));
    EXPECT_EQ(number(0), "01");
    EXPECT_EQ(number(1), "+492");
    EXPECT_EQ(fixedText(freeRow.number), "03");
    EXPECT_EQ(freeRow.modified, 0);
    EXPECT_EQ(number(3), "04");
    EXPECT_EQ(view.redraws, (std::vector<std::tuple<int, int, int>>{{-1, 1, 2}}));
}

TEST_F(InternationalizeTest, WrongRangeChangesNothing)
{
    setPrefixes("00", "49");
    model->setCapacity(10);
    put(0, "A", "01");
    for (const auto& [from, to] : {std::pair{0, 5}, std::pair{1, 11}, std::pair{5, 4}}) {
        prompter.messages.clear();
        EXPECT_FALSE(internationalize(*model, from, to));
        EXPECT_EQ(prompter.messages, std::vector<int>{57593});
        EXPECT_EQ(prompter.icons.back(), PromptIcon::Stop);
    }
    EXPECT_EQ(number(0), "01");
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_TRUE(view.redraws.empty());
}

TEST_F(InternationalizeTest, UnsetSettingsAskFirst)
{
    put(0, "A", "0301");
    for (const auto& [selector, country] : {std::pair{"", "49"}, std::pair{"00", ""}}) {
        setPrefixes(selector, country);
        prompter.questions.clear();
        for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Cancel}) {
            prompter.answers = {answer};
            EXPECT_FALSE(internationalize(*model, 1, 250));
            EXPECT_EQ(number(0), "0301");
        }
        EXPECT_EQ(prompter.questions, (std::vector<int>{57591, 57591}));
    }
    setPrefixes("00", "49");
    prompter.questions.clear();
    EXPECT_TRUE(internationalize(*model, 1, 250));
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(number(0), "+49301");
}

} // namespace
} // namespace kestrel::test
