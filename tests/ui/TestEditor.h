#pragma once

// A stand-in editor window for the main window's tests: it records the read mode it was created
// with, every command forwarded to it and every print, and says it holds unsaved changes when told.

#include <QMessageBox>
#include <QPointer>
#include <vector>

#include "ui/EditorWindow.h"

namespace kestrel::test {

class TestEditor final : public EditorWindow
{
public:
    TestEditor(EditorKind kind, EditorHost& host, QWidget* parent) : EditorWindow(kind, host, parent)
    {
        setObjectName(QStringLiteral("testEditor"));
    }

    void create(int number, int mode) override
    {
        setWindowNumber(number);
        readMode = mode;
        setWindowTitle(QStringLiteral("Test - [%1]").arg(number + 1));
        show();
    }
    void handleCommand(int id) override { commands.push_back(id); }
    bool hasUnsavedChanges() const override { return unsaved; }
    void printList() override { ++prints; }

    // Its own close button asks, as the real windows do while they hold changes.
    bool confirmClose() override
    {
        return !unsaved ||
               QMessageBox::question(this, QStringLiteral("Test"), QStringLiteral("Close window?")) == QMessageBox::Yes;
    }

    int readMode = -2;
    bool unsaved = false;
    int prints = 0;
    std::vector<int> commands;
};

// A factory for MainWindow::setEditorFactory that keeps the windows it made.
struct TestEditorFactory
{
    std::vector<QPointer<TestEditor>> made;

    auto function()
    {
        return [this](EditorKind kind, EditorHost& host, QWidget* parent) -> EditorWindow* {
            auto* w = new TestEditor(kind, host, parent);
            made.emplace_back(w);
            return w;
        };
    }
    int alive() const
    {
        int n = 0;
        for (const auto& w : made)
            n += w ? 1 : 0;
        return n;
    }
};

} // namespace kestrel::test
