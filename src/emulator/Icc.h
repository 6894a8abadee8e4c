#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gsm/StatusWords.h"

namespace kestrel::emulator {

// One command as the card sees it under T=0: the header and, for commands that carry data to the
// card, p3 data bytes.
struct Apdu
{
    uint8_t cla = 0;
    uint8_t ins = 0;
    uint8_t p1 = 0;
    uint8_t p2 = 0;
    uint8_t p3 = 0;
    std::vector<uint8_t> data; // bytes sent to the card (empty for commands that read)
};

// The card's answer: response data (only for commands that read, and only on success) and the
// status word SW1 * 256 + SW2.
struct CardResponse
{
    std::vector<uint8_t> data;
    uint16_t sw = gsm::sw::kOk;
    // A card that failed mid-command (fault injection, FaultyIcc). silent: nothing at all came back,
    // neither procedure bytes nor a status word; the terminal's wait runs out. garbled: `data`
    // holds the noise that came instead of a T=0 answer and `sw` means nothing; a byte-level face
    // puts the noise on the line as it is.
    // stalled: the card sends NULL procedure bytes without end and takes no further byte until
    // its power goes.
    bool silent = false;
    bool garbled = false;
    bool stalled = false;
};

// An integrated-circuit card as its faces (in-process, serial byte protocol, vpcd socket) drive it.
class Icc
{
public:
    virtual ~Icc() = default;

    // Whether a card sits in the reader (a pulled card answers nothing).
    virtual bool present() const = 0;
    // Power on / reset: the answer to reset bytes; the card's volatile state (selection, verified
    // CHVs) starts afresh. Empty when the card does not answer.
    virtual std::vector<uint8_t> powerOn() = 0;
    virtual void powerOff() = 0;

    // GSM 11.11 class A0 commands carrying data to the card (SELECT, UPDATE, VERIFY CHV ...); the
    // others (READ, GET RESPONSE, STATUS, FETCH) read p3 bytes (256 when p3 is 0) from it.
    static bool isIncoming(uint8_t ins);

    // One command. For a reading command a successful answer carries exactly the expected bytes;
    // an error answer carries none.
    virtual CardResponse process(const Apdu& apdu) = 0;

    // Prepaid telephone (memory) cards: their 32 data bytes; not a memory card gives false.
    virtual bool readMemory(std::array<uint8_t, 32>& out) const = 0;
};

} // namespace kestrel::emulator
