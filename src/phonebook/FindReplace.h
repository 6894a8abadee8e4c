#pragma once

#include <string>

#include <QString>

#include "base/StringTable.h"

namespace kestrel {

class PhoneBookModel;
class Prompter;

// Labels of the find and replace dialogs.
inline constexpr int kFindDialogCaption = strId(sid::FindReplace_9200);         // dialog 104
inline constexpr int kFindStringLabel = strId(sid::FindString_9201);            // control 1004
inline constexpr int kReplaceWithLabel = strId(sid::ReplaceWith_9202);          // control 1005
inline constexpr int kSearchNameLabel = strId(sid::Name_9203);                  // radio 1006
inline constexpr int kSearchNumberLabel = strId(sid::PhoneNumber_9204);         // radio 1007
inline constexpr int kSearchCodeLabel = strId(sid::DialingCode_9205);           // radio 1008
inline constexpr int kSearchEverywhereLabel = strId(sid::Everywhere_9206);      // radio 1009
inline constexpr int kFindCloseLabel = strId(sid::Close_9207);                  // button 2
inline constexpr int kReplaceDialogCaption = strId(sid::ReplacingEntries_9208); // dialog 128
inline constexpr int kReplaceQuestion = strId(sid::OverwriteThisEntry_9209);    // "Overwrite this entry?"
inline constexpr int kReplaceYesLabel = strId(sid::Yes_9210);                   // button 1

// The last action of find and replace, remembered program-wide so that "find next" repeats it.
enum class FindAction
{
    None = 0,
    Find = 1,
    Replace = 2,
};

// Which field a search looks at (setting `itemSrch`).
enum class FindSelector
{
    Name = 0,        // the text occurs in the name
    Number = 1,      // the text occurs in the number text ("+" in front when ton is 1)
    DialingCode = 2, // the number text begins with the text
    Everywhere = 3,  // the name, then the number text
};

// The fields of dialog 104. At most 200 characters each.
struct FindRequest
{
    QString findText;
    QString replaceText;
    int selector = 0; // FindSelector
};

// Dialog 128's buttons.
enum class ReplaceAnswer
{
    Yes,
    No,
    All,
    Cancel,
};

// The two dialogs of find and replace: the window shows them, tests script them.
class FindReplaceUi
{
public:
    virtual ~FindReplaceUi() = default;
    // Dialog 104, filled with request; the fields come back in request. "&Find" gives
    // FindAction::Find, "&Replace" FindAction::Replace, "&Close" FindAction::None. The dialog may
    // run FindReplace::acceptRequest on its buttons to stay open on an empty search text;
    // otherwise it is shown again with its fields after the message.
    virtual FindAction runDialog(FindRequest& request) = 0;
    // Dialog 128 "Overwrite this entry?".
    virtual ReplaceAnswer askReplace() = 0;
};

// Find and replace in one editor window: "Find..." (button 1005) and "Find next" (sid::CommandFindNext_2100). The
// search text, the replacement and the field searched are the settings `findStr`, `replStr` and
// `itemSrch`, saved each time the dialog closes with an action; the last action is remembered in
// the AppState for every window. Texts compare case-insensitively for a-z only, byte by byte in
// PC text. Find wraps once to the top; replace runs from the current row to the end.
class FindReplace
{
public:
    FindReplace(PhoneBookModel& model, FindReplaceUi& ui);

    // "Find...": the dialog first, then as the action and the answers to dialog 128 say.
    void find();
    // "Find next": the last action again without the dialog (the dialog when there is none).
    void findNext();

    // The check of "&Find" and "&Replace": a non-empty search text, else sid::EnterSearchText_57400 and false.
    static bool acceptRequest(const FindRequest& request, Prompter& prompter);

private:
    enum class Match
    {
        None,
        Name,
        Number,
    };

    // One step of the search; returns false when the command ends (dialog closed, Cancel).
    bool step(bool repeat);
    // Dialog 104 until it closes with an action that passes its check, or is closed; the fields
    // are stored in the settings.
    FindAction runDialog();
    // The search state from the settings; false when there is no search text.
    bool loadSettings();
    Match test(int row) const;
    // The first row from `from` to the last row of the capacity that matches; -1 when none.
    int search(int from);
    void moveToRow(int row);
    void selectRow(int row);

    PhoneBookModel& m_model;
    FindReplaceUi& m_ui;
    int m_row = 0;
    FindAction m_action = FindAction::None;
    std::string m_find;    // PC text, upper-cased
    std::string m_replace; // PC text
    FindSelector m_selector = FindSelector::Name;
    bool m_replaceAll = false;
    bool m_continue = false;
    Match m_match = Match::None;
};

} // namespace kestrel
