// CSV contact files from arbitrary bytes (readCsvContacts), and the contacts they give turned into
// phone book entries (importContacts) and written again (writeCsvContacts).
//
// A refused file gives no contacts and names its reason; a file read stays within the limits of
// Contact.h; every entry made fits the window; what the writer makes of an input well within the
// limits reads back to one contact a number with the same name and number.

#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "FuzzSupport.h"
#include "codec/AlphaCodec.h"
#include "codec/DialDigits.h"
#include "phonebook/ContactImport.h"
#include "phonebook/CsvFormat.h"

using namespace kestrel;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ContactsRead read = readCsvContacts(bytes);
    if (!read.ok()) {
        check(read.contacts.empty() && read.errorLine >= 0);
        return 0;
    }
    check(read.contacts.size() <= kMaxContacts);
    std::vector<Contact> rows; // one contact a number, as the writer gives them back
    for (const Contact& c : read.contacts) {
        check(c.numbers.size() <= kMaxNumbersPerContact);
        for (const ContactNumber& n : c.numbers)
            rows.push_back({c.name, {n}});
    }

    const int maxName = 1 + static_cast<int>(size % 20);
    const ContactImport import = importContacts(read.contacts, maxName, 100);
    check(import.entries.size() <= 100);
    for (const ImportedEntry& e : import.entries) {
        check(!e.name.empty() && NameLength(e.name) <= static_cast<std::size_t>(maxName));
        check(!e.number.empty() && e.number != "+" && IsValidDialNumber(e.number));
    }

    // The writer repeats the name on the row of each number (up to a hundred of them) and quotes:
    // only an input well within the file limit is sure to read back.
    if (bytes.size() > kMaxContactFileBytes / 1024)
        return 0;
    const ContactsRead again = readCsvContacts(writeCsvContacts(read.contacts));
    check(again.ok() && again.contacts.size() == rows.size());
    for (std::size_t i = 0; i < rows.size() && i < again.contacts.size(); ++i) {
        check(again.contacts[i].name == rows[i].name);
        check(again.contacts[i].numbers.size() == 1 &&
              again.contacts[i].numbers[0].number == rows[i].numbers[0].number);
    }
    return 0;
}
