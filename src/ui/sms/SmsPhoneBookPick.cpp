#include "ui/sms/SmsPhoneBookPick.h"

#include "ui/EditorWindow.h"
#include "ui/phonebook/PhoneBookWindow.h"

namespace kestrel {

namespace {

PhoneBookWindow* currentPhoneBook(const EditorHost& host)
{
    return qobject_cast<PhoneBookWindow*>(host.currentEditor(EditorKind::PhoneBook));
}

} // namespace

PhoneBookPick currentPhoneBookPick(EditorHost& host)
{
    if (!currentPhoneBook(host))
        return {};
    return [&host]() -> std::optional<DialEntry> {
        // The window may have gone or changed since the dialog opened.
        PhoneBookWindow* window = currentPhoneBook(host);
        if (!window)
            return std::nullopt;
        const PhoneBookModel& book = window->model();
        for (const int row : book.selectedRows()) {
            if (book.entry(row).valid != 0)
                return book.entry(row);
        }
        return std::nullopt;
    };
}

} // namespace kestrel
