#pragma once

#include <QList>
#include <QString>

namespace kestrel {

// Every user-visible text of the program lives in one table addressed by number; CardStatus values
// are numbers of this table too. The table's contents are in resources/StringTable.inc: messages,
// captions, progress texts, labels and tooltips, plus menu texts, dialog captions and control texts
// under their ids where such a number has exactly one text.
namespace StringTable {

// The text stored under id, or an empty string when the table has no such entry.
QString text(int id);

// True when the table holds an entry under id.
bool contains(int id);

// All ids in ascending order (for tests and diagnostics).
QList<int> ids();

} // namespace StringTable

// Marks a string-table number that code passes around as a value to be shown later (for example a
// function returning strId(57427) for its caller to display). It returns its argument unchanged; its
// purpose is to make such numbers visible to the test that checks every number the code asks for is
// in the table (tests/base/StringTableTest.cpp scans src/ for `strId(<digits>)` and
// `StringTable::text(<digits>)`). Write the number as a literal inside the call.
constexpr int strId(int id)
{
    return id;
}

// The question offering to unblock a blocked card ("Karta je zablokována. ...").
inline constexpr int kUnblockOfferId = strId(5603);

} // namespace kestrel
