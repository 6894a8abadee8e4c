#include "app/PinCommands.h"

#include <array>

#include "app/CardOpening.h"
#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

using namespace SimFiles;

bool yes(Prompter& prompter, int textId)
{
    return prompter.question(textId, PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes;
}

} // namespace

PinCommands::PinCommands(SimCard& card, Prompter& prompter, ProgressSink* progress)
    : m_card(card), m_prompter(prompter), m_progress(progress)
{}

CommandResult PinCommands::verify(int chv)
{
    m_card.forgetPin(chv);
    OpenFlags open;
    open.chv1 = chv == 1;
    open.chv2 = chv == 2;
    CardOperation op(m_card, m_prompter, m_progress);
    return op.run(strId(5106), open) ? CommandResult::Done : CommandResult::Failed;
}

CommandResult PinCommands::enterPin()
{
    return verify(1);
}

CommandResult PinCommands::enterPin2()
{
    return verify(2);
}

CommandResult PinCommands::changePin(int chv)
{
    std::optional<PinChange> codes = m_prompter.askPinChange(chv);
    if (!codes)
        return CommandResult::NotDone;
    CardOperation op(m_card, m_prompter, m_progress);
    const bool ok = op.run(strId(5100), OpenFlags{}, [&] {
        if (!m_card.showProgressText(strId(5007), 65))
            return false;
        if (!m_card.setChv(codes->oldPin, &codes->newPin, chv, true))
            return false;
        op.setSuccessMessage(strId(5602));
        return true;
    });
    return ok ? CommandResult::Done : CommandResult::Failed;
}

CommandResult PinCommands::enableDisablePin(std::optional<bool> wanted)
{
    bool changed = false;
    bool declined = false;
    OpenFlags open;
    open.offerUnblock = true;
    CardOperation op(m_card, m_prompter, m_progress);
    const bool ok = op.run(strId(5106), open, [&] {
        const bool enabled = m_card.isChv1Enabled();
        if (wanted && *wanted == enabled)
            return true;
        if (!wanted && !yes(m_prompter, enabled ? strId(5607) : strId(5608))) {
            declined = true;
            return true;
        }
        // A closed prompt goes on with an empty text, which fails with 136 before any command.
        std::optional<SecretText> pin = m_prompter.askPin(1);
        if (!m_card.setChv(pin ? *pin : SecretText(), nullptr, 1, !enabled))
            return false;
        changed = true;
        op.setSuccessMessage(enabled ? strId(5611) : strId(5612));
        return true;
    });
    if (!ok)
        return CommandResult::Failed;
    return declined && !changed ? CommandResult::NotDone : CommandResult::Done;
}

CommandResult PinCommands::unblockCard()
{
    bool unblocked = false;
    CardOperation op(m_card, m_prompter, m_progress);
    const bool ok = op.run(strId(5105), OpenFlags{}, [&] {
        if (!m_card.showProgressText(strId(5008), 30))
            return false;
        std::array<uint8_t, 36> mf{};
        if (!m_card.selectFile(kMf, 0, &mf))
            return false;
        const bool blocked1 = chvBlocked(mf, 1);
        const bool blocked2 = chvBlocked(mf, 2);
        bool puk1 = blocked1;
        if (!blocked1 && !blocked2)
            puk1 = yes(m_prompter, strId(6220));
        for (const int chv : {1, 2}) {
            if (chv == 1 ? !puk1 : !blocked2)
                continue;
            std::optional<PinUnblock> codes = m_prompter.askUnblock(chv);
            if (!codes)
                continue;
            if (!m_card.unblockCard(codes->puk, codes->newPin, chv))
                return false;
            unblocked = true;
        }
        if (unblocked)
            op.setSuccessMessage(strId(5604));
        return true;
    });
    if (!ok)
        return CommandResult::Failed;
    return unblocked ? CommandResult::Done : CommandResult::NotDone;
}

CommandResult PinCommands::activateFdn(std::optional<bool> wanted)
{
    bool declined = false;
    OpenFlags open;
    open.chv1 = true;
    open.offerUnblock = true;
    CardOperation op(m_card, m_prompter, m_progress);
    const bool ok = op.run(strId(5106), open, [&] {
        if (!m_card.requireService(SimService::kFdn))
            return false;
        EfInfo adn;
        if (!m_card.selectFile(kDfTelecom, kEfAdn, nullptr, &adn))
            return false;
        // Fixed dialling is in force while EF_ADN is invalidated.
        const bool fdnOn = adn.invalidated();
        if (wanted && *wanted == fdnOn)
            return true;
        if (!wanted && !yes(m_prompter, fdnOn ? strId(5605) : strId(5606))) {
            declined = true;
            return true;
        }
        if (!startCardOperation(m_card, m_prompter, true, true, true, false))
            return false;
        if (!fdnOn)
            return m_card.invalidateFile(kDfTelecom, kEfAdn);
        return m_card.rehabilitateFile(kDfTelecom, kEfAdn) && m_card.rehabilitateFile(kDfGsm, kEfImsi) &&
               m_card.rehabilitateFile(kDfGsm, kEfLoci);
    });
    if (!ok)
        return CommandResult::Failed;
    return declined ? CommandResult::NotDone : CommandResult::Done;
}

} // namespace kestrel
