#pragma once

namespace kestrel {

class Prompter;
class SimCard;

// Opens the card for a card operation (SimCard::openCard) and, when that fails because a CHV is
// blocked (sid::CardBlockedPinIsNot_150), offers to unblock it and opens again.
bool startCardOperation(SimCard& card, Prompter& prompter, bool chv1, bool chv2, bool strict, bool toolkit);

// Only after a failure with sid::CardBlockedPinIsNot_150: reads the CHV states from the MF response and, when CHV1 or
// CHV2 is blocked (DirectoryInfo::chvBlocked), asks the unblock question (string
// sid::KartaJeZablokovanaChceteNyni_5603). On Yes, the PUK dialog for CHV1 and then, if CHV2 is blocked too, the PUK2
// dialog; every code unblocked becomes the remembered one. True when the card is unblocked and still open, and also
// when PIN1 was unblocked and the PUK2 dialog then closed (opening again tells whether PIN2 is needed). False
// otherwise, with lastStatus sid::CardBlockedPinIsNot_150 when nothing was tried (not blocked, or the question
// declined), sid::OperationCancelled_151 when the only PUK dialog was closed, or the failure of the card.
bool offerUnblock(SimCard& card, Prompter& prompter);

} // namespace kestrel
