#include "app/CardOpening.h"

#include <array>

#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

// Attempts left of CHV1 and CHV2: low four bits of bytes 19 and 21 of the MF response.
int attemptsLeft(const std::array<uint8_t, 36>& mf, int chv)
{
    return mf[chv == 1 ? 18 : 20] & 0x0F;
}

bool unblockOne(SimCard& card, Prompter& prompter, int chv)
{
    std::optional<PinUnblock> codes = prompter.askUnblock(chv);
    if (!codes) {
        card.setLastStatus(CardStatus::OperationCancelled);
        return false;
    }
    if (!card.unblockCard(codes->puk, codes->newPin, chv))
        return false;
    card.rememberPin(chv, codes->newPin);
    return true;
}

} // namespace

bool startCardOperation(SimCard& card, Prompter& prompter, bool chv1, bool chv2, bool strict, bool toolkit)
{
    if (card.openCard(chv1, chv2, strict, toolkit))
        return true;
    if (!offerUnblock(card, prompter))
        return false;
    return card.openCard(chv1, chv2, strict, toolkit);
}

bool offerUnblock(SimCard& card, Prompter& prompter)
{
    if (card.lastStatus() != CardStatus::CardBlocked)
        return false;
    // Whatever happens below without a failure of its own, the caller reports the blocked card.
    auto notTried = [&card] {
        card.setLastStatus(CardStatus::CardBlocked);
        return false;
    };
    if (!card.openCard(false, false, true, false))
        return false;
    std::array<uint8_t, 36> mf{};
    if (!card.selectFile(SimFiles::kMf, 0, &mf))
        return false;
    const int left1 = attemptsLeft(mf, 1);
    const int left2 = attemptsLeft(mf, 2);
    if (left1 > 0 && left2 > 0)
        return notTried();
    if (prompter.question(kUnblockOfferId, PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
        return notTried();
    if (left1 == 0 && !unblockOne(card, prompter, 1))
        return false;
    if (left2 > 0)
        return true;
    return unblockOne(card, prompter, 2);
}

} // namespace kestrel
