#pragma once

#include <optional>

#include "app/EditorKind.h"

namespace kestrel {

// Command ids of the main window's menu, button bar and accelerators, and of the editor commands
// it forwards.
namespace CommandId {
// Button bar (2004, 2010, 2013 and 2018 are separators).
inline constexpr int kFirstButton = 2001;
inline constexpr int kLastButton = 2020;
inline constexpr int kOpenFileButton = 2001;
inline constexpr int kSaveFileButton = 2002;
inline constexpr int kPrintButton = 2003;
inline constexpr int kEditPhoneBookButton = 2005;
inline constexpr int kAnotherPhoneBook = 2006;
inline constexpr int kEditSmsButton = 2007;
inline constexpr int kAnotherSms = 2008;
inline constexpr int kEnterPinButton = 2009;
inline constexpr int kFindButton = 2011;
inline constexpr int kFindNextButton = 2012;
inline constexpr int kInsertButton = 2014;
inline constexpr int kDeleteButton = 2015;
inline constexpr int kClearButton = 2016;
inline constexpr int kInternationalizeButton = 2017;
inline constexpr int kInfoButton = 2019;
inline constexpr int kCheckButton = 2020;
// Menu.
inline constexpr int kEditPhoneBook = 40001;
inline constexpr int kPhoneBookOpenFile = 40002;
inline constexpr int kEditSms = 40004;
inline constexpr int kPhoneBookSaveFile = 40005;
inline constexpr int kPhoneBookAddFromFile = 40006;
inline constexpr int kNewPhoneBook = 40007;
inline constexpr int kSmsOpenFile = 40008;
inline constexpr int kSmsSaveFile = 40009;
inline constexpr int kSmsAddToFile = 40010;
inline constexpr int kEnterPin = 40018;
inline constexpr int kSetup = 40021;
inline constexpr int kExit = 40023;
inline constexpr int kBackupCard = 40024;
inline constexpr int kRestoreCard = 40025;
inline constexpr int kSimInformation = 40026;
inline constexpr int kCountryCodes = 40027;
inline constexpr int kSmsParameters = 40053;
inline constexpr int kInsertItem = 40060;
inline constexpr int kDeleteItem = 40061;
inline constexpr int kClearSelected = 40062;
inline constexpr int kSelectAll = 40063;
inline constexpr int kCopy = 40066;
inline constexpr int kCut = 40067;
inline constexpr int kPaste = 40068;
inline constexpr int kSelect = 40069;
inline constexpr int kCloseAll = 40071;
inline constexpr int kPhoneBookNext = 40074;
inline constexpr int kSmsNext = 40076;
inline constexpr int kOpenBackupFile = 40078;
inline constexpr int kInternationalization = 40079;
inline constexpr int kAbout = 40081;
inline constexpr int kFindReplace = 40082;
inline constexpr int kTelephoneCard = 40086;
inline constexpr int kUnblockCard = 40087;
inline constexpr int kFixedDialing = 40089;
inline constexpr int kEnterPin2 = 40090;
inline constexpr int kChangePin = 40091;
inline constexpr int kChangePin2 = 40092;
inline constexpr int kActivateFdn = 40093;
inline constexpr int kPreferredNetworks = 40094;
inline constexpr int kForbiddenNetworks = 40095;
inline constexpr int kPrintPhoneBook = 40096;
inline constexpr int kPrintMessages = 40097;
inline constexpr int kCheckAndRepair = 40098;
inline constexpr int kEnableDisablePin = 40099;
inline constexpr int kPrintFont = 40101;
inline constexpr int kReportHeader = 40109;
inline constexpr int kUndo = 40110;
inline constexpr int kRedo = 40111;
inline constexpr int kPhoneBookWindow1 = 40201; // 40201-40203
inline constexpr int kSmsWindow1 = 40301;       // 40301-40303
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
inline constexpr int kEditorCut = 2057;
inline constexpr int kEditorCopy = 2058;
inline constexpr int kEditorPaste = 2059;
inline constexpr int kEditorSelect = 2062;
inline constexpr int kEditorInternationalize = 2063;
inline constexpr int kEditorFindNext = 2100;
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
    // The menu command a button or accelerator stands for (2005 -> 40001 ...); the id itself when
    // it has no other.
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
