// The PIN side of the SimCard: CHV verification while a card opens, enabling, changing and
// unblocking CHV1/CHV2 (GSM 11.11 VERIFY, DISABLE/ENABLE, CHANGE and UNBLOCK CHV).

#include "sim/SimCard.h"

#include <string.h>

#include "base/StringTable.h"
#include "reader/CardReader.h"

namespace kestrel {

namespace {

std::size_t counterIndex(int chv, bool unblock)
{
    return (chv == 2 ? 2U : 0U) + (unblock ? 1U : 0U);
}

} // namespace

void SimCard::takeAttemptsLeft(const DirectoryInfo& mf)
{
    for (const int chv : {1, 2}) {
        for (const bool unblock : {false, true})
            m_attemptsLeft[counterIndex(chv, unblock)] = mf.chvAttemptsLeft(chv, unblock);
    }
}

bool SimCard::mayPresent(std::string_view code, int chv, bool unblock)
{
    std::array<uint8_t, 8> block;
    const bool sent = GsmCommands::pinBlock(code, block);
    explicit_bzero(block.data(), block.size());
    if (!sent || (chv != 1 && chv != 2))
        return true;
    int& left = m_attemptsLeft[counterIndex(chv, unblock)];
    if (left < 0) {
        DirectoryInfo mf;
        if (!selectFile(gsm::fid::kMf, 0, &mf))
            return false;
        takeAttemptsLeft(mf);
    }
    if (left != 1)
        return true;
    if (m_pinPrompt && m_pinPrompt->confirmLastTry(chv, unblock))
        return true;
    return fail(CardStatus::OperationCancelled);
}

void SimCard::noteRefusedCode(int chv, bool unblock)
{
    const CardStatus status = m_lastStatus;
    const uint16_t sw = m_lastSw;
    DirectoryInfo mf;
    QString detail;
    if (selectFile(gsm::fid::kMf, 0, &mf)) {
        takeAttemptsLeft(mf);
        const int left = mf.chvAttemptsLeft(chv, unblock);
        if (left == 0)
            detail = StringTable::text(sid::NoTriesLeftTheCode_9842);
        else if (left == 1)
            detail = StringTable::text(sid::OneTryLeft_9841);
        else
            detail = StringTable::text(sid::TriesLeft_9840).arg(left);
    }
    m_lastStatus = status;
    m_lastSw = sw;
    m_statusDetail = detail;
}

bool SimCard::refused(CardStatus status, int chv, bool unblock)
{
    fail(status);
    if (status == CardStatus::NoValidPin)
        noteRefusedCode(chv, unblock);
    return false;
}

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
    if (!mayPresent(text.view(), chv, false))
        return failAndClose(m_lastStatus);
    GsmCommands gsm(*reader());
    const CardStatus s = gsm.verifyChv(text.view(), chv, m_lastSw);
    if (s != CardStatus::Ok) {
        if (usedRemembered)
            remembered.clear();
        if (s == CardStatus::NoValidPin)
            noteRefusedCode(chv, false);
        return failAndClose(s);
    }
    m_attemptsLeft[counterIndex(chv, false)] = -1;
    remembered = text;
    m_cardFlags |= chv == 2 ? CardFlag::kChv2Verified : CardFlag::kChv1Verified;
    return true;
}

void SimCard::noteChvResult(int chv, bool unblocked)
{
    // The card counts a code as presented after a successful change or unblock (GSM 11.11). A
    // remembered text of the old code would cost an attempt at the next opening: it goes. The
    // counters the command reset are read again when next needed.
    m_attemptsLeft[counterIndex(chv, false)] = -1;
    if (unblocked)
        m_attemptsLeft[counterIndex(chv, true)] = -1;
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
            if (!mayPresent(pin.view(), 1, false))
                return false;
            const CardStatus s = gsm.setChv1Enabled(pin.view(), enable, m_lastSw);
            if (s != CardStatus::Ok)
                return refused(s, 1, false);
            m_attemptsLeft[counterIndex(1, false)] = -1;
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
    if (!mayPresent(pin.view(), chv, false))
        return false;
    const CardStatus s = gsm.changeChv(chv, pin.view(), newPin->view(), m_lastSw);
    if (s != CardStatus::Ok)
        return refused(s, chv, false);
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
    if (!mayPresent(puk.view(), chv, true))
        return false;
    const CardStatus s = GsmCommands(*r).unblockChv(puk.view(), newPin.view(), chv, m_lastSw);
    if (s != CardStatus::Ok)
        return refused(s, chv, true);
    noteChvResult(chv, true);
    m_lastStatus = CardStatus::Ok;
    return true;
}

} // namespace kestrel
