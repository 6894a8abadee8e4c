#pragma once

#include <array>
#include <cstdint>

#include <QString>

#include "base/CardStatus.h"

namespace kestrel {

class CardReader;

// What the 32 bytes of a prepaid telephone card say.
struct TelephoneCardValues
{
    std::array<uint8_t, 32> bytes{};
    int unitsRemaining = 0;
    int totalUnits = 0;
    int usedBits = 0;   // set bits counted in the unit counter, the two initial ones included
    bool valid = false; // type mark 0x83 and a unit total above zero
    QString country;    // issuing country, "???" when unknown
    QString rawData;    // four lines of eight bytes in hex, each led by its offset
};

// The outcome of reading a telephone card: the status of the reader (Ok when the bytes were read),
// the values (all zero and empty unless read), and the text to show: an error after a failed read,
// the "not a valid telephone card" warning after a read of something else, otherwise empty.
struct TelephoneCardReading
{
    CardStatus status = CardStatus::Ok;
    TelephoneCardValues values;
    QString message;

    bool failed() const { return status != CardStatus::Ok; }
    bool warning() const { return !failed() && !message.isEmpty(); }
};

// Prepaid telephone (memory) cards, read only; nothing is ever written to them.
//
// Layout of the 32 bytes b[0..31]:
//   b[1]            type mark, 0x83 on a telephone card
//   b[2] low nibble hundreds of the unit total, b[3] tens (high nibble) and units (low nibble);
//                   the total counts the two units every counter starts with
//   b[11]           issuing country
//   b[12] .. b[30]  unit counter, one set bit per unit used (the initial two included)
class TelephoneCard
{
public:
    // Reads the card in reader (null: no reader connected) with readMemoryCard.
    static TelephoneCardReading read(CardReader* reader);
    // The values of a card image.
    static TelephoneCardValues evaluate(const std::array<uint8_t, 32>& bytes);
    // Name of the issuing country code of b[11], "???" for codes not known.
    static QString countryName(uint8_t code);
    // "%04x\t" before bytes 0, 8, 16, 24; each byte "%02x", a tab between bytes of a line, "\r\n"
    // between lines, nothing after the last.
    static QString rawDataText(const std::array<uint8_t, 32>& bytes);

    // The texts of the telephone card window.
    static QString noReaderText();
    static QString readErrorText(CardStatus status);
    static QString invalidCardText();
};

} // namespace kestrel
