#include "app/MainCommands.h"

#include <array>
#include <utility>

#include "app/EditorRegistry.h"
#include "base/StringIds.h"

namespace kestrel {

using namespace CommandId;

namespace {

bool isList(std::optional<EditorKind> kind)
{
    return kind == EditorKind::PhoneBook || kind == EditorKind::Fdn;
}

// Opens the current window of a kind, or a first one read as autoRead says.
EditorRequest editOrCreate(EditorKind kind, int open, int autoRead)
{
    if (open > 0)
        return EditorRequest{kind, EditorRegistry::kNext, false, -1, 0};
    return EditorRequest{kind, EditorRegistry::kNoCycling, true, autoRead, 0};
}

EditorRequest another(EditorKind kind, int open, int autoRead)
{
    return EditorRequest{kind, EditorRegistry::kNoCycling, true, open > 0 ? -1 : autoRead, 0};
}

EditorRequest numbered(EditorKind kind, int number, int open, int autoRead)
{
    return EditorRequest{kind, EditorRegistry::kWindowNumber + number, false, open > 0 ? -1 : autoRead, 0};
}

// The current window of a kind (created empty when there is none), then the command.
EditorRequest currentThen(EditorKind kind, int command)
{
    return EditorRequest{kind, EditorRegistry::kNoCycling, false, -1, command};
}

} // namespace

int MainCommands::canonical(int id)
{
    static constexpr std::array<std::pair<int, int>, 11> kSame = {{
        {kEditPhoneBookButton, kEditPhoneBook},
        {kAnotherPhoneBook, kNewPhoneBook},
        {kEditSmsButton, kEditSms},
        {kEnterPinButton, kEnterPin},
        {kFindButton, kFindReplace},
        {kInsertButton, kInsertItem},
        {kDeleteButton, kDeleteItem},
        {kClearButton, kClearSelected},
        {kInternationalizeButton, kInternationalization},
        {kInfoButton, kSimInformation},
        {kCheckButton, kCheckAndRepair},
    }};
    for (const auto& [button, menu] : kSame) {
        if (button == id)
            return menu;
    }
    return id;
}

std::optional<EditorRequest> MainCommands::editorRequest(int id, const DeskSnapshot& desk, int autoRead)
{
    id = canonical(id);
    if (id >= kPhoneBookWindow1 && id < kPhoneBookWindow1 + 3)
        return numbered(EditorKind::PhoneBook, id - kPhoneBookWindow1, desk.phoneBooks, autoRead);
    if (id >= kSmsWindow1 && id < kSmsWindow1 + 3)
        return numbered(EditorKind::Sms, id - kSmsWindow1, desk.sms, autoRead);
    switch (id) {
    case kEditPhoneBook:
        return editOrCreate(EditorKind::PhoneBook, desk.phoneBooks, autoRead);
    case kNewPhoneBook:
        return another(EditorKind::PhoneBook, desk.phoneBooks, autoRead);
    case kFixedDialing:
        return editOrCreate(EditorKind::Fdn, desk.fdn, autoRead);
    case kEditSms:
        return editOrCreate(EditorKind::Sms, desk.sms, autoRead);
    case kAnotherSms:
        return another(EditorKind::Sms, desk.sms, autoRead);
    case kPhoneBookNext:
        if (desk.phoneBooks == 0)
            return std::nullopt;
        return EditorRequest{EditorKind::PhoneBook, EditorRegistry::kNext, false, -1, 0};
    case kSmsNext:
        if (desk.sms == 0)
            return std::nullopt;
        return EditorRequest{EditorKind::Sms, EditorRegistry::kNext, false, -1, 0};
    case kPhoneBookOpenFile:
    case kPhoneBookAddFromFile:
        return currentThen(EditorKind::PhoneBook, id);
    case kSmsOpenFile:
    case kSmsSaveFile:
    case kSmsAddToFile:
        return currentThen(EditorKind::Sms, id);
    default:
        return std::nullopt;
    }
}

int MainCommands::forwardedCommand(int id, std::optional<EditorKind> active)
{
    if (!active)
        return 0;
    const bool sms = *active == EditorKind::Sms;
    switch (canonical(id)) {
    case kInsertItem:
        return kEditorInsert;
    case kDeleteItem:
        return kEditorDelete;
    case kClearSelected:
        return kEditorClearSelected;
    case kCopy:
        return kEditorCopy;
    case kCut:
        return kEditorCut;
    case kPaste:
        return kEditorPaste;
    case kSelect:
        return kEditorSelect;
    case kSelectAll:
        return kEditorSelectAll;
    case kInternationalization:
        return kEditorInternationalize;
    case kFindReplace:
        return kEditorFind;
    case kFindNextButton:
        return kEditorFindNext;
    case kUndo:
        return kEditorUndo;
    case kRedo:
        return kEditorRedo;
    case kPhoneBookSaveFile:
    case kSaveFileButton:
        return sms ? kSmsSaveFile : kPhoneBookSaveFile;
    case kOpenFileButton:
        return sms ? kSmsOpenFile : kPhoneBookOpenFile;
    default:
        return 0;
    }
}

std::optional<bool> MainCommands::enabled(int id, const DeskSnapshot& desk)
{
    const bool any = desk.active.has_value();
    const bool list = isList(desk.active);
    const bool sms = desk.active == EditorKind::Sms;
    if (id >= kPhoneBookWindow1 && id < kPhoneBookWindow1 + 3)
        return desk.canMakePhoneBook;
    if (id >= kSmsWindow1 && id < kSmsWindow1 + 3)
        return desk.canMakeSms;
    switch (id) {
    // With an SMS window active the list-only buttons are off.
    case kSaveFileButton:
    case kPrintButton:
    case kInsertButton:
    case kDeleteButton:
    case kClearButton:
        return any;
    case kFindButton:
    case kFindNextButton:
    case kInternationalizeButton:
        return list;
    case kPhoneBookSaveFile:
    case kPrintPhoneBook:
    case kInternationalization:
    case kFindReplace:
        return list;
    case kSmsSaveFile:
    case kSmsAddToFile:
        return sms;
    case kInsertItem:
    case kDeleteItem:
    case kClearSelected:
    case kSelectAll:
    case kCopy:
    case kCut:
    case kPaste:
    case kSelect:
        return any;
    case kUndo:
        return any && desk.canUndo;
    case kRedo:
        return any && desk.canRedo;
    case kPrintMessages:
    case kSmsNext:
        return desk.sms > 0;
    case kPhoneBookNext:
        return desk.phoneBooks > 0;
    case kNewPhoneBook:
    case kAnotherPhoneBook:
        return desk.canMakePhoneBook && desk.phoneBooks < EditorRegistry::kMaxSlots;
    case kAnotherSms:
        return desk.canMakeSms && desk.sms < EditorRegistry::kMaxSlots;
    case kCloseAll:
        return desk.phoneBooks + desk.fdn + desk.sms > 0;
    case kEditPhoneBook:
    case kEditPhoneBookButton:
    case kPhoneBookOpenFile:
    case kPhoneBookAddFromFile:
        return desk.canMakePhoneBook;
    case kFixedDialing:
        return desk.canMakeFdn;
    case kEditSms:
    case kEditSmsButton:
    case kSmsOpenFile:
        return desk.canMakeSms;
    case kOpenFileButton:
        return any || desk.canMakePhoneBook || desk.canMakeSms;
    case kEnterPin:
    case kEnterPinButton:
    case kEnterPin2:
    case kChangePin:
    case kChangePin2:
    case kEnableDisablePin:
    case kUnblockCard:
    case kActivateFdn:
        return desk.card;
    case kExit:
    case kAbout:
    case kUserGuide:
    case kHelp:
    case kHelpContents:
    case kContextHelp:
        return true;
    default:
        return std::nullopt;
    }
}

bool MainCommands::isSeparator(int buttonId)
{
    return buttonId == sid::Text_2004 || buttonId == sid::Text_2010 || buttonId == sid::Text_2013 ||
           buttonId == sid::Text_2018;
}

} // namespace kestrel
