#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QString>

#include "codec/DialEntry.h"
#include "phonebook/EditorRows.h"

namespace kestrel {

class AppState;
class ProgressSink;
class Prompter;

// Which dialling-number file an editor window edits: the phone book (EF_ADN with EF_EXT1) or the
// fixed dialling numbers (EF_FDN with EF_EXT2).
enum class DialBook
{
    Adn,
    Fdn,
};

// What the model asks of the window that shows it.
using PhoneBookView = EditorListView;

// The two forms Copy and Cut put on the clipboard: the "Kestrel_Dial" payload and the text form
// (PC text: name TAB apostrophe number CR LF per valid entry; the window converts it to UTF-8).
struct DialClip
{
    QByteArray payload;
    std::string text;
};

// What the edit dialog (113) starts with for one row.
struct EditFields
{
    QString itemNumber;        // "Item nr": position + 1
    QString name;              // empty for a free position
    QString number;            // "+" in front when ton is not 0; empty for a free position
    int maxNameLength = 20;    // the name field's limit in characters (the program-wide alpha length)
    int alphaLength = 20;      // alpha bytes of the card's records (the last read or write; else maxNameLength)
    bool unicodeNames = false; // the setting confirmations/unicodeNames
};

// The outcome of the edit dialog's OK.
struct EditOutcome
{
    bool close = false;   // false: a check failed or the overwrite was declined; the dialog stays
    int selectedRow = -1; // the row that ends selected when the dialog closes
};

// The contents of one phone book or fixed-dialling-number editor window without the window: the
// 250 positions, the capacity in use, the selection and the focused row, and every operation the
// window offers on them. Questions and messages go through the Prompter (honouring the `confirm`
// setting where the operation says so); card work runs in a CardOperation frame on the
// AppState's SimCard. The window (or a test) sets a PhoneBookView to be told what to redraw.
// The operations both kinds of editor list share are EditorRows'.
class PhoneBookModel : public EditorRows<DialEntry, 250>
{
public:
    static constexpr int kMaxEntries = 250;

    PhoneBookModel(DialBook book, AppState& app, Prompter& prompter, ProgressSink* progress = nullptr);

    DialBook book() const { return m_book; }
    ProgressSink* progress() const { return m_progress; }
    // The texts of row `row` in the list's three columns: "%3d %c" of the item number and "*" for
    // a modified entry; the name; the number with "+" when ton is not 0. A free position shows a
    // line of hyphens in both text columns.
    std::array<QString, 3> rowTexts(int row) const;
    // The string-table number of a column's header text (columns 0-2).
    static int columnTitleId(int column);

    // ---- contents --------------------------------------------------------------------------
    // The positions in use (EditorRows' limit): the record count of the file last read.
    int capacity() const { return m_limit; }
    void setCapacity(int capacity) { setLimit(capacity); }
    // All 250 positions free, each with its own position; the capacity stays.
    void clearEntries();
    // Fixed dialling in force on the card (EF_ADN invalidated), as the last read found it.
    bool fdnActive() const { return m_fdnActive; }
    // EditorRows' Undo and Redo; the list is no longer sorted by a column afterwards.
    bool undo();
    bool redo();

    // ---- sorting ------------------------------------------------------------------------------
    // Bubble sort of rows a..b by key 0 (position), 1 (name) or 2 (number): free entries sink
    // behind valid ones for keys 1 and 2; texts compare case-insensitively (ASCII folding only).
    void sortByKey(int a, int b, int key);
    // Column header click (column 0, 1 or 2): the whole capacity sorted by that key; positions
    // stay, so a card write still puts every entry back into its own record.
    void sortByColumn(int column);
    // The column the last header click sorted by (the header shows the sort mark on it); -1 when
    // none.
    int sortedColumn() const { return m_sortedColumn; }
    // Sort dialog (117) OK with its 1-based From and To: false after sid::OutOfRange_57580 (the dialog stays).
    bool sortRange(int from, int to);

    // ---- editing ------------------------------------------------------------------------------
    // The row the edit dialog edits: the first selected row. With a second row selected,
    // sid::ForEditingOnlyOneList_57624 is shown and there is none; with nothing selected there is none.
    std::optional<int> editRow();
    EditFields editFields(int row) const;
    // The edit dialog's OK for `row` with the texts of its three fields; the name as the user
    // typed it or as PC text (UTF-8).
    EditOutcome acceptEdit(int row, const QString& itemNumber, const QString& name, const QString& number);
    EditOutcome acceptEdit(int row, const QString& itemNumber, const std::string& pcName, const QString& number);
    // The edit dialog's "Dialing Code...": the number text with its first "+" removed and the
    // chosen code ("+" and digits) in front.
    static QString withDialingCode(const QString& number, const QString& code);
    // The name as an alpha identifier of alphaLength bytes holds it (room for all of it when
    // negative): with unicode off "Jiří Novák" gives "Jiri Novak"; equal to name when nothing is lost.
    static QString storedName(const QString& name, int alphaLength = -1, bool unicode = false);
    // The note beside the name in the edit dialog, empty when the card holds the name as typed:
    // "stored as: ..." while it would hold it otherwise (the fold with unicode off, "?" for what
    // UCS2 lacks), "n of m characters fit on the card" while a Unicode name would be cut.
    static QString nameNote(const QString& name, int alphaLength, bool unicode);

    // Insert (2053): a free position at the first selected row; the row whose edit dialog opens
    // next, or -1 after a refusal.
    int insertEntry();
    // Delete (2054), Clear (2055, sid::Clear_2061), Clear All / Delete All (1004), Select range (160) and
    // closing (sid::ClosingWindowWillLoseChanges_57585): see EditorRows.
    // Select all (2056): every valid row, no free one.
    void selectAllValid() { selectAllUsed(); }

    // ---- clipboard and drag and drop ----------------------------------------------------------
    // Copy (2058) / Cut (sid::Cut_2057): both clipboard forms of the selected rows; nullopt (the clipboard
    // keeps what it holds) when no selected entry is valid. Cut clears the valid ones.
    std::optional<DialClip> copySelection(bool cut);
    // Paste (sid::Paste_2059) of a "Kestrel_Dial" payload: a drop at the focused row.
    bool pastePayload(const QByteArray& payload);
    // Paste (sid::Paste_2059) of clipboard text (PC text), one entry per line from the focused row.
    void pasteText(std::string_view pcText);
    // The start of a drag: the payload of the selected rows (no text form), each selected entry
    // marked as a drag source; nullopt (nothing marked) when no selected entry is valid.
    std::optional<QByteArray> startDrag();
    // dropEffect: see EditorRows.
    // Drag scroll: y in the list's client area, its top t and bottom u, the top row shown, the
    // rows a page shows and the row count; the row to make visible, none when nothing scrolls.
    static std::optional<int> dragScrollTarget(int y, int top, int bottom, int topRow, int rowsPerPage, int rowCount);
    // Drop of a payload on a row (-1: no row). A payload that does not parse drops nothing.
    // False when nothing was dropped (no row, a broken payload, the overwrite declined): the
    // window then ignores the drop, so that a moving source ends with DropEffect::None and keeps
    // its entries.
    bool drop(const QByteArray& payload, int row);

    // ---- card ---------------------------------------------------------------------------------
    // Read from SIM (1001) and Write to SIM! (sid::WriteToSim_1002), with their questions and messages.
    bool readFromCard();
    bool writeToCard();

private:
    DialBook m_book;
    ProgressSink* m_progress;
    bool m_fdnActive = false;
    int m_sortedColumn = -1;
    int m_alphaLength = 0; // alpha bytes of the card's records at the last read or write; 0 = none yet
};

} // namespace kestrel
