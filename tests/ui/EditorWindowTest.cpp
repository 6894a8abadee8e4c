#include "ui/EditorWindow.h"

#include <vector>

#include "GuiTest.h"

namespace kestrel {
namespace {

class RecordingHost : public EditorHost
{
public:
    AppState& state() override { std::abort(); }
    Prompter& prompter() override { std::abort(); }
    void OnEditorActivated(EditorWindow* w) override { activated.push_back(w); }
    void OnEditorClosed(EditorWindow* w) override { closed.push_back(w); }
    std::vector<EditorWindow*> activated;
    std::vector<EditorWindow*> closed;
};

class PlainEditor : public EditorWindow
{
public:
    PlainEditor(EditorHost& host, bool unsaved) : EditorWindow(EditorKind::PhoneBook, host, nullptr), m_unsaved(unsaved)
    {}
    void create(int number, int) override { setWindowNumber(number); }
    void handleCommand(int) override {}
    bool hasUnsavedChanges() const override { return m_unsaved; }
    void printList() override {}
    bool allowClose = false;

protected:
    bool confirmClose() override { return allowClose; }

private:
    bool m_unsaved;
};

using EditorWindowTest = test::GuiTest;

TEST_F(EditorWindowTest, ClosingReportsOnceAndARefusedCloseKeepsTheWindow)
{
    RecordingHost host;
    auto* w = new PlainEditor(host, true);
    w->create(1, -1);
    w->show();
    EXPECT_FALSE(w->close()); // its own question said No
    EXPECT_TRUE(host.closed.empty());
    w->closeWithoutAsking(); // deletes itself (WA_DeleteOnClose) once the event loop runs
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(host.closed.size(), 1U);
    EXPECT_EQ(host.closed[0], w);
}

} // namespace
} // namespace kestrel
