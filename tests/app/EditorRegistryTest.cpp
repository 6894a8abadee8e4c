#include "app/EditorDesk.h"
#include "app/EditorRegistry.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"

namespace kestrel {
namespace {

// Three stand-in windows; window k is always opened with number k unless a case says otherwise.
std::array<int, 4> g_windows{};

EditorHandle win(int k)
{
    return &g_windows[static_cast<std::size_t>(k)];
}

int indexOf(EditorHandle h)
{
    for (int k = 0; k < 4; ++k) {
        if (win(k) == h)
            return k;
    }
    return -1;
}

// Registers windows so that `slotOrder` (window indices, slot 0 first) is the slot order.
EditorRegistry registryWith(const std::vector<int>& slotOrder, int capacity = 3)
{
    EditorRegistry r(capacity);
    for (auto it = slotOrder.rbegin(); it != slotOrder.rend(); ++it)
        EXPECT_TRUE(r.add(win(*it), *it));
    return r;
}

std::vector<int> order(const EditorRegistry& r)
{
    std::vector<int> out;
    for (const EditorHandle h : r.windows())
        out.push_back(indexOf(h));
    return out;
}

TEST(EditorRegistry, SelectCyclesPicksOrAsksForAWindow)
{
    struct Case
    {
        const char* what;
        std::vector<int> slotOrder;
        int capacity;
        int active; // -1: no active editor
        int selector;
        bool createNew;
        int createNumber;       // expected; -1: nothing to create
        int current;            // expected window index when nothing is created (-1: none)
        std::vector<int> after; // slot order afterwards
    };
    const std::vector<Case> cases = {
        {"none open: plain select creates", {}, 3, -1, 0, false, 0, -1, {}},
        {"none open: Next creates", {}, 3, -1, 1, false, 0, -1, {}},
        {"none open: Window 2 creates number 1", {}, 3, -1, 101, false, 1, -1, {}},
        {"one open: createNew takes the next number", {0}, 3, 0, 0, true, 1, -1, {0}},
        {"two open: createNew takes the lowest free", {1, 0}, 3, 1, 0, true, 2, -1, {1, 0}},
        {"gap: createNew fills it", {2, 0}, 3, 2, 0, true, 1, -1, {2, 0}},
        {"three open: createNew only returns the current", {0, 1, 2}, 3, 0, 0, true, -1, 0, {0, 1, 2}},
        {"Next while the current is active", {0, 1, 2}, 3, 0, 1, false, -1, 1, {1, 2, 0}},
        {"Next while another editor is active", {0, 1, 2}, 3, -1, 1, false, -1, 0, {0, 1, 2}},
        {"Next with one window", {0}, 3, 0, 1, false, -1, 0, {0}},
        {"Window 3 open: it becomes current", {0, 1, 2}, 3, 0, 102, false, -1, 2, {2, 0, 1}},
        {"Window 2 closed: chosen again, created as number 1", {0, 2}, 3, 0, 101, false, 1, -1, {0, 2}},
        {"Window 3 asked with one open: created as number 2", {0}, 3, 0, 102, false, 2, -1, {0}},
        {"single slot: no second window", {0}, 1, 0, 0, true, -1, 0, {0}},
        {"single slot: a window number past it", {0}, 1, 0, 101, false, -1, 0, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorRegistry r = registryWith(c.slotOrder, c.capacity);
        const EditorRegistry::Selection s = r.select(c.selector, c.createNew, c.active < 0 ? nullptr : win(c.active));
        EXPECT_EQ(s.createNumber, c.createNumber);
        if (c.createNumber < 0)
            EXPECT_EQ(indexOf(s.current), c.current);
        else
            EXPECT_EQ(s.current, nullptr);
        EXPECT_EQ(order(r), c.after);
    }
}

TEST(EditorRegistry, AddActivateAndRemoveKeepTheMostRecentlyUsedOrder)
{
    EditorRegistry r(3);
    EXPECT_TRUE(r.add(win(0), 0));
    EXPECT_TRUE(r.add(win(1), 1));
    EXPECT_TRUE(r.add(win(2), 2));
    EXPECT_EQ(order(r), (std::vector<int>{2, 1, 0})); // each new window goes to slot 0
    EXPECT_EQ(r.current(), win(2));

    EXPECT_TRUE(r.activated(win(0)));
    EXPECT_EQ(order(r), (std::vector<int>{0, 2, 1}));

    EXPECT_TRUE(r.remove(win(2)));
    EXPECT_EQ(order(r), (std::vector<int>{0, 1}));
    EXPECT_EQ(r.numberOf(win(2)), -1);
    EXPECT_EQ(r.windowNumbered(2), nullptr);
    EXPECT_EQ(r.lowestFreeNumber(), 2);
    EXPECT_FALSE(r.remove(win(2)));
    EXPECT_FALSE(r.activated(win(3)));

    EXPECT_TRUE(r.remove(win(0)));
    EXPECT_EQ(r.current(), win(1));
    EXPECT_TRUE(r.remove(win(1)));
    EXPECT_EQ(r.current(), nullptr);
    EXPECT_EQ(r.count(), 0);
}

TEST(EditorRegistry, AddRefusesWhatWouldBreakTheSlots)
{
    EditorRegistry r(3);
    ASSERT_TRUE(r.add(win(0), 0));
    EXPECT_FALSE(r.add(win(0), 1)) << "registered already";
    EXPECT_FALSE(r.add(win(1), 0)) << "number taken";
    EXPECT_FALSE(r.add(win(1), 3)) << "number out of range";
    EXPECT_FALSE(r.add(win(1), -1));
    EXPECT_FALSE(r.add(nullptr, 1));
    ASSERT_TRUE(r.add(win(1), 1));
    ASSERT_TRUE(r.add(win(2), 2));
    EXPECT_FALSE(r.add(win(3), 0)) << "full";
    EXPECT_TRUE(r.full());
    EXPECT_EQ(r.lowestFreeNumber(), -1);

    EditorRegistry fdn(1);
    ASSERT_TRUE(fdn.add(win(0), 0));
    EXPECT_FALSE(fdn.add(win(1), 1));
}

TEST(EditorDesk, ActiveEditorClosingAndCloseOrder)
{
    EditorDesk desk;
    EditorRegistry& books = desk.registry(EditorKind::PhoneBook);
    ASSERT_TRUE(books.add(win(0), 0));
    ASSERT_TRUE(books.add(win(1), 1));
    ASSERT_TRUE(desk.registry(EditorKind::Sms).add(win(2), 0));
    ASSERT_TRUE(desk.registry(EditorKind::Fdn).add(win(3), 0));

    EXPECT_FALSE(desk.activated(nullptr));
    EXPECT_TRUE(desk.activated(win(0)));
    EXPECT_EQ(desk.activeKind(), EditorKind::PhoneBook);
    EXPECT_EQ(books.current(), win(0));
    EXPECT_TRUE(desk.activated(win(2)));
    EXPECT_EQ(desk.activeKind(), EditorKind::Sms);
    EXPECT_EQ(desk.kindOf(win(3)), EditorKind::Fdn);

    // Phone book windows in slot order, then the FDN window, then the SMS windows.
    std::vector<int> closing;
    for (const EditorHandle h : desk.closeOrder())
        closing.push_back(indexOf(h));
    EXPECT_EQ(closing, (std::vector<int>{0, 1, 3, 2}));
    EXPECT_EQ(desk.openCount(), 4);

    // Closing the active SMS window: no active editor, and no SMS window to activate.
    EXPECT_EQ(desk.closed(win(2)), nullptr);
    EXPECT_EQ(desk.active(), nullptr);
    // Closing a phone book window that is not active leaves the active editor alone and names
    // the remaining phone book window.
    ASSERT_TRUE(desk.activated(win(3)));
    EXPECT_EQ(desk.closed(win(0)), win(1));
    EXPECT_EQ(desk.active(), win(3));
    EXPECT_EQ(desk.closed(win(0)), nullptr) << "unknown by now";
    EXPECT_EQ(desk.openCount(), 2);
}

// The one question before all windows go: none while no window holds changes (nor with no window
// at all), once however many do, and only Yes lets them go.
TEST(EditorDesk, MayCloseAllAsksOnceOnlyWhenAWindowHoldsChanges)
{
    EditorDesk desk;
    ASSERT_TRUE(desk.registry(EditorKind::PhoneBook).add(win(0), 0));
    ASSERT_TRUE(desk.registry(EditorKind::PhoneBook).add(win(1), 1));
    ASSERT_TRUE(desk.registry(EditorKind::Sms).add(win(2), 0));
    struct Case
    {
        std::vector<int> changed;
        std::optional<PromptAnswer> answer; // none: no question may come
        bool mayClose;
    } cases[] = {
        {{}, std::nullopt, true},          {{2}, PromptAnswer::Yes, true},     {{0, 1, 2}, PromptAnswer::Yes, true},
        {{0, 2}, PromptAnswer::No, false}, {{1}, PromptAnswer::Cancel, false},
    };
    for (const Case& c : cases) {
        test::ScriptedPrompter prompter;
        prompter.answers = {c.answer.value_or(PromptAnswer::Yes), PromptAnswer::Yes};
        const auto changed = [&c](EditorHandle h) {
            return std::find(c.changed.begin(), c.changed.end(), indexOf(h)) != c.changed.end();
        };
        EXPECT_EQ(desk.mayCloseAll(changed, prompter), c.mayClose) << c.changed.size();
        EXPECT_EQ(prompter.questions, c.answer ? std::vector<int>{57840} : std::vector<int>{}) << c.changed.size();
    }
    test::ScriptedPrompter prompter;
    EXPECT_TRUE(EditorDesk().mayCloseAll([](EditorHandle) { return true; }, prompter));
    EXPECT_TRUE(prompter.questions.empty());
}

} // namespace
} // namespace kestrel
