#include "app/Prompter.h"

#include "base/StringTable.h"

namespace kestrel {

int Prompter::pinChangeCheck(const SecretText& oldPin, const SecretText& newPin, const SecretText& again)
{
    if (!(newPin == again))
        return strId(sid::NewPinWasNotEntered_5600);
    if (oldPin.size() < 4 || newPin.size() < 4)
        return strId(sid::EnteredPinIsTooShort_5601);
    return 0;
}

int Prompter::unblockCheck(const SecretText& newPin, const SecretText& again)
{
    if (newPin == again && newPin.size() >= 4)
        return 0;
    return strId(sid::EnteredPINsDoNotMatch_59025);
}

bool Prompter::confirmLastTry(int, bool unblock)
{
    const int textId = unblock ? strId(sid::OnlyOneTryIsLeft_9844) : strId(sid::OnlyOneTryIsLeft_9843);
    return question(textId, PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes;
}

std::optional<PinChange> Prompter::askPinChange(int chv)
{
    std::optional<PinFields> fields = enterPinChange(chv, nullptr);
    while (fields) {
        const int problem = pinChangeCheck(fields->first, fields->newPin, fields->again);
        if (problem == 0)
            return PinChange{fields->first, fields->newPin};
        message(problem, PromptIcon::Stop);
        const PinFields previous = *fields;
        fields = enterPinChange(chv, &previous);
    }
    return std::nullopt;
}

std::optional<PinUnblock> Prompter::askUnblock(int chv)
{
    std::optional<PinFields> fields = enterUnblock(chv, nullptr);
    while (fields) {
        const int problem = unblockCheck(fields->newPin, fields->again);
        if (problem == 0)
            return PinUnblock{fields->first, fields->newPin};
        message(problem, PromptIcon::Exclamation);
        PinFields previous;
        previous.first = fields->first;
        fields = enterUnblock(chv, &previous);
    }
    return std::nullopt;
}

std::optional<uint8_t> Prompter::selectToolkitItem(const QString&, const std::vector<ToolkitChoice>&)
{
    return std::nullopt;
}

std::optional<QString> Prompter::inputToolkitText(const QString&)
{
    return std::nullopt;
}

void Prompter::showToolkitText(const QString&) {}

} // namespace kestrel
