#include "ui/MainMenus.h"

#include "app/MainCommands.h"
#include "base/StringTable.h"

namespace kestrel {

using namespace CommandId;

const std::vector<MenuDef>& mainMenus()
{
    static const std::vector<MenuDef> kMenus = {
        {strId(9302),
         {{kEditPhoneBook, strId(40001)},
          {kNewPhoneBook, strId(40007)},
          {kFixedDialing, strId(40089)},
          {kMenuSeparator, 0},
          {kPhoneBookOpenFile, strId(40002)},
          {kPhoneBookSaveFile, strId(40005)},
          {kPhoneBookAddFromFile, strId(40006)},
          {kMenuSeparator, 0},
          {kPrintPhoneBook, strId(40096)},
          {kMenuSeparator, 0},
          {kPhoneBookWindow1, strId(40201)},
          {kPhoneBookWindow1 + 1, strId(40202)},
          {kPhoneBookWindow1 + 2, strId(40203)},
          {kPhoneBookNext, strId(40074)},
          {kMenuSeparator, 0},
          {kCloseAll, strId(40071)},
          {kMenuSeparator, 0},
          {kExit, strId(40023)}}},
        {strId(9303),
         {{kUndo, strId(9800)},
          {kRedo, strId(9801)},
          {kMenuSeparator, 0},
          {kInsertItem, strId(40060)},
          {kDeleteItem, strId(40061)},
          {kClearSelected, strId(9308)},
          {kMenuSeparator, 0},
          {kCut, strId(40067)},
          {kCopy, strId(40066)},
          {kPaste, strId(40068)},
          {kMenuSeparator, 0},
          {kSelect, strId(40069)},
          {kSelectAll, strId(40063)},
          {kMenuSeparator, 0},
          {kInternationalization, strId(40079)},
          {kFindReplace, strId(9309)}}},
        {strId(9304),
         {{kEditSms, strId(40004)},
          {kMenuSeparator, 0},
          {kSmsOpenFile, strId(40008)},
          {kSmsSaveFile, strId(40009)},
          {kSmsAddToFile, strId(40010)},
          {kMenuSeparator, 0},
          {kPrintMessages, strId(40097)},
          {kMenuSeparator, 0},
          {kSmsWindow1, strId(40301)},
          {kSmsWindow1 + 1, strId(40302)},
          {kSmsWindow1 + 2, strId(40303)},
          {kSmsNext, strId(40076)},
          {kMenuSeparator, 0},
          {kSmsParameters, strId(40053)}}},
        {strId(9305),
         {{kEnterPin, strId(40018)},
          {kEnterPin2, strId(40090)},
          {kMenuSeparator, 0},
          {kChangePin, strId(40091)},
          {kChangePin2, strId(40092)},
          {kMenuSeparator, 0},
          {kEnableDisablePin, strId(40099)},
          {kUnblockCard, strId(40087)},
          {kMenuSeparator, 0},
          {kActivateFdn, strId(40093)}}},
        {strId(9306),
         {{kSimInformation, strId(40026)},
          {kCheckAndRepair, strId(40098)},
          {kMenuSeparator, 0},
          {kBackupCard, strId(40024)},
          {kRestoreCard, strId(40025)},
          {kOpenBackupFile, strId(40078)},
          {kMenuSeparator, 0},
          {kPreferredNetworks, strId(40094)},
          {kForbiddenNetworks, strId(40095)},
          {kMenuSeparator, 0},
          {kCountryCodes, strId(40027)},
          {kTelephoneCard, strId(40086)},
          {kMenuSeparator, 0},
          {kReportHeader, strId(40109)},
          {kPrintFont, strId(9310)},
          {kMenuSeparator, 0},
          {kSetup, strId(40021)}}},
        {strId(9307), {{kAbout, strId(40081)}, {kContextHelp, strId(9311)}}},
    };
    return kMenus;
}

namespace {

// Qt's keys of a standard action, with those a Linux user expects that the platform theme may
// lack put behind them.
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, std::initializer_list<QKeySequence> expected)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    for (const QKeySequence& k : expected) {
        if (!keys.contains(k))
            keys.append(k);
    }
    return keys;
}

// The main window's commands whose keys the editor lists take too, with the editor command.
struct SharedKeys
{
    int mainId;
    int editorId;
};
constexpr SharedKeys kSharedKeys[] = {
    {kInsertItem, kEditorInsert},   {kDeleteItem, kEditorDelete}, {kClearSelected, kEditorClearSelected},
    {kSelectAll, kEditorSelectAll}, {kCut, kEditorCut},           {kCopy, kEditorCopy},
    {kPaste, kEditorPaste},         {kUndo, kEditorUndo},         {kRedo, kEditorRedo},
};

} // namespace

QList<QKeySequence> acceleratorsOf(int id)
{
    switch (id) {
    case kSelectAll:
        return standardKeys(QKeySequence::SelectAll, {QKeySequence(Qt::CTRL | Qt::Key_A)});
    case kDeleteItem:
        return {QKeySequence(Qt::Key_Delete)};
    case kClearSelected:
        return {QKeySequence(Qt::CTRL | Qt::Key_Delete)};
    case kFindReplace:
        return {QKeySequence(Qt::Key_F7)};
    case kInsertItem:
        return {QKeySequence(Qt::Key_Insert)};
    case kCut:
        return standardKeys(QKeySequence::Cut, {QKeySequence(Qt::CTRL | Qt::Key_X)});
    case kCopy:
        return standardKeys(QKeySequence::Copy, {QKeySequence(Qt::CTRL | Qt::Key_C)});
    case kPaste:
        return standardKeys(QKeySequence::Paste, {QKeySequence(Qt::CTRL | Qt::Key_V)});
    case kUndo:
        return standardKeys(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    case kRedo:
        return standardKeys(QKeySequence::Redo,
                            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The commands a newcomer starts with (the main window's state panel shows them).
    case kEditPhoneBook:
        return {QKeySequence(Qt::CTRL | Qt::Key_E)};
    case kEditSms:
        return {QKeySequence(Qt::CTRL | Qt::Key_M)};
    case kBackupCard:
        return {QKeySequence(Qt::CTRL | Qt::Key_B)};
    case kContextHelp:
        return {QKeySequence(Qt::SHIFT | Qt::Key_F1)};
    case kHelp:
        return {QKeySequence(Qt::Key_F1)};
    case kHelpContents:
        return {QKeySequence(Qt::CTRL | Qt::Key_F1)};
    default:
        return {};
    }
}

QKeySequence acceleratorOf(int id)
{
    const QList<QKeySequence> keys = acceleratorsOf(id);
    return keys.isEmpty() ? QKeySequence() : keys.front();
}

QList<QKeySequence> editorKeysOf(int editorCommand)
{
    for (const SharedKeys& shared : kSharedKeys) {
        if (shared.editorId == editorCommand)
            return acceleratorsOf(shared.mainId);
    }
    return {};
}

} // namespace kestrel
