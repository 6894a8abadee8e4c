#pragma once

#include <vector>

#include <QByteArray>

#include "phonebook/Contact.h"

namespace kestrel {

// vCard files (.vcf) of address books and phones.
//
// Reading takes versions 2.1, 3.0 and 4.0 (a card without VERSION is read as 3.0), several
// BEGIN:VCARD ... END:VCARD blocks a file, a UTF-8 byte order mark at the start, lines ending in
// CR LF or LF and folded by a leading space or tab, group prefixes ("item1.TEL"), the 2.1 bare
// parameters ("TEL;CELL;PREF:") beside TYPE=a,b and TYPE="a,b", quoted-printable values with soft
// line breaks, CHARSET= (2.1 text without one is UTF-8 when it is valid UTF-8, else
// Windows-1250; 3.0 and 4.0 text is UTF-8) and the escapes \\ \, \; \n. The name is FN, or N
// (family;given;additional;prefix;suffix, shown "prefix given additional family suffix") when FN
// is missing or empty; the numbers are the TEL properties, a 4.0 "tel:" URI unwrapped. Every other
// property is skipped. A contact may come without a number or a name; the import says so.
//
// A file that breaks these rules is refused whole with the line where it broke: a BEGIN without
// its END, an END or text outside a block, a line without ":", an unknown VERSION or CHARSET,
// broken quoted-printable, text that is not UTF-8, and anything past the limits of Contact.h.
ContactsRead readVCards(const QByteArray& bytes);

// vCard 3.0, CR LF line ends: one block per contact with FN, N (the whole name in the family
// field: the program does not guess which word is the family name) and a TEL;TYPE= line per
// number. Values are escaped; lines longer than 75 octets are folded, never inside a UTF-8
// character.
QByteArray writeVCards(const std::vector<Contact>& contacts);

} // namespace kestrel
