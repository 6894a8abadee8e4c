// vCard files from arbitrary bytes (readVCards), and the contacts they give turned into phone book
// entries (importContacts) and written again (writeVCards).
//
// A refused file gives no contacts and names its reason; a file read stays within the limits of
// Contact.h; every entry made fits the window (a name of at most the name length, a dial
// number); what the writer makes of an input well within the limits reads back to as many
// contacts with the same names and as many numbers.

#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "FuzzSupport.h"
#include "codec/AlphaCodec.h"
#include "codec/DialDigits.h"
#include "phonebook/ContactImport.h"
#include "phonebook/VCardFormat.h"

using namespace kestrel;
using fuzz::check;

namespace {

void checkImport(const std::vector<Contact>& contacts, int maxName, int freeRows)
{
    const ContactImport import = importContacts(contacts, maxName, freeRows);
    check(import.entries.size() <= static_cast<std::size_t>(freeRows));
    for (const ImportedEntry& e : import.entries) {
        check(!e.name.empty() && NameLength(e.name) <= static_cast<std::size_t>(maxName));
        check(e.name.find('\0') == std::string::npos);
        check(!e.number.empty() && e.number != "+" && IsValidDialNumber(e.number));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ContactsRead read = readVCards(bytes);
    if (!read.ok()) {
        check(read.contacts.empty() && read.errorLine >= 0);
        return 0;
    }
    check(read.contacts.size() <= kMaxContacts);
    for (const Contact& c : read.contacts)
        check(c.numbers.size() <= kMaxNumbersPerContact);
    checkImport(read.contacts, 1 + static_cast<int>(size % 20), 250);

    // Escaping and UTF-8 (a Windows-1250 byte may become three) make the written file up to a few
    // times the size of what was read, FN and N holding the name twice: only an input well within
    // the limits of a line and of a file is sure to read back.
    if (bytes.size() > kMaxContactLineBytes / 4)
        return 0;
    const ContactsRead again = readVCards(writeVCards(read.contacts));
    check(again.ok() && again.contacts.size() == read.contacts.size());
    for (std::size_t i = 0; i < read.contacts.size() && i < again.contacts.size(); ++i) {
        check(again.contacts[i].name == read.contacts[i].name);
        check(again.contacts[i].numbers.size() == read.contacts[i].numbers.size());
    }
    return 0;
}
