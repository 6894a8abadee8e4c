#include "ui/MainMenus.h"

#include "app/MainCommands.h"
#include "base/StringTable.h"

namespace kestrel {

using namespace CommandId;

const std::vector<MenuDef>& mainMenus()
{
    static const std::vector<MenuDef> kMenus = {
        {strId(sid::PhoneBook_9302),
         {{kEditPhoneBook, strId(sid::EditPhoneBook_40001)},
          {kNewPhoneBook, strId(sid::NewPhoneBook_40007)},
          {kFixedDialing, strId(sid::FixedDialingNumbers_40089)},
          {kMenuSeparator, 0},
          {kPhoneBookOpenFile, strId(sid::OpenFile_40002)},
          {kPhoneBookSaveFile, strId(sid::SaveFile_40005)},
          {kPhoneBookAddFromFile, strId(sid::AddFromFile_40006)},
          {kMenuSeparator, 0},
          {kPrintPhoneBook, strId(sid::PrintPhoneBook_40096)},
          {kMenuSeparator, 0},
          {kPhoneBookWindow1, strId(sid::Window1_40201)},
          {kPhoneBookWindow1 + 1, strId(sid::Window2_40202)},
          {kPhoneBookWindow1 + 2, strId(sid::Window3_40203)},
          {kPhoneBookNext, strId(sid::PhoneBookNext_40074)},
          {kMenuSeparator, 0},
          {kCloseAll, strId(sid::CloseAll_40071)},
          {kMenuSeparator, 0},
          {kExit, strId(sid::Exit_40023)}}},
        {strId(sid::Edit_9303),
         {{kUndo, strId(sid::Undo_9800)},
          {kRedo, strId(sid::Redo_9801)},
          {kMenuSeparator, 0},
          {kInsertItem, strId(sid::InsertItem_40060)},
          {kDeleteItem, strId(sid::DeleteItem_40061)},
          {kClearSelected, strId(sid::ClearSelectedItems_9308)},
          {kMenuSeparator, 0},
          {kCut, strId(sid::Cut_40067)},
          {kCopy, strId(sid::Copy_40066)},
          {kPaste, strId(sid::Paste_40068)},
          {kMenuSeparator, 0},
          {kSelect, strId(sid::Select_40069)},
          {kSelectAll, strId(sid::SelectAll_40063)},
          {kMenuSeparator, 0},
          {kInternationalization, strId(sid::Internationalization_40079)},
          {kFindReplace, strId(sid::FindReplace_9309)}}},
        {strId(sid::Sms_9304),
         {{kEditSms, strId(sid::EditMessages_40004)},
          {kMenuSeparator, 0},
          {kSmsOpenFile, strId(sid::OpenFile_40008)},
          {kSmsSaveFile, strId(sid::SaveFile_40009)},
          {kSmsAddToFile, strId(sid::AddToFile_40010)},
          {kMenuSeparator, 0},
          {kPrintMessages, strId(sid::PrintMessages_40097)},
          {kMenuSeparator, 0},
          {kSmsWindow1, strId(sid::Window1_40301)},
          {kSmsWindow1 + 1, strId(sid::Window2_40302)},
          {kSmsWindow1 + 2, strId(sid::Window3_40303)},
          {kSmsNext, strId(sid::SmsMessagesNext_40076)},
          {kMenuSeparator, 0},
          {kSmsParameters, strId(sid::SmsParameters_40053)}}},
        {strId(sid::Pin_9305),
         {{kEnterPin, strId(sid::EnterPin_40018)},
          {kEnterPin2, strId(sid::EnterPin2_40090)},
          {kMenuSeparator, 0},
          {kChangePin, strId(sid::ChangePin_40091)},
          {kChangePin2, strId(sid::ChangePin2_40092)},
          {kMenuSeparator, 0},
          {kEnableDisablePin, strId(sid::EnableDisablePin_40099)},
          {kUnblockCard, strId(sid::UnblockCard_40087)},
          {kMenuSeparator, 0},
          {kActivateFdn, strId(sid::ActivateFdn_40093)}}},
        {strId(sid::Other_9306),
         {{kSimInformation, strId(sid::InformationAboutSim_40026)},
          {kCheckAndRepair, strId(sid::CheckAndRepairSim_40098)},
          {kMenuSeparator, 0},
          {kBackupCard, strId(sid::BackupCard_40024)},
          {kRestoreCard, strId(sid::RestoreCard_40025)},
          {kBackupCardImage, strId(sid::BackupCardImage_40120)},
          {kRestoreCardImage, strId(sid::RestoreCardImage_40121)},
          {kOpenBackupFile, strId(sid::OpenBackupFile_40078)},
          {kMenuSeparator, 0},
          {kPreferredNetworks, strId(sid::PreferredNetworks_40094)},
          {kForbiddenNetworks, strId(sid::ForbiddenNetworks_40095)},
          {kMenuSeparator, 0},
          {kCountryCodes, strId(sid::CountryCodes_40027)},
          {kTelephoneCard, strId(sid::TelephoneCard_40086)},
          {kMenuSeparator, 0},
          {kReportHeader, strId(sid::ReportHeader_40109)},
          {kPrintFont, strId(sid::PrintFont_9310)},
          {kMenuSeparator, 0},
          {kSetup, strId(sid::Setup_40021)}}},
        {strId(sid::Help_9307),
         {{kUserGuide, strId(sid::UserGuide_40122)},
          {kAbout, strId(sid::AboutKestrel_40081)},
          {kContextHelp, strId(sid::WhatsThis_9311)}}},
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
    case kUserGuide:
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
