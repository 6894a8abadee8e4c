#pragma once

#include <QList>
#include <QString>

#include "base/StringIds.h"

namespace kestrel {

// Every user-visible text of the program lives in one table addressed by number; CardStatus values
// are numbers of this table too. The table's contents are in resources/StringTable.inc: messages,
// captions, progress texts, labels and tooltips, plus menu texts, dialog captions and control texts
// under their ids where such a number has exactly one text.
namespace StringTable {

// The text stored under id, or an empty string when the table has no such entry.
QString text(int id);

// True when the entry under id is data rather than display text (marked Data in the table: a text
// that is parsed, stored in a file or compared); such an entry is never translated.
bool isData(int id);

// True when the table holds an entry under id.
bool contains(int id);

// All ids in ascending order (for tests and diagnostics).
QList<int> ids();

} // namespace StringTable

// Makes text() give the table in a language: choice "" or "auto" by the system locale (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG; Czech for cs*, else English), "en" or "cs". The translator is also
// installed on the QCoreApplication when one exists. Call it before other threads use the table.
// False for an unknown choice or a translation that cannot be loaded (the program stays English).
bool installLanguage(const QString& choice);

// The language the table speaks: "en" until installLanguage made it another ("cs").
QString languageInUse();

// Marks a string-table id that code passes around as a value to be shown later (for example a
// function returning strId(sid::ErrorInBackupFileStructure_57427) for its caller to display). It
// returns its argument unchanged. Ids are written as the generated names of base/StringIds.h
// (sid::<first words of the text>_<number>), never as bare numbers: tests/base/StringTableTest.cpp
// checks that every sid:: name in src/ is an entry's generated name and that no strId(<digits>),
// StringTable::text(<digits>) or uiText(<digits>) is left.
constexpr int strId(int id)
{
    return id;
}

// The question offering to unblock a blocked card ("Karta je zablokována. ...").
inline constexpr int kUnblockOfferId = strId(sid::KartaJeZablokovanaChceteNyni_5603);

} // namespace kestrel
