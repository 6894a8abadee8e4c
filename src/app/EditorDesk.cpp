#include "app/EditorDesk.h"

#include <algorithm>

#include "app/Prompter.h"
#include "base/StringTable.h"

namespace kestrel {

EditorDesk::EditorDesk() = default;

EditorRegistry& EditorDesk::registry(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Fdn:
        return m_fdn;
    case EditorKind::Sms:
        return m_sms;
    case EditorKind::PhoneBook:
        break;
    }
    return m_phoneBooks;
}

const EditorRegistry& EditorDesk::registry(EditorKind kind) const
{
    return const_cast<EditorDesk*>(this)->registry(kind);
}

std::optional<EditorKind> EditorDesk::kindOf(EditorHandle window) const
{
    for (const EditorKind kind : {EditorKind::PhoneBook, EditorKind::Fdn, EditorKind::Sms}) {
        if (registry(kind).contains(window))
            return kind;
    }
    return std::nullopt;
}

bool EditorDesk::activated(EditorHandle window)
{
    const std::optional<EditorKind> kind = kindOf(window);
    if (!kind)
        return false;
    registry(*kind).activated(window);
    m_active = window;
    return true;
}

EditorHandle EditorDesk::closed(EditorHandle window)
{
    const std::optional<EditorKind> kind = kindOf(window);
    if (!kind)
        return nullptr;
    EditorRegistry& reg = registry(*kind);
    reg.remove(window);
    if (m_active == window)
        m_active = nullptr;
    return reg.current();
}

std::vector<EditorHandle> EditorDesk::closeOrder() const
{
    std::vector<EditorHandle> out;
    for (const EditorKind kind : {EditorKind::PhoneBook, EditorKind::Fdn, EditorKind::Sms}) {
        const std::vector<EditorHandle> windows = registry(kind).windows();
        out.insert(out.end(), windows.begin(), windows.end());
    }
    return out;
}

int EditorDesk::openCount() const
{
    return m_phoneBooks.count() + m_fdn.count() + m_sms.count();
}

bool EditorDesk::mayCloseAll(const std::function<bool(EditorHandle)>& hasUnsavedChanges, Prompter& prompter) const
{
    const std::vector<EditorHandle> windows = closeOrder();
    if (std::none_of(windows.begin(), windows.end(), hasUnsavedChanges))
        return true;
    return prompter.question(strId(sid::ByClosingTheseWindowsYou_57840), PromptButtons::YesNo, PromptIcon::Question) ==
           PromptAnswer::Yes;
}

} // namespace kestrel
