#include "app/CardOpening.h"

#include <array>

#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

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
    DirectoryInfo mf;
    if (!card.selectFile(gsm::fid::kMf, 0, &mf))
        return false;
    const bool blocked1 = mf.chvBlocked(1);
    const bool blocked2 = mf.chvBlocked(2);
    if (!blocked1 && !blocked2)
        return notTried();
    if (prompter.question(kUnblockOfferId, PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
        return notTried();
    if (blocked1 && !unblockOne(card, prompter, 1))
        return false;
    if (!blocked2)
        return true;
    if (unblockOne(card, prompter, 2))
        return true;
    // The PUK2 dialog closed after PIN1 was unblocked: the card opens again for work that needs
    // PIN1 only; work that needs PIN2 finds it still blocked.
    return blocked1 && card.lastStatus() == CardStatus::OperationCancelled;
}

} // namespace kestrel
