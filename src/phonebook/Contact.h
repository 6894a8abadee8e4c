#pragma once

#include <cstddef>
#include <vector>

#include <QString>

namespace kestrel {

// What a number of an address book contact is for, as vCard TEL types and the phone columns of
// contact exports name it.
enum class ContactType
{
    Voice, // no type, or one the others do not cover
    Cell,
    Work,
    Home,
    Fax,
    Other,
};

struct ContactNumber
{
    QString number; // as the file writes it ("+420 603 123 456", "tel:+420603123456" unwrapped)
    ContactType type = ContactType::Voice;
};

// One contact of a vCard or CSV file: the name shown and its numbers in file order.
struct Contact
{
    QString name;
    std::vector<ContactNumber> numbers;
};

// What a contact file reader gives: the contacts, or the reason (a string-table number) and the
// 1-based line of the file where it stopped. A refused file gives no contacts.
struct ContactsRead
{
    std::vector<Contact> contacts;
    int errorId = 0;   // 0: read
    int errorLine = 0; // 0: the file as a whole (its size, its header)

    bool ok() const { return errorId == 0; }
};

// Where and why a contact file reader stopped: a string-table number and the 1-based line.
struct ContactFailure
{
    int id = 0;
    int line = 0;
};

// A refused file: no contacts, only the failure.
inline ContactsRead refusedContacts(ContactFailure failure)
{
    ContactsRead read;
    read.errorId = failure.id;
    read.errorLine = failure.line;
    return read;
}

// Limits every contact reader keeps, so that a hostile file costs a bounded amount of memory.
inline constexpr qsizetype kMaxContactFileBytes = 16 * 1024 * 1024;
inline constexpr qsizetype kMaxContactLineBytes = 1024 * 1024; // one vCard line unfolded, one CSV record
inline constexpr std::size_t kMaxContacts = 10000;
inline constexpr std::size_t kMaxNumbersPerContact = 100;

} // namespace kestrel
