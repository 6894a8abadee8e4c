#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/EditorKind.h"
#include "app/EditorRegistry.h"

namespace kestrel {

class Prompter;

// The main window's bookkeeping of its editor windows: the phone book, fixed-dialling-number and
// SMS registries and the active editor (the one most recently activated).
class EditorDesk
{
public:
    EditorDesk();

    EditorRegistry& registry(EditorKind kind);
    const EditorRegistry& registry(EditorKind kind) const;
    std::optional<EditorKind> kindOf(EditorHandle window) const;

    EditorHandle active() const { return m_active; }
    std::optional<EditorKind> activeKind() const { return kindOf(m_active); }

    // An editor window became active: slot 0 of its registry, the active editor. False for a
    // window no registry holds.
    bool activated(EditorHandle window);
    // An editor window went away. Returns the window of the same kind to activate now (the new
    // current one), null when none is left or the window was unknown.
    EditorHandle closed(EditorHandle window);

    // Every open window in the order closing them all takes: phone book windows, then the
    // fixed-dialling-number window, then the SMS windows.
    std::vector<EditorHandle> closeOrder() const;
    int openCount() const;

    // Whether the open windows may all go (Close All, Exit, the main window's close box, the end of
    // the session): true at once when none holds unwritten changes, else after one question
    // (sid::ByClosingTheseWindowsYou_57840) answered Yes. Asks at most once, whatever the number of changed windows.
    bool mayCloseAll(const std::function<bool(EditorHandle)>& hasUnsavedChanges, Prompter& prompter) const;

private:
    EditorRegistry m_phoneBooks{EditorRegistry::kMaxSlots};
    EditorRegistry m_fdn{1};
    EditorRegistry m_sms{EditorRegistry::kMaxSlots};
    EditorHandle m_active = nullptr;
};

} // namespace kestrel
