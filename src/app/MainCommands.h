#pragma once

#include <optional>

#include "app/EditorKind.h"
#include "base/StringIds.h"

namespace kestrel {

// Command ids of the main window's menu, button bar and accelerators, and of the editor commands
// it forwards.
namespace CommandId {
// Button bar (sid::Text_2004, sid::Text_2010, sid::Text_2013 and sid::Text_2018 are separators).
inline constexpr int kFirstButton = sid::OpenFile_2001;
inline constexpr int kLastButton = sid::SimCheckAndRepair_2020;
inline constexpr int kOpenFileButton = sid::OpenFile_2001;
inline constexpr int kSaveFileButton = sid::SaveFile_2002;
inline constexpr int kPrintButton = sid::Print_2003;
inline constexpr int kEditPhoneBookButton = sid::EditPhoneBook_2005;
inline constexpr int kAnotherPhoneBook = sid::AnotherPhoneBookWindow_2006;
inline constexpr int kEditSmsButton = sid::EditSmsMessages_2007;
inline constexpr int kAnotherSms = sid::AnotherWindowForSmsMessages_2008;
inline constexpr int kEnterPinButton = sid::EnterPin_2009;
inline constexpr int kFindButton = sid::FindReplaceF7_2011;
inline constexpr int kFindNextButton = sid::FindReplaceNext_2012;
inline constexpr int kInsertButton = sid::InsertItemIns_2014;
inline constexpr int kDeleteButton = sid::DeleteItemDel_2015;
inline constexpr int kClearButton = sid::ClearSelectedItemsCtrlDel_2016;
inline constexpr int kInternationalizeButton = sid::InternationalizePhoneBook_2017;
inline constexpr int kInfoButton = sid::InformationAboutSim_2019;
inline constexpr int kCheckButton = sid::SimCheckAndRepair_2020;
// Menu.
inline constexpr int kEditPhoneBook = sid::EditPhoneBook_40001;
inline constexpr int kPhoneBookOpenFile = sid::OpenFile_40002;
inline constexpr int kEditSms = sid::EditMessages_40004;
inline constexpr int kPhoneBookSaveFile = sid::SaveFile_40005;
inline constexpr int kPhoneBookAddFromFile = sid::AddFromFile_40006;
inline constexpr int kNewPhoneBook = sid::NewPhoneBook_40007;
inline constexpr int kSmsOpenFile = sid::OpenFile_40008;
inline constexpr int kSmsSaveFile = sid::SaveFile_40009;
inline constexpr int kSmsAddToFile = sid::AddToFile_40010;
inline constexpr int kEnterPin = sid::EnterPin_40018;
inline constexpr int kSetup = sid::Setup_40021;
inline constexpr int kExit = sid::Exit_40023;
inline constexpr int kBackupCard = sid::BackupCard_40024;
inline constexpr int kRestoreCard = sid::RestoreCard_40025;
inline constexpr int kBackupCardImage = sid::BackupCardImage_40120;
inline constexpr int kRestoreCardImage = sid::RestoreCardImage_40121;
inline constexpr int kSimInformation = sid::InformationAboutSim_40026;
inline constexpr int kCountryCodes = sid::CountryCodes_40027;
inline constexpr int kSmsParameters = sid::SmsParameters_40053;
inline constexpr int kInsertItem = sid::InsertItem_40060;
inline constexpr int kDeleteItem = sid::DeleteItem_40061;
inline constexpr int kClearSelected = 40062;
inline constexpr int kSelectAll = sid::SelectAll_40063;
inline constexpr int kCopy = sid::Copy_40066;
inline constexpr int kCut = sid::Cut_40067;
inline constexpr int kPaste = sid::Paste_40068;
inline constexpr int kSelect = sid::Select_40069;
inline constexpr int kCloseAll = sid::CloseAll_40071;
inline constexpr int kPhoneBookNext = sid::PhoneBookNext_40074;
inline constexpr int kSmsNext = sid::SmsMessagesNext_40076;
inline constexpr int kOpenBackupFile = sid::OpenBackupFile_40078;
inline constexpr int kInternationalization = sid::Internationalization_40079;
inline constexpr int kAbout = sid::AboutKestrel_40081;
inline constexpr int kUserGuide = sid::UserGuide_40122;
inline constexpr int kFindReplace = 40082;
inline constexpr int kTelephoneCard = sid::TelephoneCard_40086;
inline constexpr int kUnblockCard = sid::UnblockCard_40087;
inline constexpr int kFixedDialing = sid::FixedDialingNumbers_40089;
inline constexpr int kEnterPin2 = sid::EnterPin2_40090;
inline constexpr int kChangePin = sid::ChangePin_40091;
inline constexpr int kChangePin2 = sid::ChangePin2_40092;
inline constexpr int kActivateFdn = sid::ActivateFdn_40093;
inline constexpr int kPreferredNetworks = sid::PreferredNetworks_40094;
inline constexpr int kForbiddenNetworks = sid::ForbiddenNetworks_40095;
inline constexpr int kPrintPhoneBook = sid::PrintPhoneBook_40096;
inline constexpr int kPrintMessages = sid::PrintMessages_40097;
inline constexpr int kCheckAndRepair = sid::CheckAndRepairSim_40098;
inline constexpr int kEnableDisablePin = sid::EnableDisablePin_40099;
inline constexpr int kPrintFont = 40101;
inline constexpr int kReportHeader = sid::ReportHeader_40109;
inline constexpr int kUndo = 40110;
inline constexpr int kRedo = 40111;
inline constexpr int kPhoneBookWindow1 = sid::Window1_40201; // 40201-40203
inline constexpr int kSmsWindow1 = sid::Window1_40301;       // 40301-40303
// Accelerators without a menu entry of their own.
inline constexpr int kHelp = 57670;
inline constexpr int kHelpContents = 57667;
inline constexpr int kContextHelp = 57669;
// The editor windows' own commands, as forwarded.
inline constexpr int kEditorFind = 1005;
inline constexpr int kEditorInsert = 2053;
inline constexpr int kEditorDelete = 2054;
inline constexpr int kEditorClearSelected = 2055;
inline constexpr int kEditorSelectAll = 2056;
inline constexpr int kEditorCut = sid::Cut_2057;
inline constexpr int kEditorCopy = 2058;
inline constexpr int kEditorPaste = sid::Paste_2059;
inline constexpr int kEditorSelect = 2062;
inline constexpr int kEditorInternationalize = 2063;
inline constexpr int kEditorFindNext = sid::CommandFindNext_2100;
inline constexpr int kEditorUndo = 2064;
inline constexpr int kEditorRedo = 2065;
} // namespace CommandId

// What the command rules need to know of the main window at one moment.
struct DeskSnapshot
{
    std::optional<EditorKind> active; // the active editor's kind, none without one
    int phoneBooks = 0;               // open windows of each kind
    int fdn = 0;
    int sms = 0;
    // Whether windows of a kind can be made in this program.
    bool canMakePhoneBook = false;
    bool canMakeFdn = false;
    bool canMakeSms = false;
    bool card = false; // the SimCard exists
    // The active editor has a change to undo / an undone change to redo.
    bool canUndo = false;
    bool canRedo = false;
};

// Which editor window a command wants, and what to send it once it is current.
struct EditorRequest
{
    EditorKind kind = EditorKind::PhoneBook;
    int selector = 0;       // EditorRegistry::select
    bool createNew = false; // EditorRegistry::select
    int readMode = -1;      // for a new window: 1 read the card, 2 open a file, else empty
    int thenSend = 0;       // a command for the window afterwards (0: none)
};

// The dispatch and greying rules of the main window's commands, without a window.
class MainCommands
{
public:
    // The menu command a button or accelerator stands for (sid::EditPhoneBook_2005 -> sid::EditPhoneBook_40001 ...);
    // the id itself when it has no other.
    static int canonical(int id);

    // Commands that open, cycle or create an editor window. nullopt for every other command, and
    // for "Next" when no window of the kind is open.
    static std::optional<EditorRequest> editorRequest(int id, const DeskSnapshot& desk, int autoRead);

    // The editor command that id is forwarded as to an active editor of kind `active`; 0 when the
    // command is not forwarded or there is no active editor to take it.
    static int forwardedCommand(int id, std::optional<EditorKind> active);

    // Whether the command is enabled. nullopt for commands whose state is not the desk's to decide
    // (those another part of the program supplies).
    static std::optional<bool> enabled(int id, const DeskSnapshot& desk);

    static bool isSeparator(int buttonId);
};

} // namespace kestrel
