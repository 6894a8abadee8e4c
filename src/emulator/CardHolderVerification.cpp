#include "emulator/CardHolderVerification.h"

#include <algorithm>

#include "emulator/CardAnswers.h"
#include "gsm/Instructions.h"

namespace kestrel::emulator {

namespace sw = gsm::sw;
using answer::status;
using answer::wrongLength;

namespace {

constexpr std::size_t kBlock = gsm::kChvBlockLength;

std::array<uint8_t, kBlock> blockAt(const std::vector<uint8_t>& data, std::size_t offset)
{
    std::array<uint8_t, kBlock> block;
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), kBlock, block.begin());
    return block;
}

} // namespace

CardHolderVerification::CardHolderVerification(SimCardData& card, std::function<bool()> save)
    : m_card(card), m_save(std::move(save))
{}

void CardHolderVerification::reset()
{
    m_chv1Verified = false;
    m_chv2Verified = false;
}

bool CardHolderVerification::fulfilled(AccessLevel level) const
{
    switch (level) {
    case AccessLevel::Always:
        return true;
    case AccessLevel::Chv1:
        return !m_card.chv1.enabled || m_chv1Verified;
    case AccessLevel::Chv2:
        return m_chv2Verified;
    case AccessLevel::Adm:
    case AccessLevel::Never:
        return false;
    }
    return false;
}

uint16_t CardHolderVerification::wrongCode(int& attemptsLeft, bool& isVerified)
{
    attemptsLeft = std::max(0, attemptsLeft - 1);
    isVerified = false;
    // The attempt stays used even when it cannot be saved: a full disk must not give free tries.
    if (!m_save())
        return sw::kMemoryProblem;
    return attemptsLeft == 0 ? sw::kChvBlocked : sw::kAccessNotFulfilled;
}

// P2 of VERIFY and CHANGE CHV: the CHV number, 1 or 2.
CardResponse CardHolderVerification::verify(const Apdu& apdu)
{
    if (apdu.p1 != 0 || (apdu.p2 != 1 && apdu.p2 != 2))
        return status(sw::kWrongP1P2);
    if (apdu.p3 != kBlock)
        return wrongLength(kBlock);
    ChvState& c = chv(apdu.p2);
    bool& isVerified = verified(apdu.p2);
    if (apdu.p2 == 1 && !c.enabled)
        return status(sw::kChvContradiction);
    if (c.attemptsLeft == 0)
        return status(sw::kChvBlocked);
    if (blockAt(apdu.data, 0) != chvBlock(c.code))
        return status(wrongCode(c.attemptsLeft, isVerified));
    isVerified = true;
    if (c.attemptsLeft != ChvState::kMaxAttempts) {
        c.attemptsLeft = ChvState::kMaxAttempts;
        if (!m_save())
            return status(sw::kMemoryProblem);
    }
    return status(sw::kOk);
}

CardResponse CardHolderVerification::change(const Apdu& apdu)
{
    if (apdu.p1 != 0 || (apdu.p2 != 1 && apdu.p2 != 2))
        return status(sw::kWrongP1P2);
    if (apdu.p3 != 2 * kBlock)
        return wrongLength(2 * kBlock);
    ChvState& c = chv(apdu.p2);
    bool& isVerified = verified(apdu.p2);
    if (apdu.p2 == 1 && !c.enabled)
        return status(sw::kChvContradiction);
    if (c.attemptsLeft == 0)
        return status(sw::kChvBlocked);
    const auto newBlock = blockAt(apdu.data, kBlock);
    // A new code the card could not present again (not 4-8 digits) is refused before the old one
    // is checked, so no attempt is spent on it.
    if (!isValidChvBlock(newBlock))
        return status(sw::kTechnicalProblem);
    if (blockAt(apdu.data, 0) != chvBlock(c.code))
        return status(wrongCode(c.attemptsLeft, isVerified));
    const ChvState before = c;
    c.code = chvDigits(newBlock);
    c.attemptsLeft = ChvState::kMaxAttempts;
    if (!m_save()) {
        c = before;
        return status(sw::kMemoryProblem);
    }
    isVerified = true;
    return status(sw::kOk);
}

CardResponse CardHolderVerification::setChv1Enabled(const Apdu& apdu, bool enable)
{
    if (apdu.p1 != 0 || apdu.p2 != 1)
        return status(sw::kWrongP1P2);
    if (apdu.p3 != kBlock)
        return wrongLength(kBlock);
    ChvState& c = m_card.chv1;
    if (c.enabled == enable)
        return status(sw::kChvContradiction);
    if (c.attemptsLeft == 0)
        return status(sw::kChvBlocked);
    if (blockAt(apdu.data, 0) != chvBlock(c.code))
        return status(wrongCode(c.attemptsLeft, m_chv1Verified));
    const ChvState before = c;
    c.enabled = enable;
    c.attemptsLeft = ChvState::kMaxAttempts;
    if (!m_save()) {
        c = before;
        return status(sw::kMemoryProblem);
    }
    m_chv1Verified = enable;
    return status(sw::kOk);
}

CardResponse CardHolderVerification::unblock(const Apdu& apdu)
{
    // P2: 00 unblocks CHV1, 02 CHV2.
    if (apdu.p1 != 0 || (apdu.p2 != 0 && apdu.p2 != 2))
        return status(sw::kWrongP1P2);
    if (apdu.p3 != 2 * kBlock)
        return wrongLength(2 * kBlock);
    const int number = apdu.p2 == 0 ? 1 : 2;
    ChvState& c = chv(number);
    bool& isVerified = verified(number);
    if (c.unblockAttemptsLeft == 0)
        return status(sw::kChvBlocked);
    const auto newBlock = blockAt(apdu.data, kBlock);
    if (!isValidChvBlock(newBlock))
        return status(sw::kTechnicalProblem);
    if (blockAt(apdu.data, 0) != chvBlock(c.unblockCode))
        return status(wrongCode(c.unblockAttemptsLeft, isVerified));
    const ChvState before = c;
    c.code = chvDigits(newBlock);
    c.attemptsLeft = ChvState::kMaxAttempts;
    c.unblockAttemptsLeft = ChvState::kMaxUnblockAttempts;
    // A successful unblock leaves CHV1 enabled.
    c.enabled = true;
    if (!m_save()) {
        c = before;
        return status(sw::kMemoryProblem);
    }
    isVerified = true;
    return status(sw::kOk);
}

} // namespace kestrel::emulator
