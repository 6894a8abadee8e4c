#pragma once

#include <cstdint>
#include <functional>

#include "base/CardStatus.h"
#include "reader/ReaderBuffer.h"

namespace kestrel {

// Parameters taken from the card's answer to reset (ISO/IEC 7816-3), one byte each.
struct AtrParameters
{
    uint8_t inverseConvention = 0; // TS was 3F seen through a direct-convention UART (03)
    uint8_t K = 0;                 // number of historical bytes (low nibble of T0)
    uint8_t Y1 = 0;                // interface-byte indicator (high nibble of T0)
    uint8_t FI = 1;                // TA1 high nibble
    uint8_t DI = 1;                // TA1 low nibble
    uint8_t II = 0;                // TB1 top two bits
    uint8_t PI1 = 0;               // TB1 low six bits
    uint8_t N = 0;                 // extra guard time, TC1
    uint8_t T = 0;                 // protocol, TD1 low nibble
    uint8_t Y2 = 0;                // TD1 high nibble
    uint8_t PI2 = 0;               // TB2
    uint8_t WI = 10;               // work waiting integer, TC2
};

// Reads one answer to reset byte by byte from a reader and fills its parameters.
struct AnswerToReset
{
    // The next byte of the answer under the convention in force, or -1 when none came.
    using NextByte = std::function<int()>;
    // A byte seen again under the inverse convention (asked once TS reads as neither 3B nor 3F and
    // inverseConvention has been set).
    using Convert = std::function<uint8_t(uint8_t)>;

    // Reads TS, T0, the interface bytes of every group and the historical bytes into p (which
    // should hold the defaults). Every byte (TS in its logical value) is kept in atr while its
    // capacity has room (atr may be null; on return its capacity and count hold the number
    // stored). ta1Present tells whether TA1 came. An answer longer than 33 bytes is line noise.
    static CardStatus read(const NextByte& next, const Convert& convert, AtrParameters& p, ReaderBuffer* atr,
                           bool& ta1Present);
};

} // namespace kestrel
