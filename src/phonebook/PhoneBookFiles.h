#pragma once

#include <QString>

#include "base/StringTable.h"

namespace kestrel {

class PhoneBookModel;

// Labels of the two range dialogs of the phone book files.
inline constexpr int kAddFromFileCaption = strId(9211); // dialog 139
inline constexpr int kWriteToFileCaption = strId(9212); // dialog 140
inline constexpr int kFromItemLabel = strId(9213);      // control 1013
inline constexpr int kToItemLabel = strId(9214);        // control 1014

// How loading a .DIA file into a window ended. The messages are shown already.
enum class DiaLoadResult
{
    Loaded,      // read to the end of the file
    Stopped,     // the user refused to overwrite valid entries; what was read so far stays
    Refused,     // the question before loading was not answered Yes; nothing changed
    OpenFailed,  // 57472; nothing changed
    SyntaxError, // 57475; entries read before the bad line stay
    ReadError,   // 57476; entries read before the failure stay
};

// The .DIA phone book files of an editor window: one line per valid entry, "item TAB name TAB
// number CR LF" in PC text (older files may hold "name TAB number" lines without item numbers).
// Save File, Open File and Add from File with their checks, questions and messages; the window
// runs the range and file dialogs and hands over their values.
class PhoneBookFiles
{
public:
    explicit PhoneBookFiles(PhoneBookModel& model);

    // ---- Save File -------------------------------------------------------------------------
    // OK of dialog 140: 1 <= from <= to <= capacity, else 57783 and false (the dialog stays open).
    bool acceptSaveInterval(int from, int to);
    // Sorts the window by position, then writes the valid entries of rows from-1..to-1. The file
    // is replaced only when every line was written (an earlier file stays as it was otherwise).
    // Shows 57782 on success, 57780 when the file cannot be created, 57781 when writing fails.
    bool saveFile(const QString& path, int from, int to);

    // ---- Open File -------------------------------------------------------------------------
    // Asked before the file dialog: 57471 when `confirm` is on and the window holds a valid
    // entry. True to go on.
    bool confirmOpen();
    // Replaces the window's contents with the file; item numbers of the file are used.
    DiaLoadResult openFile(const QString& path);

    // ---- Add from File (dialog 139) --------------------------------------------------------
    // The start the dialog shows: the focused row + 1, else 1.
    int defaultAddStart() const;
    // OK of dialog 139: 1 <= from <= capacity, else 57470 and false (the dialog stays open).
    bool acceptAddStart(int from);
    // Merges the file into the window from row from-1. With includeEmpty the file's item numbers
    // are kept relative to the start (gaps stay free); without it the entries are packed.
    DiaLoadResult addFromFile(const QString& path, int from, bool includeEmpty);

private:
    DiaLoadResult load(const QString& path, int offset, bool useItemNumbers, bool adding);

    PhoneBookModel& m_model;
};

} // namespace kestrel
