#include "app/MainCommands.h"

#include <vector>

#include <gtest/gtest.h>

#include "app/EditorRegistry.h"

namespace kestrel {
namespace {

using namespace CommandId;

DeskSnapshot desk(std::optional<EditorKind> active, int books, int fdn, int sms)
{
    DeskSnapshot d;
    d.active = active;
    d.phoneBooks = books;
    d.fdn = fdn;
    d.sms = sms;
    d.canMakePhoneBook = d.canMakeFdn = d.canMakeSms = true;
    d.card = true;
    return d;
}

TEST(MainCommands, EditorRequestsOfTheWindowCommands)
{
    constexpr int kAutoRead = 1;
    struct Case
    {
        int id;
        int books;
        int sms;
        EditorKind kind;
        int selector;
        bool createNew;
        int readMode;
        int thenSend;
    };
    const std::vector<Case> cases = {
        // Edit Phone Book: cycle when one exists, else a first window read as autoRead says.
        {kEditPhoneBook, 0, 0, EditorKind::PhoneBook, 0, true, kAutoRead, 0},
        {kEditPhoneBookButton, 2, 0, EditorKind::PhoneBook, EditorRegistry::kNext, false, -1, 0},
        // New Phone Book: always a further window, empty unless it is the first.
        {kNewPhoneBook, 0, 0, EditorKind::PhoneBook, 0, true, kAutoRead, 0},
        {kAnotherPhoneBook, 1, 0, EditorKind::PhoneBook, 0, true, -1, 0},
        {kFixedDialing, 0, 0, EditorKind::Fdn, 0, true, kAutoRead, 0},
        {kEditSms, 0, 1, EditorKind::Sms, EditorRegistry::kNext, false, -1, 0},
        {kEditSmsButton, 0, 0, EditorKind::Sms, 0, true, kAutoRead, 0},
        {kAnotherSms, 0, 2, EditorKind::Sms, 0, true, -1, 0},
        // Window n of a menu.
        {kPhoneBookWindow1 + 1, 0, 0, EditorKind::PhoneBook, 101, false, kAutoRead, 0},
        {kPhoneBookWindow1 + 2, 1, 0, EditorKind::PhoneBook, 102, false, -1, 0},
        {kSmsWindow1, 0, 3, EditorKind::Sms, 100, false, -1, 0},
        {kPhoneBookNext, 2, 0, EditorKind::PhoneBook, EditorRegistry::kNext, false, -1, 0},
        {kSmsNext, 0, 1, EditorKind::Sms, EditorRegistry::kNext, false, -1, 0},
        // File commands: the current window of the kind (an empty one when none), then the command.
        {kPhoneBookOpenFile, 0, 0, EditorKind::PhoneBook, 0, false, -1, kPhoneBookOpenFile},
        {kPhoneBookAddFromFile, 1, 0, EditorKind::PhoneBook, 0, false, -1, kPhoneBookAddFromFile},
        {kSmsOpenFile, 0, 0, EditorKind::Sms, 0, false, -1, kSmsOpenFile},
        {kSmsAddToFile, 0, 1, EditorKind::Sms, 0, false, -1, kSmsAddToFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const std::optional<EditorRequest> r =
            MainCommands::editorRequest(c.id, desk(std::nullopt, c.books, 0, c.sms), kAutoRead);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->kind, c.kind);
        EXPECT_EQ(r->selector, c.selector);
        EXPECT_EQ(r->createNew, c.createNew);
        EXPECT_EQ(r->readMode, c.readMode);
        EXPECT_EQ(r->thenSend, c.thenSend);
    }
    // autoRead off: a first window stays empty (read mode 0).
    EXPECT_EQ(MainCommands::editorRequest(kEditPhoneBook, desk(std::nullopt, 0, 0, 0), 0)->readMode, 0);
    // Next with no window of the kind, and commands that are not about windows.
    for (const int id : {kPhoneBookNext, kSmsNext, kInsertItem, kEnterPin, kExit, kSetup})
        EXPECT_FALSE(MainCommands::editorRequest(id, desk(std::nullopt, 0, 0, 0), 1).has_value()) << id;
}

TEST(MainCommands, ForwardingToTheActiveEditor)
{
    struct Case
    {
        int id;
        std::optional<EditorKind> active;
        int forwarded;
    };
    const std::vector<Case> cases = {
        {kInsertItem, EditorKind::PhoneBook, kEditorInsert},
        {kInsertButton, EditorKind::Sms, kEditorInsert},
        {kDeleteItem, EditorKind::Fdn, kEditorDelete},
        {kDeleteButton, EditorKind::PhoneBook, kEditorDelete},
        {kClearSelected, EditorKind::PhoneBook, kEditorClearSelected},
        {kClearButton, EditorKind::Sms, kEditorClearSelected},
        {kCopy, EditorKind::PhoneBook, kEditorCopy},
        {kCut, EditorKind::PhoneBook, kEditorCut},
        {kPaste, EditorKind::Sms, kEditorPaste},
        {kSelect, EditorKind::PhoneBook, kEditorSelect},
        {kSelectAll, EditorKind::PhoneBook, kEditorSelectAll},
        {kInternationalization, EditorKind::PhoneBook, kEditorInternationalize},
        {kInternationalizeButton, EditorKind::Fdn, kEditorInternationalize},
        {kFindReplace, EditorKind::PhoneBook, kEditorFind},
        {kFindButton, EditorKind::PhoneBook, kEditorFind},
        {kFindNextButton, EditorKind::PhoneBook, kEditorFindNext},
        // Save and open go to each kind as its own command.
        {kSaveFileButton, EditorKind::PhoneBook, kPhoneBookSaveFile},
        {kSaveFileButton, EditorKind::Sms, kSmsSaveFile},
        {kPhoneBookSaveFile, EditorKind::Fdn, kPhoneBookSaveFile},
        {kOpenFileButton, EditorKind::Fdn, kPhoneBookOpenFile},
        {kOpenFileButton, EditorKind::Sms, kSmsOpenFile},
        // Nothing to forward to, or nothing to forward.
        {kInsertItem, std::nullopt, 0},
        {kOpenFileButton, std::nullopt, 0},
        {kEnterPin, EditorKind::PhoneBook, 0},
        {kCloseAll, EditorKind::PhoneBook, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MainCommands::forwardedCommand(c.id, c.active), c.forwarded) << c.id;
}

TEST(MainCommands, MenuAndButtonStates)
{
    const DeskSnapshot none = desk(std::nullopt, 0, 0, 0);
    const DeskSnapshot book = desk(EditorKind::PhoneBook, 1, 0, 0);
    const DeskSnapshot fdn = desk(EditorKind::Fdn, 0, 1, 0);
    const DeskSnapshot sms = desk(EditorKind::Sms, 0, 0, 1);
    const DeskSnapshot threeBooks = desk(EditorKind::PhoneBook, 3, 0, 0);
    const DeskSnapshot threeSms = desk(EditorKind::Sms, 0, 0, 3);
    DeskSnapshot bare = none; // a program without editor windows or card yet
    bare.canMakePhoneBook = bare.canMakeFdn = bare.canMakeSms = bare.card = false;

    struct Case
    {
        int id;
        bool none, book, fdn, sms;
    };
    const std::vector<Case> byActive = {
        {kSaveFileButton, false, true, true, true},
        {kPrintButton, false, true, true, true},
        {kInsertButton, false, true, true, true},
        {kDeleteButton, false, true, true, true},
        {kClearButton, false, true, true, true},
        {kFindButton, false, true, true, false},
        {kFindNextButton, false, true, true, false},
        {kInternationalizeButton, false, true, true, false},
        {kPhoneBookSaveFile, false, true, true, false},
        {kSmsSaveFile, false, false, false, true},
        {kSmsAddToFile, false, false, false, true},
        {kInsertItem, false, true, true, true},
        {kDeleteItem, false, true, true, true},
        {kPaste, false, true, true, true},
        {kInternationalization, false, true, true, false},
        {kPrintPhoneBook, false, true, true, false},
        {kPrintMessages, false, false, false, true},
        {kCloseAll, false, true, true, true},
        {kOpenFileButton, true, true, true, true},
    };
    for (const Case& c : byActive) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(MainCommands::enabled(c.id, none), c.none);
        EXPECT_EQ(MainCommands::enabled(c.id, book), c.book);
        EXPECT_EQ(MainCommands::enabled(c.id, fdn), c.fdn);
        EXPECT_EQ(MainCommands::enabled(c.id, sms), c.sms);
    }

    // A fourth window of a kind cannot be opened.
    for (const int id : {kNewPhoneBook, kAnotherPhoneBook}) {
        EXPECT_EQ(MainCommands::enabled(id, book), true);
        EXPECT_EQ(MainCommands::enabled(id, threeBooks), false);
    }
    EXPECT_EQ(MainCommands::enabled(kAnotherSms, sms), true);
    EXPECT_EQ(MainCommands::enabled(kAnotherSms, threeSms), false);
    EXPECT_EQ(MainCommands::enabled(kEditPhoneBook, threeBooks), true) << "still activates";

    // Windows and card commands wait for the parts that make them.
    for (const int id : {kEditPhoneBook, kNewPhoneBook, kFixedDialing, kEditSms, kAnotherSms, kPhoneBookWindow1,
                         kSmsWindow1 + 2, kOpenFileButton, kEnterPin, kEnterPinButton, kChangePin2, kActivateFdn})
        EXPECT_EQ(MainCommands::enabled(id, bare), false) << id;
    EXPECT_EQ(MainCommands::enabled(kExit, bare), true);
    EXPECT_EQ(MainCommands::enabled(kAbout, bare), true);
    // Commands other parts supply are not the desk's to judge.
    for (const int id : {kSetup, kCountryCodes, kTelephoneCard, kBackupCard, kInfoButton, kCheckAndRepair})
        EXPECT_FALSE(MainCommands::enabled(id, book).has_value()) << id;
}

TEST(MainCommands, ButtonsStandForTheirMenuCommands)
{
    EXPECT_EQ(MainCommands::canonical(kEditPhoneBookButton), kEditPhoneBook);
    EXPECT_EQ(MainCommands::canonical(kAnotherPhoneBook), kNewPhoneBook);
    EXPECT_EQ(MainCommands::canonical(kEnterPinButton), kEnterPin);
    EXPECT_EQ(MainCommands::canonical(kInfoButton), kSimInformation);
    EXPECT_EQ(MainCommands::canonical(kCheckButton), kCheckAndRepair);
    EXPECT_EQ(MainCommands::canonical(kSaveFileButton), kSaveFileButton) << "its own rules";
    EXPECT_EQ(MainCommands::canonical(kAnotherSms), kAnotherSms);
    int separators = 0;
    for (int id = kFirstButton; id <= kLastButton; ++id)
        separators += MainCommands::isSeparator(id) ? 1 : 0;
    EXPECT_EQ(separators, 4);
}

} // namespace
} // namespace kestrel
