#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>

#include "sim/PinPrompt.h"
#include "sim/SecretText.h"

namespace kestrel {

class CardOperationListener;

// What a question offers and shows.
enum class PromptButtons
{
    YesNoCancel,
    YesNo,
};

enum class PromptIcon
{
    Question,
    Information,
    Stop, // refusals and failed checks
    Exclamation,
};

enum class PromptAnswer
{
    Yes,
    No,
    Cancel,
};

// One entry of a SIM Application Toolkit choice: the item identifier and the text shown, "<id>\ttext".
struct ToolkitChoice
{
    uint8_t id = 0;
    QString text;
};

// Dialog 173/174 once its check has passed: the old code and the new one (entered twice alike).
struct PinChange
{
    SecretText oldPin;
    SecretText newPin;
};

// Dialog 163/175 once its check has passed: the unblock code and the new code.
struct PinUnblock
{
    SecretText puk;
    SecretText newPin;
};

// Everything card work asks the user in its middle: questions, messages, the PIN prompts, the
// change-PIN and unblock dialogs, the card-error dialog. The desktop shows Qt dialogs, the command
// line answers from its options or asks on the terminal, tests script the answers. Texts are
// string-table numbers; an implementation shows StringTable::text(id).
class Prompter : public PinPrompt
{
public:
    // A question; the work goes on only on Yes.
    virtual PromptAnswer question(int textId, PromptButtons buttons, PromptIcon icon) = 0;
    virtual void message(int textId, PromptIcon icon) = 0;
    // A message whose text is composed at run time (a string-table text followed by a device name
    // or a status message) and so has no number of its own.
    virtual void messageText(const QString& text, PromptIcon icon) = 0;
    // A question whose text is composed at run time (a list of what an import leaves out); the
    // work goes on only on Yes.
    virtual PromptAnswer questionText(const QString& text, PromptButtons buttons, PromptIcon icon) = 0;
    // "Kestrel! - Card Operation Error" with text ("Communication error:", a line break, the
    // status message).
    virtual void showCardError(const QString& text) = 0;

    // askPin (PinPrompt): dialogs 109 and 172.
    // confirmLastTry (PinPrompt): a Yes/No question, sid::OnlyOneTryIsLeft_9843 for a PIN, sid::OnlyOneTryIsLeft_9844
    // for a PUK.
    bool confirmLastTry(int chv, bool unblock) override;

    // Dialog 173 (chv 1) or 174 (chv 2) with its check: a new code that differs from the re-entered
    // one shows sid::NewPinWasNotEntered_5600, an old or new code shorter than 4 characters shows
    // sid::EnteredPinIsTooShort_5601 (stop icon), and the dialog is asked again with the fields as they were. nullopt
    // when it was closed.
    std::optional<PinChange> askPinChange(int chv);
    // Dialog 163 (chv 1) or 175 (chv 2) with its check: the new code must equal the re-entered one
    // and have at least 4 characters, else sid::EnteredPINsDoNotMatch_59025 (exclamation icon) and the dialog again
    // with the unblock code kept and both new-code fields empty. The unblock code itself is not tested here.
    std::optional<PinUnblock> askUnblock(int chv);

    // The checks, for dialogs that run them while they stay open: 0 when the fields pass, else the
    // string-table number of the message to show.
    static int pinChangeCheck(const SecretText& oldPin, const SecretText& newPin, const SecretText& again);
    static int unblockCheck(const SecretText& newPin, const SecretText& again);

    // ---- SIM Application Toolkit -------------------------------------------------------------
    // A front end that cannot show these answers as if the dialog was closed (Cancel), which the
    // card is told; a text it cannot show is not shown.
    // "Kestrel! - SIM Application: Select item": title, then the entries with the first one
    // selected; the chosen item identifier, nullopt when cancelled.
    virtual std::optional<uint8_t> selectToolkitItem(const QString& title, const std::vector<ToolkitChoice>& entries);
    // "Kestrel! - SIM Application: Input text" (string sid::SimApplicationInputText_238) with the prompt; the text as
    // entered (its length is not checked), nullopt when cancelled.
    virtual std::optional<QString> inputToolkitText(const QString& prompt);
    // A text the card wants displayed, as an information message.
    virtual void showToolkitText(const QString& text);

    // Told when a card operation run with this Prompter begins and ends (the front end's account
    // of what the program is doing); none by default. Borrowed, never owned.
    void setOperationListener(CardOperationListener* listener) { m_listener = listener; }
    CardOperationListener* operationListener() const { return m_listener; }
    // True when the front end tells an operation the user cancelled (Abort, a prompt closed) in a
    // status line of its own (the desktop): no error is shown for it then. The command line shows
    // it as the failure it is.
    virtual bool showsCancelInStatus() const { return false; }

protected:
    // The three fields of a change dialog or an unblock dialog as the user filled them in.
    struct PinFields
    {
        SecretText first; // old code, or unblock code
        SecretText newPin;
        SecretText again;
    };
    // Shows the dialog, filled with `previous` when it is shown again after a failed check
    // (nullptr the first time). nullopt when it was closed without OK.
    virtual std::optional<PinFields> enterPinChange(int chv, const PinFields* previous) = 0;
    virtual std::optional<PinFields> enterUnblock(int chv, const PinFields* previous) = 0;

private:
    CardOperationListener* m_listener = nullptr;
};

} // namespace kestrel
