#include "app/PinCommands.h"

#include <array>

#include "app/CardOpening.h"
#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

using namespace gsm::fid;

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
    return op.run(strId(sid::WorkingOnSimCard_5106), open) ? CommandResult::Done : CommandResult::Failed;
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
    const bool ok = op.run(strId(sid::ReadingPhoneBook_5100), OpenFlags{}, [&] {
        if (!m_card.showProgressText(strId(sid::VerifyingAndRecordingNewPin_5007), 65))
            return false;
        if (!m_card.setChv(codes->oldPin, &codes->newPin, chv, true))
            return false;
        op.setSuccessMessage(strId(sid::PinSuccessfulyChanged_5602));
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
    const bool ok = op.run(strId(sid::WorkingOnSimCard_5106), open, [&] {
        const bool enabled = m_card.isChv1Enabled();
        if (wanted && *wanted == enabled)
            return true;
        if (!wanted && !yes(m_prompter, enabled ? strId(sid::PinIsActivatedDeactivateIt_5607)
                                                : strId(sid::PinIsDeactivatedActivateIt_5608))) {
            declined = true;
            return true;
        }
        // A closed prompt goes on with an empty text, which fails with sid::WrongPin_136 before any command.
        std::optional<SecretText> pin = m_prompter.askPin(1);
        if (!m_card.setChv(pin ? *pin : SecretText(), nullptr, 1, !enabled))
            return false;
        changed = true;
        op.setSuccessMessage(enabled ? strId(sid::PinIsNowOff_5611) : strId(sid::PinIsNowOn_5612));
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
    const bool ok = op.run(strId(sid::UnblockingSimCard_5105), OpenFlags{}, [&] {
        if (!m_card.showProgressText(strId(sid::CheckingSimCardCondition_5008), 30))
            return false;
        DirectoryInfo mf;
        if (!m_card.selectFile(kMf, 0, &mf))
            return false;
        const bool blocked1 = mf.chvBlocked(1);
        const bool blocked2 = mf.chvBlocked(2);
        bool puk1 = blocked1;
        if (!blocked1 && !blocked2)
            puk1 = yes(m_prompter, strId(sid::CardWasNotBlockedDo_6220));
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
            op.setSuccessMessage(strId(sid::CardWasSuccessfulyUnblocked_5604));
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
    const bool ok = op.run(strId(sid::WorkingOnSimCard_5106), open, [&] {
        if (!m_card.requireService(gsm::service::kFdn))
            return false;
        FileInfo adn;
        if (!m_card.selectFile(kDfTelecom, kEfAdn, nullptr, &adn))
            return false;
        // Fixed dialling is in force while EF_ADN is invalidated.
        const bool fdnOn = adn.invalidated;
        if (wanted && *wanted == fdnOn)
            return true;
        if (!wanted && !yes(m_prompter, fdnOn ? strId(sid::FixedDialingNumbersActivatedDeactivate_5605)
                                              : strId(sid::FixedDialingNumbersDeactivatedActivate_5606))) {
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
