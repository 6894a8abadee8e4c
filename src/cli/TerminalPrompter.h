#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include <QString>
#include <QTextStream>

#include "app/Prompter.h"

namespace kestrel::cli {

// The codes a card command can be given, one option each (--pin, --pin2, --puk, --puk2,
// --new-pin, --new-pin2).
enum class CodeSlot
{
    Pin,
    Pin2,
    Puk,
    Puk2,
    NewPin,
    NewPin2,
};
inline constexpr std::size_t kCodeSlots = 6;
static_assert(static_cast<std::size_t>(CodeSlot::NewPin2) + 1 == kCodeSlots);

// The codes and answers given to the command (options, standard input, environment). Each code is
// handed out at most once, so a code the card refused is never sent again by a second prompt.
struct TerminalAnswers
{
    bool yes = false; // --yes: every question answered Yes
    std::array<std::optional<SecretText>, kCodeSlots> codes;

    std::optional<SecretText>& operator[](CodeSlot slot) { return codes[static_cast<std::size_t>(slot)]; }
};

// The Prompter of kestrel-cli. Questions: Yes with --yes, else asked on the terminal, else (no
// terminal) the safe answer No. Codes: as given, else read from the terminal with echo off
// (restored even when the read fails or the program is interrupted), else the prompt counts as
// closed and the code is noted as needed ("PIN1 needed: give --pin"), which is said instead of
// the card's "Operation cancelled" or when the command fails. Messages and the card error go to
// `err`; codes are never printed.
class TerminalPrompter final : public Prompter
{
public:
    // interactive: standard input is a terminal that may be asked.
    TerminalPrompter(TerminalAnswers answers, QTextStream& err, bool interactive);

    PromptAnswer question(int textId, PromptButtons buttons, PromptIcon icon) override;
    void message(int textId, PromptIcon icon) override;
    void messageText(const QString& text, PromptIcon icon) override;
    // As question, the text's lines kept.
    PromptAnswer questionText(const QString& text, PromptButtons buttons, PromptIcon icon) override;
    void showCardError(const QString& text) override;
    std::optional<SecretText> askPin(int chv) override;

    // SIM Application Toolkit dialogs: the --item and --input answers (each used once), else
    // asked on the terminal, else cancelled. Texts the card displays are kept (and written to
    // `err` on a terminal).
    void setToolkitAnswers(std::optional<uint8_t> item, std::optional<QString> input);
    std::optional<uint8_t> selectToolkitItem(const QString& title, const std::vector<ToolkitChoice>& entries) override;
    std::optional<QString> inputToolkitText(const QString& prompt) override;
    void showToolkitText(const QString& text) override;
    const std::vector<QString>& toolkitTexts() const { return m_toolkitTexts; }

    // The last message shown (string-table number), 0 when none.
    int lastMessage() const { return m_lastMessage; }

    // Called before anything is written to `err`: the terminal's progress line is ended there, so
    // that a question, a code prompt or a message starts on a line of its own.
    void setBeforeOutput(std::function<void()> beforeOutput);

    // Says once, on `err`, each code that was needed and could not be asked; false when none was.
    bool reportNeededCodes();

    // Reads one line from the terminal on standard input with echo off; nullopt at end of input.
    static std::optional<SecretText> readSecret(QTextStream& err, const QString& label);
    // Reads one line from standard input that is no terminal (a pipe or file) into a wiped
    // buffer; nullopt at end of input.
    static std::optional<SecretText> readPipedSecret();

protected:
    std::optional<PinFields> enterPinChange(int chv, const PinFields* previous) override;
    std::optional<PinFields> enterUnblock(int chv, const PinFields* previous) override;

private:
    void freshLine();
    // A question's text, then the answer: --yes, the terminal's, or No without a terminal.
    PromptAnswer ask(const QString& text);
    // `err`, with the progress line ended.
    QTextStream& line();
    // The given code (once), else nullopt.
    std::optional<SecretText> take(CodeSlot slot);
    // Without a terminal: notes the code as needed unless it was given (and used up) before.
    void noteNeeded(CodeSlot slot);
    // The given code (once), else the terminal's, else nullopt.
    std::optional<SecretText> code(CodeSlot slot, const QString& label);
    std::optional<PinFields> fields(CodeSlot first, const QString& firstLabel, CodeSlot newCode,
                                    const QString& newLabel, const QString& againLabel, const PinFields* previous);

    TerminalAnswers m_answers;
    std::array<bool, kCodeSlots> m_given{};
    std::vector<CodeSlot> m_needed;   // in the order noticed, each once
    std::size_t m_neededReported = 0; // how many of them were said
    QTextStream& m_err;
    bool m_interactive;
    int m_lastMessage = 0;
    std::optional<uint8_t> m_toolkitItem;
    std::optional<QString> m_toolkitInput;
    std::vector<QString> m_toolkitTexts;
    std::function<void()> m_beforeOutput;
};

} // namespace kestrel::cli
