// The PIN side of the SimCard: CHV verification while a card opens, enabling, changing and
// unblocking CHV1/CHV2 (GSM 11.11 VERIFY, DISABLE/ENABLE, CHANGE and UNBLOCK CHV).

#include "sim/SimCard.h"

#include "reader/CardReader.h"

namespace kestrel {

bool SimCard::verifyForOpen(int chv, bool strict)
{
    SecretText& remembered = chv == 2 ? m_pin2 : m_pin1;
    const bool usedRemembered = !remembered.empty();
    SecretText text;
    if (usedRemembered) {
        text = remembered;
    } else {
        std::optional<SecretText> typed = m_pinPrompt ? m_pinPrompt->askPin(chv) : std::nullopt;
        if (!typed) {
            // Without strict, a closed PIN1 prompt opens the card without CHV1.
            if (chv == 1 && !strict)
                return true;
            return failAndClose(CardStatus::OperationCancelled);
        }
        text = *typed;
        typed->clear();
    }
    GsmCommands gsm(*reader());
    const CardStatus s = gsm.verifyChv(text.view(), chv, m_lastSw);
    if (s != CardStatus::Ok) {
        if (usedRemembered)
            remembered.clear();
        return failAndClose(s);
    }
    remembered = text;
    m_cardFlags |= chv == 2 ? CardFlag::kChv2Verified : CardFlag::kChv1Verified;
    return true;
}

void SimCard::noteChvResult(int chv, bool unblocked)
{
    // The card counts a code as presented after a successful change or unblock (GSM 11.11). A
    // remembered text of the old code would cost an attempt at the next opening: it goes.
    if (chv == 1) {
        m_cardFlags |= CardFlag::kChv1Verified | CardFlag::kChv1Enabled;
        if (unblocked)
            m_cardFlags &= ~CardFlag::kChv1Blocked;
    } else {
        m_cardFlags |= CardFlag::kChv2Verified;
        if (unblocked)
            m_cardFlags &= ~CardFlag::kChv2Blocked;
    }
    forgetPin(chv);
}

bool SimCard::setChv(const SecretText& pin, const SecretText* newPin, int chv, bool enable)
{
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::ReaderInaccessible);
    if (!(m_cardFlags & CardFlag::kIdentified))
        return fail(CardStatus::NonSpecificError);
    GsmCommands gsm(*r);
    if (chv == 1) {
        if (enable != isChv1Enabled()) {
            const CardStatus s = gsm.setChv1Enabled(pin.view(), enable, m_lastSw);
            if (s != CardStatus::Ok)
                return fail(s);
            if (enable) {
                m_cardFlags |= CardFlag::kChv1Enabled | CardFlag::kChv1Verified;
            } else {
                m_cardFlags &= ~(CardFlag::kChv1Enabled | CardFlag::kChv1Verified);
                forgetPin(1);
            }
        }
        if (!newPin) {
            m_lastStatus = CardStatus::Ok;
            return true;
        }
    } else if (chv != 2 || !newPin) {
        return fail(CardStatus::NonSpecificError);
    }
    const CardStatus s = gsm.changeChv(chv, pin.view(), newPin->view(), m_lastSw);
    if (s != CardStatus::Ok)
        return fail(s);
    noteChvResult(chv, false);
    m_lastStatus = CardStatus::Ok;
    return true;
}

bool SimCard::unblockCard(const SecretText& puk, const SecretText& newPin, int chv)
{
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::ReaderInaccessible);
    if (!(m_cardFlags & CardFlag::kIdentified))
        return fail(CardStatus::NonSpecificError);
    const CardStatus s = GsmCommands(*r).unblockChv(puk.view(), newPin.view(), chv, m_lastSw);
    if (s != CardStatus::Ok)
        return fail(s);
    noteChvResult(chv, true);
    m_lastStatus = CardStatus::Ok;
    return true;
}

} // namespace kestrel
