#pragma once

#include <QList>
#include <QString>

namespace kestrel {

// Every user-visible text of the program lives in one table addressed by number; CardStatus values
// are numbers of this table too. The table's contents are in resources/StringTable.inc.
namespace StringTable {

// The text stored under id, or an empty string when the table has no such entry.
QString text(int id);

// True when the table holds an entry under id.
bool contains(int id);

// All ids in ascending order (for tests and diagnostics).
QList<int> ids();

} // namespace StringTable

// Marks a number as a string-table id where code passes it around as a value (for example a
// result that is shown later); a test checks that every id so marked exists in the table.
constexpr int strId(int id)
{
    return id;
}

} // namespace kestrel
