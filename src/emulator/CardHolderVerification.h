#pragma once

#include <cstdint>
#include <functional>

#include "emulator/Icc.h"
#include "emulator/SimCardData.h"

namespace kestrel::emulator {

// CHV1 and CHV2 of the virtual card: VERIFY, CHANGE, DISABLE/ENABLE (CHV1 only) and UNBLOCK CHV
// over the codes and attempt counters kept in the card's contents, and which codes were verified
// since power-on. A wrong code uses an attempt and is saved at once; the last one blocks the code.
class CardHolderVerification
{
public:
    // save writes the card's contents after a change; false when they could not be written.
    CardHolderVerification(SimCardData& card, std::function<bool()> save);

    // Power-on or power-off: nothing verified.
    void reset();

    // Whether an access condition is met now (ADM and NEVER never are).
    bool fulfilled(AccessLevel level) const;

    CardResponse verify(const Apdu& apdu);
    CardResponse change(const Apdu& apdu);
    CardResponse setChv1Enabled(const Apdu& apdu, bool enable);
    CardResponse unblock(const Apdu& apdu);

private:
    // Wrong code: one attempt used and saved; 98 04, or 98 40 when it was the last.
    uint16_t wrongCode(int& attemptsLeft, bool& isVerified);
    ChvState& chv(int number) { return number == 1 ? m_card.chv1 : m_card.chv2; }
    bool& verified(int number) { return number == 1 ? m_chv1Verified : m_chv2Verified; }

    SimCardData& m_card;
    std::function<bool()> m_save;
    bool m_chv1Verified = false;
    bool m_chv2Verified = false;
};

} // namespace kestrel::emulator
