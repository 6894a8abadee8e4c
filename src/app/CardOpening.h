#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

class Prompter;
class SimCard;

// Opens the card for a card operation (SimCard::openCard) and, when that fails because a CHV is
// blocked (150), offers to unblock it and opens again.
bool startCardOperation(SimCard& card, Prompter& prompter, bool chv1, bool chv2, bool strict, bool toolkit);

// Only after a failure with 150: reads the CHV states from the MF response and, when CHV1 or CHV2
// is blocked (chvBlocked), asks the unblock question (string 5603). On Yes, the PUK dialog for
// CHV1 and then, if CHV2 is blocked too, the PUK2 dialog; every code unblocked becomes the
// remembered one. True when the card is unblocked and still open, and also when PIN1 was unblocked
// and the PUK2 dialog then closed (opening again tells whether PIN2 is needed). False otherwise,
// with lastStatus 150 when nothing was tried (not blocked, or the question declined), 151 when
// the only PUK dialog was closed, or the failure of the card.
bool offerUnblock(SimCard& card, Prompter& prompter);

// From an MF/DF response (GSM 11.11, bytes from 1): CHV1 (byte 19) or CHV2 (byte 21) has no
// attempts left (bits 1-4). A CHV2 that is not initialised (bit 8 clear) is never blocked: the
// card has no PIN2 to unblock.
bool chvBlocked(const std::array<uint8_t, 36>& mf, int chv);

} // namespace kestrel
