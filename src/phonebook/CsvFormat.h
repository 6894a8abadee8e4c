#pragma once

#include <vector>

#include <QByteArray>

#include "phonebook/Contact.h"

namespace kestrel {

// CSV contact lists (.csv) as address books and spreadsheets export them.
//
// Reading: RFC 4180 records (quoted fields with "" for a quote, line breaks inside quotes, CR LF
// or LF), UTF-8 with or without a byte order mark; the separator is "," or, when the header row
// holds no "," but a ";", ";" (spreadsheets of locales with a decimal comma). The header row names
// the columns, compared without case:
//   name    "Name", "Display Name", "Full Name", else the parts "Given Name"/"First Name",
//           "Additional Name"/"Middle Name", "Family Name"/"Last Name" joined by spaces;
//   phones  "Phone" and "Phone Number"; "Phone N - Value" with its type in "Phone N - Type" or
//           "Phone N - Label" (Google; a value may hold several numbers joined by " ::: ");
//           the typed columns of Outlook and Thunderbird ("Mobile Phone", "Home Phone",
//           "Business Phone", "Work Phone", "Mobile Number", "Pager", "Business Fax", ...).
// A header without a name column or without a phone column is refused, and so are an unclosed
// quote, text after a closing quote, a row with more fields than the header and anything past
// the limits of Contact.h, with the line where it happened. Rows with no text at all are skipped.
ContactsRead readCsvContacts(const QByteArray& bytes);

// "Name","Phone" header and one row per contact number (a contact normally has one), UTF-8 without
// a byte order mark, CR LF; a field is quoted when it holds a separator, a quote or a line break.
QByteArray writeCsvContacts(const std::vector<Contact>& contacts);

} // namespace kestrel
