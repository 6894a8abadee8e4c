#pragma once

#include <span>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>

#include "codec/DialEntry.h"
#include "phonebook/Contact.h"

namespace kestrel {

// The file formats of a phone book window's Save File, Open File and Add from File, by the file
// name's extension (case-insensitive): .vcf and .csv, anything else .DIA.
enum class PhoneBookFormat
{
    Dia,
    VCard,
    Csv,
};
PhoneBookFormat phoneBookFormatOf(const QString& path);

// A contact file's bytes read in its format (VCard or Csv).
ContactsRead readContactFile(PhoneBookFormat format, const QByteArray& bytes);
QByteArray writeContactFile(PhoneBookFormat format, const std::vector<Contact>& contacts);

// One window entry made from a contact: PC text name, number with "+" for an international one.
struct ImportedEntry
{
    std::string name;
    std::string number;
};

// What did not come into the window as the file has it: a name that was cut (reasonId 0,
// cutTo the name kept) or a number or contact that was left out (reasonId: why).
struct ContactLoss
{
    QString name;
    QString number; // empty for a contact without one
    QString cutTo;
    int reasonId = 0;

    bool cut() const { return reasonId == 0; }
};

struct ContactImport
{
    std::vector<ImportedEntry> entries;
    std::vector<ContactLoss> losses;
};

// Turns contacts into entries for `freeRows` rows of a window whose names hold maxNameLength
// characters. A contact with one number gives one entry with its name; with several, one entry a
// number with a suffix by type ("/M" cell, "/W" work, "/H" home, "/F" fax, "/O" other and untyped,
// "/M2" for a second of the same type), the name cut so that the suffix still fits. Numbers lose
// the separators people write ("/" too) and the trunk prefix "(0)" after the country code of a
// "+" number; a leading "00" stays. A number a dial number cannot
// hold, or of more than 60 digits, is left out (a cut number would call someone else), and so are
// a contact without a number or a name and whatever finds no free row. Every cut and every loss
// is listed.
ContactImport importContacts(const std::vector<Contact>& contacts, int maxNameLength, int freeRows);

// The loss list as one message: the lead-in, one line per loss (at most kLossLinesShown, then
// "... and N more"), then `closing` (a string-table number; 0 for none).
inline constexpr int kLossLinesShown = 20;
QString lossMessage(const std::vector<ContactLoss>& losses, int closing);
// One line of it: "\"A very long name\" is cut to \"A very long n\"", "Jan 12a is left out: ...".
QString lossLine(const ContactLoss& loss);

// The valid entries as contacts for a file: one contact an entry, its name as it is, its number
// typed by the name's suffix ("/M" cell, "/W" work, "/H" home, "/F" fax; a digit may follow),
// else untyped.
std::vector<Contact> contactsFromEntries(std::span<const DialEntry> entries);
ContactType typeOfSuffix(const QString& name);

} // namespace kestrel
