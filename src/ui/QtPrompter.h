#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "app/CardOperation.h"
#include "app/Prompter.h"

class QMessageBox;

namespace kestrel {

class AppState;

// The desktop's Prompter: every question and message as a message box captioned "Kestrel!"
// (object name "messageBox"), the PIN dialogs (PinDialog), the card-error dialog
// (CardErrorDialog) and the toolkit's choice ("toolkitSelectDialog") and input
// ("toolkitInputDialog") dialogs, all modal over the window the user works in (dialogParent).
// It tells the AppState's MainStatus of every card operation run with it.
class QtPrompter final : public Prompter, private CardOperationListener
{
public:
    explicit QtPrompter(AppState& state, QWidget* parent = nullptr);

    void setParent(QWidget* parent) { m_parent = parent; }
    QWidget* parent() const { return m_parent; }
    // The editor window whose command runs (the main window's active editor).
    void setEditorSource(std::function<QWidget*()> source) { m_editorSource = std::move(source); }
    // What a dialog is shown over: the visible modal dialog, else the program's active window,
    // else the window that was active when the last card operation began (its closing messages
    // come while the progress window hands the activation back), else the editor window of the
    // source, else the parent.
    QWidget* dialogParent() const;

    PromptAnswer question(int textId, PromptButtons buttons, PromptIcon icon) override;
    void message(int textId, PromptIcon icon) override;
    void messageText(const QString& text, PromptIcon icon) override;
    PromptAnswer questionText(const QString& text, PromptButtons buttons, PromptIcon icon) override;
    void showCardError(const QString& text) override;
    std::optional<SecretText> askPin(int chv) override;
    // A cancel shows no box: the main window's status line says "Operation cancelled by user".
    bool showsCancelInStatus() const override { return true; }

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
    // CardOperationListener: notes the window the operation came from, then tells the MainStatus.
    void operationStarted(int captionId) override;
    void operationFinished(const CardOperationReport& report) override;

    AppState& m_state;
    QPointer<QWidget> m_parent;
    std::function<QWidget*()> m_editorSource;
    QPointer<QWidget> m_operationWindow;
};

} // namespace kestrel
