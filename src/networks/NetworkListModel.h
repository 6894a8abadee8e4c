#pragma once

#include <cstdint>
#include <vector>

#include <QList>
#include <QString>
#include <QStringList>

#include "codec/PlmnEntry.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// The list of one network file - EF_PLMNsel (preferred) or EF_FPLMN (forbidden) - as its dialog
// holds it: one entry per 3-byte slot of the file, read from and written to the card as card
// operations, edited entry by entry, shown one line per entry, copied and printed as text.
// Failures of the card are shown through the Prompter's card-error dialog.
class NetworkListModel
{
public:
    // The buttons of the dialog that are enabled.
    struct Buttons
    {
        bool write = false;
        bool deleteAll = false;
        bool edit = false;
        bool remove = false;
    };

    NetworkListModel(SimCard& card, Prompter& prompter, ProgressSink* progress, bool forbidden);

    bool forbidden() const { return m_forbidden; }
    // "Kestrel! - Preferred Networks" or "Kestrel! - Forbidden Networks".
    int captionId() const;

    const std::vector<PlmnEntry>& entries() const { return m_entries; }
    int count() const { return static_cast<int>(m_entries.size()); }
    // Replaces the list (a list read elsewhere; tests).
    void setEntries(std::vector<PlmnEntry> entries) { m_entries = std::move(entries); }

    // Reads the whole file: the list is freed first and stays empty when the read fails.
    bool readFromCard();
    // Writes the whole list; every modified mark is cleared afterwards, after a failure too.
    bool writeToCard();

    // Entry `row` (from 0) as its line shows it: the entry number, "*" when modified, then for a
    // used entry a tab, the MCC in three digits, "-", the MNC in at least two and, when the
    // operator table knows the network, a tab and the operator's name.
    QString line(int row) const;
    QStringList lines() const;

    // selected: the selected line, -1 for none.
    Buttons buttons(int selected) const;

    // The MCC and MNC fields the edit dialog opens with: "%03u" and "%02u" of a used entry, empty
    // for a free one.
    QString mccField(int row) const;
    QString mncField(int row) const;
    // Applies the edit dialog's fields to entry `row`: each field is read as an unsigned number
    // (readNumberField); a field that is no number leaves that code as it was. The entry becomes
    // used and modified. False (nothing changed) when row is not an entry of the list.
    bool applyEdit(int row, const QString& mcc, const QString& mnc);
    // Puts the network MCC-MNC into entry `row` (used and modified); false when row is not an entry.
    bool setNetwork(int row, uint32_t mcc, uint32_t mnc);
    // Frees entry `row` (used 0, modified 1); false when row is not a used entry.
    bool removeEntry(int row);
    // Frees every entry.
    void removeAll();

    // "Copy All Content": every line of a used entry followed by "\r\n"; empty when none is used.
    QString copyText() const;
    // The printed list: every line followed by a line end, under printHeadingId(), with the tab
    // positions of printTabStops().
    QString printText() const;
    int printHeadingId() const;
    static QList<int> printTabStops();

    // Reads an edit field as the dialogs do: blanks are skipped, an optional "+" is taken, then
    // the decimal digits up to the first other character (a value beyond 4294967295 stays at
    // 4294967295). False (value untouched) when no digit follows, a "-" sign included.
    static bool readNumberField(const QString& text, uint32_t& value);

private:
    bool isRow(int row) const { return row >= 0 && row < count(); }

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    bool m_forbidden;
    std::vector<PlmnEntry> m_entries;
};

} // namespace kestrel
