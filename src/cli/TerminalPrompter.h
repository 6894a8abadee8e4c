#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QTextStream>

#include "app/Prompter.h"

namespace kestrel::cli {

// The codes and answers given on the command line. Each code is handed out at most once, so a
// code the card refused is never sent again by a second prompt.
struct TerminalAnswers
{
    bool yes = false; // --yes: every question answered Yes
    std::optional<SecretText> pin;
    std::optional<SecretText> pin2;
    std::optional<SecretText> puk;
    std::optional<SecretText> puk2;
    std::optional<SecretText> newPin;
    std::optional<SecretText> newPin2;
};

// The Prompter of kestrel-cli. Questions: Yes with --yes, else asked on the terminal, else (no
// terminal) the safe answer No. Codes: from the options, else read from the terminal with echo
// off (restored even when the read fails or the program is interrupted), else the prompt counts
// as closed. Messages and the card error go to `err`; codes are never printed.
class TerminalPrompter final : public Prompter
{
public:
    // interactive: standard input is a terminal that may be asked.
    TerminalPrompter(TerminalAnswers answers, QTextStream& err, bool interactive);

    PromptAnswer question(int textId, PromptButtons buttons, PromptIcon icon) override;
    void message(int textId, PromptIcon icon) override;
    void messageText(const QString& text, PromptIcon icon) override;
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

    // Reads one line from the terminal on standard input with echo off; nullopt at end of input.
    static std::optional<SecretText> readSecret(QTextStream& err, const QString& label);

protected:
    std::optional<PinFields> enterPinChange(int chv, const PinFields* previous) override;
    std::optional<PinFields> enterUnblock(int chv, const PinFields* previous) override;

private:
    // The option's code (once), else the terminal's, else nullopt.
    std::optional<SecretText> code(std::optional<SecretText>& option, const QString& label);
    std::optional<PinFields> fields(std::optional<SecretText>& first, const QString& firstLabel,
                                    std::optional<SecretText>& newCode, const QString& newLabel,
                                    const QString& againLabel, const PinFields* previous);

    TerminalAnswers m_answers;
    QTextStream& m_err;
    bool m_interactive;
    int m_lastMessage = 0;
    std::optional<uint8_t> m_toolkitItem;
    std::optional<QString> m_toolkitInput;
    std::vector<QString> m_toolkitTexts;
};

} // namespace kestrel::cli
