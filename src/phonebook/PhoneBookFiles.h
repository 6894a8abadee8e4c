#pragma once

#include <vector>

#include <QString>

#include "base/Result.h"
#include "base/StringTable.h"
#include "phonebook/ContactImport.h"

namespace kestrel {

class PhoneBookModel;

// Labels of the two range dialogs of the phone book files.
inline constexpr int kAddFromFileCaption = strId(sid::AddEntriesFromFile_9211); // dialog 139
inline constexpr int kWriteToFileCaption = strId(sid::WriteToFile_9212);        // dialog 140
inline constexpr int kFromItemLabel = strId(sid::FromItem_9213);                // control 1013
inline constexpr int kToItemLabel = strId(sid::ToItem_9214);                    // control 1014

// How loading a .DIA file into a window ended: the messageId() of its Result. The messages are
// shown already.
//   success                 read to the end of the file
//   kDiaOverwriteQuestion   the question before overwriting valid entries was not answered Yes
//                           (no message); what was read so far stays
//   kAddStartRefused        Add from File: the start row was refused; nothing changed
//   kDiaCannotOpen          nothing changed
//   kDiaSyntaxError         entries read before the bad line stay
//   kDiaReadError           entries read before the failure stay
inline constexpr int kDiaOverwriteQuestion = strId(sid::ValidEntriesInTheWindow_57473);
inline constexpr int kAddStartRefused = strId(sid::ErrorInStartPointEntered_57470);
inline constexpr int kDiaCannotOpen = strId(sid::CannotOpenFile_57472);
inline constexpr int kDiaSyntaxError = strId(sid::SyntaxOrDataExtentError_57475);
inline constexpr int kDiaReadError = strId(sid::ErrorWhileReadingDataFrom_57476);

// The .DIA phone book files of an editor window: one line per valid entry, "item TAB name TAB
// number CR LF" in PC text (older files may hold "name TAB number" lines without item numbers).
// Save File, Open File and Add from File with their checks, questions and messages; the window
// runs the range and file dialogs and hands over their values.
//
// A path ending in .vcf or .csv (any case) is a contact file instead (VCardFormat.h,
// CsvFormat.h): Save File writes the valid entries of the range one contact each; Open File
// replaces the window's entries with the file's contacts from the first row, Add from File puts
// them into the free rows from the start row on (the window's capacity is the limit; the file's
// gaps mean nothing there). A broken file is refused whole (sid::TheContactFileCannotBe_9920 with its
// line); what does not fit (ContactImport.h) is listed in one Yes/No question before anything
// changes, and No changes nothing (sid::LoadTheOtherEntries_9950 is the Result then).
class PhoneBookFiles
{
public:
    explicit PhoneBookFiles(PhoneBookModel& model);

    // ---- Save File -------------------------------------------------------------------------
    // OK of dialog 140: 1 <= from <= to <= capacity, else sid::WrongIntervalEntered_57783 and false (the dialog stays
    // open).
    bool acceptSaveInterval(int from, int to);
    // Sorts the window by position, then writes the valid entries of rows from-1..to-1. The file
    // is replaced only when every line was written (an earlier file stays as it was otherwise).
    // Shows sid::DataWrittenToFile_57782 on success; a failure shows its message and is it:
    // sid::WrongIntervalEntered_57783 (the interval), sid::CannotOpenFileForWriting_57780 (the file cannot be created)
    // or sid::ErrorWhileWritingToFile_57781 (writing failed).
    Result saveFile(const QString& path, int from, int to);

    // ---- Open File -------------------------------------------------------------------------
    // Asked before the file dialog: sid::AllEntriesInTheCurrent_57471 when `confirm` is on and the window holds a valid
    // entry. True to go on.
    bool confirmOpen();
    // Replaces the window's contents with the file; item numbers of the file are used.
    Result openFile(const QString& path);

    // ---- Add from File (dialog 139) --------------------------------------------------------
    // The start the dialog shows: the focused row + 1, else 1.
    int defaultAddStart() const;
    // OK of dialog 139: 1 <= from <= capacity, else sid::ErrorInStartPointEntered_57470 and false (the dialog stays
    // open).
    bool acceptAddStart(int from);
    // Merges the file into the window from row from-1. With includeEmpty the file's item numbers
    // are kept relative to the start (gaps stay free); without it the entries are packed.
    Result addFromFile(const QString& path, int from, bool includeEmpty);

    // What the last contact file load cut or left out (also when the question was answered No).
    const std::vector<ContactLoss>& losses() const { return m_losses; }

private:
    Result load(const QString& path, int offset, bool useItemNumbers, bool adding);
    // The contact files (PhoneBookContactFiles.cpp).
    Result saveContacts(const QString& path, int from, int to, PhoneBookFormat format);
    Result loadContacts(const QString& path, int offset, bool adding, PhoneBookFormat format);

    PhoneBookModel& m_model;
    std::vector<ContactLoss> m_losses;
};

} // namespace kestrel
