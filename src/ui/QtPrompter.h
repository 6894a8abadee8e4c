#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Prompter.h"

class QMessageBox;

namespace kestrel {

class AppState;

// The desktop's Prompter: every question and message as a message box captioned "Kestrel!"
// (object name "messageBox"), the PIN dialogs (PinDialog), the card-error dialog
// (CardErrorDialog) and the toolkit's choice ("toolkitSelectDialog") and input
// ("toolkitInputDialog") dialogs, all modal over the parent window.
class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(AppState& state, QWidget* parent = nullptr);

    void setParent(QWidget* parent) { m_parent = parent; }
    QWidget* parent() const { return m_parent; }

    PromptAnswer question(int textId, PromptButtons buttons, PromptIcon icon) override;
    void message(int textId, PromptIcon icon) override;
    void messageText(const QString& text, PromptIcon icon) override;
    void showCardError(const QString& text) override;
    std::optional<SecretText> askPin(int chv) override;

    std::optional<uint8_t> selectToolkitItem(const QString& title, const std::vector<ToolkitChoice>& entries) override;
    std::optional<QString> inputToolkitText(const QString& prompt) override;
    void showToolkitText(const QString& text) override;

    // A message box with a text of its own (a question when buttons are given).
    PromptAnswer ask(const QString& text, PromptIcon icon, std::optional<PromptButtons> buttons);

protected:
    std::optional<PinFields> enterPinChange(int chv, const PinFields* previous) override;
    std::optional<PinFields> enterUnblock(int chv, const PinFields* previous) override;

private:
    std::optional<PinFields> enterThree(int dialogId, const PinFields* previous);

    AppState& m_state;
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
