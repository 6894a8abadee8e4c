#pragma once

// An EditorHost for window tests: an AppState over an INI settings file of the test's own, a
// ScriptedPrompter, and the activations and closings the windows report.

#include <map>
#include <memory>
#include <vector>

#include <QSettings>

#include "ScriptedPrompter.h"
#include "app/AppState.h"
#include "ui/EditorWindow.h"

namespace kestrel::test {

class TestEditorHost final : public EditorHost
{
public:
    explicit TestEditorHost(const QString& settingsFile)
        : app(std::make_unique<QSettings>(settingsFile, QSettings::IniFormat))
    {}

    AppState& state() override { return app; }
    Prompter& prompter() override { return prompts; }
    void OnEditorActivated(EditorWindow* w) override { activated.push_back(w); }
    void OnEditorClosed(EditorWindow* w) override { closed.push_back(w); }
    EditorWindow* currentEditor(EditorKind kind) const override
    {
        const auto it = current.find(kind);
        return it == current.end() ? nullptr : it->second;
    }

    AppState app;
    ScriptedPrompter prompts;
    std::vector<EditorWindow*> activated;
    std::vector<EditorWindow*> closed;
    // What currentEditor answers.
    std::map<EditorKind, EditorWindow*> current;
};

} // namespace kestrel::test
