#pragma once

#include <optional>

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// How a command ended.
enum class CommandResult
{
    Done,    // carried out (or there was nothing to do)
    NotDone, // the user declined or closed a dialog; nothing was changed
    Failed,  // the card operation failed; its message was shown through Prompter::showCardError
};

// The commands of the PIN menu and the FDN switch, without a display: every question, prompt and
// message goes through the Prompter, every card access through a CardOperation frame.
class PinCommands
{
public:
    PinCommands(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr);

    // Enter PIN / Enter PIN2: forget the remembered code and verify it again (prompting). With
    // CHV1 disabled nothing is asked and nothing is shown.
    CommandResult enterPin();
    CommandResult enterPin2();
    // Change PIN (chv 1) / Change PIN2 (chv 2): dialog 173/174 first; a disabled PIN1 is enabled
    // with the old code, then changed. "PIN successfuly changed" on success.
    CommandResult changePin(int chv);
    // Enable/Disable PIN: asks whether to switch PIN1 the other way
    // (sid::PinIsActivatedDeactivateIt_5607/sid::PinIsDeactivatedActivateIt_5608), then for PIN1. With `wanted` given,
    // the state asked for is set without the question (nothing to do when the card is in it already).
    CommandResult enableDisablePin(std::optional<bool> wanted = {});
    // Unblock Card: PUK1 and/or PUK2 as the card's CHV states call for.
    CommandResult unblockCard();
    // Activate FDN: fixed dialling is on while EF_ADN is invalidated. Asks
    // (sid::FixedDialingNumbersDeactivatedActivate_5606/sid::FixedDialingNumbersActivatedDeactivate_5605) to switch it
    // the other way, then for PIN2. `wanted` as for enableDisablePin.
    CommandResult activateFdn(std::optional<bool> wanted = {});

private:
    CommandResult verify(int chv);

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
};

} // namespace kestrel
