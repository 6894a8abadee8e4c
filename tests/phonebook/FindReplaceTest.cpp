#include "phonebook/FindReplace.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "PhoneBookToolsFixture.h"

namespace kestrel::test {
namespace {

// Dialog 104 and dialog 128 with answers given in advance; every dialog shown is recorded.
class ScriptedFindUi final : public FindReplaceUi
{
public:
    struct Dialog
    {
        FindAction action; // None: "&Close"
        QString find;
        QString replace;
        int selector = 0;
    };

    FindAction runDialog(FindRequest& request) override
    {
        shown.push_back(request);
        if (dialogs.empty())
            return FindAction::None;
        const Dialog d = dialogs.front();
        dialogs.pop_front();
        request.findText = d.find;
        request.replaceText = d.replace;
        request.selector = d.selector;
        return d.action;
    }
    ReplaceAnswer askReplace() override
    {
        ++asked;
        if (answers.empty())
            return ReplaceAnswer::Cancel;
        const ReplaceAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::deque<Dialog> dialogs;
    std::deque<ReplaceAnswer> answers;
    std::vector<FindRequest> shown;
    int asked = 0;
};

class FindReplaceTest : public PhoneBookToolsTest
{
protected:
    void dialog(FindAction action, const char* find, const char* replace = "",
                FindSelector selector = FindSelector::Name)
    {
        ui.dialogs.push_back({action, QString::fromUtf8(find), QString::fromUtf8(replace), static_cast<int>(selector)});
    }
    std::vector<int> selection() const { return model->selectedRows(); }

    ScriptedFindUi ui;
    FindReplace finder{*model, ui};
};

TEST_F(FindReplaceTest, FindWrapsOnceToTheTop)
{
    put(1, "Anna", "1");
    put(5, "Bert", "2");
    put(8, "ANNE", "3");
    model->setSelected(8, true);
    dialog(FindAction::Find, "ann");
    finder.find();
    EXPECT_EQ(selection(), std::vector<int>{1});
    EXPECT_EQ(model->focusedRow(), 1);
    EXPECT_EQ(view.redraws.back(), std::make_tuple(1, 1, 1));

    finder.findNext();
    EXPECT_EQ(selection(), std::vector<int>{8});
    finder.findNext();
    EXPECT_EQ(selection(), std::vector<int>{1});
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_TRUE(prompter.messages.empty());

    // The only match is the current row itself: found again after the wrap.
    model->entry(8).valid = 0;
    finder.findNext();
    EXPECT_EQ(selection(), std::vector<int>{1});
}

TEST_F(FindReplaceTest, ReplaceRunsToTheEndWithoutWrapping)
{
    put(1, "Anna", "1");
    put(8, "Anne", "3");
    model->setSelected(8, true);
    dialog(FindAction::Replace, "ANN", "X");
    ui.answers = {ReplaceAnswer::Yes};
    finder.find();
    EXPECT_EQ(name(8), "Xe");
    EXPECT_EQ(model->entry(8).modified, 1);
    EXPECT_EQ(name(1), "Anna");
    EXPECT_EQ(ui.asked, 1);
    EXPECT_EQ(prompter.messages, std::vector<int>{57401});
    EXPECT_EQ(app->lastFindAction(), 0);
}

TEST_F(FindReplaceTest, SelectorsTestTheirFields)
{
    put(0, "Otto 49", "+4930");
    put(1, "Bea", "4930");
    put(2, "Cy", "+14930");
    put(3, "Dee", "030");
    put(4, "Otto", "+49p1");
    struct Case
    {
        FindSelector selector;
        const char* text;
        std::vector<int> rows; // every row Find visits, in order, starting with nothing selected
    };
    const Case cases[] = {
        {FindSelector::Name, "otto", {4, 0}},       {FindSelector::Name, "49", {0}},
        {FindSelector::Number, "49", {1, 2, 4, 0}}, {FindSelector::Number, "+49", {4, 0}},
        {FindSelector::Number, "P1", {4}}, // the dialling character p folds too
        {FindSelector::DialingCode, "+49", {4, 0}}, {FindSelector::DialingCode, "49", {1}},
        {FindSelector::DialingCode, "0", {3}},      {FindSelector::Everywhere, "49", {1, 2, 4, 0}},
        {FindSelector::Everywhere, "EA", {1}},      {FindSelector::Everywhere, "30", {1, 2, 3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " selector " + std::to_string(static_cast<int>(c.selector)));
        model->clearSelection();
        dialog(FindAction::Find, c.text, "", c.selector);
        std::vector<int> visited;
        finder.find();
        visited.push_back(model->firstSelected());
        for (std::size_t i = 1; i < c.rows.size() + 1; ++i) {
            finder.findNext();
            visited.push_back(model->firstSelected());
        }
        std::vector<int> expected = c.rows;
        expected.push_back(c.rows.front()); // round again
        EXPECT_EQ(visited, expected);
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FindReplaceTest, CaseFoldsOnlyPlainLetters)
{
    put(0, "MÜLLER", "1");
    put(1, "Mueller", "2");
    struct Case
    {
        const char* search; // UTF-8 as typed
        int row;            // -1: "Item not found"
    };
    const Case cases[] = {
        {"m\xC3\x9C"
         "ller",
         0}, // same letter with diacritic, plain letters in lower case
        {"M\xC3\xBC"
         "LLER",
         -1}, // the lower-case letter with diacritic is another byte
        {"muller", -1},
        {"MUELLER", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search);
        model->clearSelection();
        model->setSelected(5, true);
        prompter.messages.clear();
        dialog(FindAction::Find, c.search);
        finder.find();
        if (c.row < 0) {
            EXPECT_EQ(prompter.messages, std::vector<int>{57401});
            EXPECT_EQ(selection(), std::vector<int>{5});
        } else {
            EXPECT_TRUE(prompter.messages.empty());
            EXPECT_EQ(selection(), std::vector<int>{c.row});
        }
    }
}

TEST_F(FindReplaceTest, WrongNumberLeavesTheNumberAndStops)
{
    put(0, "A", "+4915");
    put(1, "B", "+31");
    dialog(FindAction::Replace, "1", "+1", FindSelector::Number);
    ui.answers = {ReplaceAnswer::All};
    finder.find();
    EXPECT_EQ(prompter.messages, std::vector<int>{57402});
    EXPECT_EQ(prompter.icons.back(), PromptIcon::Stop);
    EXPECT_EQ(number(0), "+4915");
    EXPECT_EQ(model->entry(0).modified, 0);
    EXPECT_EQ(number(1), "+31");
    EXPECT_EQ(ui.asked, 1);
}

TEST_F(FindReplaceTest, NumbersAreReplacedThroughThePlus)
{
    put(0, "A", "0301");
    put(1, "B", "+49301");
    dialog(FindAction::Replace, "0", "+49", FindSelector::DialingCode);
    ui.answers = {ReplaceAnswer::All};
    finder.find();
    EXPECT_EQ(number(0), "+49301");
    EXPECT_EQ(model->entry(0).ton, 1);
    EXPECT_EQ(number(1), "+49301");
    EXPECT_EQ(model->entry(1).modified, 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FindReplaceTest, ReplaceAllWithTheSearchTextInTheReplacementEndsAtTheLastRow)
{
    model->setCapacity(6);
    for (int row = 0; row < 6; ++row)
        put(row, "a", "1");
    model->setSelected(2, true);
    dialog(FindAction::Replace, "A", "aa");
    ui.answers = {ReplaceAnswer::All};
    finder.find();
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(name(row), row < 2 ? "a" : "aa") << row;
    EXPECT_EQ(ui.asked, 1);
    EXPECT_TRUE(prompter.messages.empty());

    // With rows beyond the last match the search runs out silently too.
    model->setCapacity(250);
    model->clearSelection();
    dialog(FindAction::Replace, "aa", "aaa");
    ui.answers = {ReplaceAnswer::All};
    finder.find();
    EXPECT_EQ(name(5), "aaa");
    EXPECT_EQ(name(0), "a");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(app->lastFindAction(), 0);
}

TEST_F(FindReplaceTest, AnswersOfTheReplaceQuestion)
{
    for (int row = 0; row < 4; ++row)
        put(row, "Jan", "1");
    dialog(FindAction::Replace, "jan", "Jo");
    ui.answers = {ReplaceAnswer::No, ReplaceAnswer::Yes, ReplaceAnswer::Cancel};
    finder.find();
    EXPECT_EQ(name(0), "Jan");
    EXPECT_EQ(name(1), "Jo");
    EXPECT_EQ(name(2), "Jan");
    EXPECT_EQ(name(3), "Jan");
    EXPECT_EQ(ui.asked, 3);
    EXPECT_EQ(selection(), std::vector<int>{2});
    EXPECT_TRUE(prompter.messages.empty());
    // Cancel ends the command, not the remembered action.
    EXPECT_EQ(app->lastFindAction(), 2);
    ui.answers = {ReplaceAnswer::Yes, ReplaceAnswer::Cancel};
    finder.findNext();
    EXPECT_EQ(name(2), "Jo");
    EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(FindReplaceTest, ResultsAreCut)
{
    put(0, "Ann", "12");
    // 64 bytes of the result, cut before a character rather than inside it.
    const std::string longText = std::string(62, 'x') + "ř";
    dialog(FindAction::Replace, "n", longText.c_str());
    ui.answers = {ReplaceAnswer::Yes};
    finder.find();
    EXPECT_EQ(name(0), "A" + std::string(62, 'x'));

    model->clearSelection();
    dialog(FindAction::Replace, "2", std::string(70, '9').c_str(), FindSelector::Number);
    ui.answers = {ReplaceAnswer::Yes};
    prompter.messages.clear();
    finder.find();
    EXPECT_EQ(prompter.messages, std::vector<int>{57402}); // 64 characters are no number
    EXPECT_EQ(number(0), "12");
}

TEST_F(FindReplaceTest, FindNextAfterItemNotFoundRunsTheDialog)
{
    put(0, "Ann", "1");
    dialog(FindAction::Find, "zzz");
    finder.find();
    EXPECT_EQ(prompter.messages, std::vector<int>{57401});
    EXPECT_EQ(app->lastFindAction(), 0);
    dialog(FindAction::Find, "ann");
    finder.findNext();
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].findText, QStringLiteral("zzz")); // the dialog shows the stored text
    EXPECT_EQ(selection(), std::vector<int>{0});

    // Closing the dialog of Find next does nothing.
    app->setLastFindAction(0);
    finder.findNext();
    EXPECT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(selection(), std::vector<int>{0});
}

TEST_F(FindReplaceTest, LastActionIsSharedByEveryWindow)
{
    put(0, "Ann", "1");
    dialog(FindAction::Find, "ann");
    finder.find();

    PhoneBookModel other(DialBook::Fdn, *app, prompter);
    setFixedText(other.entry(7).name, "Hannah");
    other.entry(7).valid = 1;
    ScriptedFindUi otherUi;
    FindReplace otherFinder(other, otherUi);
    otherFinder.findNext();
    EXPECT_TRUE(otherUi.shown.empty());
    EXPECT_EQ(other.selectedRows(), std::vector<int>{7});
}

TEST_F(FindReplaceTest, DialogFieldsAreStoredOnlyWithAnAction)
{
    app->settings().findStr = QStringLiteral("old");
    app->settings().itemSrch = 1;
    finder.find(); // closed at once
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].findText, QStringLiteral("old"));
    EXPECT_EQ(ui.shown[0].selector, 1);
    EXPECT_FALSE(QSettings(iniPath(), QSettings::IniFormat).contains(QStringLiteral("findData/findStr")));

    // An empty search text is refused and the dialog comes again with what was typed.
    dialog(FindAction::Find, "", "r\xC3\xA9", FindSelector::Everywhere);
    dialog(FindAction::Replace, "n\xC3\xA9w", "r\xC3\xA9", FindSelector::Everywhere);
    finder.find();
    EXPECT_EQ(prompter.messages, (std::vector<int>{57400, 57401}));
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[2].replaceText, QString::fromUtf8("r\xC3\xA9"));
    QSettings stored(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("findData/findStr")).toString(), QString::fromUtf8("n\xC3\xA9w"));
    EXPECT_EQ(stored.value(QStringLiteral("findData/replStr")).toString(), QString::fromUtf8("r\xC3\xA9"));
    EXPECT_EQ(stored.value(QStringLiteral("findData/itemSrch")).toInt(), 3);

    FindRequest request;
    EXPECT_FALSE(FindReplace::acceptRequest(request, prompter));
    request.findText = QStringLiteral("x");
    EXPECT_TRUE(FindReplace::acceptRequest(request, prompter));
}

TEST_F(FindReplaceTest, FreeRowsNeverMatch)
{
    setFixedText(model->entry(3).name, "Ghost");
    put(9, "Ghostly", "1");
    dialog(FindAction::Find, "ghost");
    finder.find();
    EXPECT_EQ(selection(), std::vector<int>{9});
}

} // namespace
} // namespace kestrel::test
