#pragma once

#include <optional>

#include "sim/SecretText.h"

namespace kestrel {

// What opening a card may have to ask: the PIN1 prompt ("Kestrel! - Enter PIN", "Please enter
// PIN:") or the PIN2 prompt ("Kestrel! - Enter PIN2", "Please enter PIN2:"), one masked field of at
// most 8 characters. The front ends' Prompter is one.
class PinPrompt
{
public:
    virtual ~PinPrompt() = default;

    // chv 1 or 2. nullopt when the prompt was closed without OK.
    virtual std::optional<SecretText> askPin(int chv) = 0;
    // Asked before a code goes to the card while its counter shows one try left (chv 1 or 2;
    // unblock: the counter of its unblocking code). True sends it; a prompt that cannot ask sends
    // nothing.
    virtual bool confirmLastTry(int chv, bool unblock)
    {
        (void)chv;
        (void)unblock;
        return false;
    }
};

} // namespace kestrel
