#include "ui/QtPrompter.h"

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "ui/CardErrorDialog.h"
#include "ui/PinDialog.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

// OK (objectName okButton, text okTextId) and Cancel; OK accepts only while `mayAccept` holds.
QDialogButtonBox* okCancel(QDialog& dialog, int okTextId = strId(sid::Ok_9324), std::function<bool()> mayAccept = {})
{
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(uiText(okTextId), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(uiText(strId(sid::Cancel_9325)), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, mayAccept] {
        if (!mayAccept || mayAccept())
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// A label with a string-table text before a value.
QHBoxLayout* labelled(QDialog& dialog, int textId, QLabel* value)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(uiText(textId), &dialog));
    row->addWidget(value, 1);
    return row;
}

} // namespace

QtPrompter::QtPrompter(AppState& state, QWidget* parent) : m_state(state), m_parent(parent)
{
    setOperationListener(this);
}

void QtPrompter::operationStarted(int captionId)
{
    // Before the progress window shows, the dialog or window up is the one whose command this is
    // (a nested operation is part of the outer one).
    if (!m_state.mainStatus().busy()) {
        QWidget* modal = QApplication::activeModalWidget();
        m_operationWindow = modal && modal->isVisible() ? modal : QApplication::activeWindow();
    }
    m_state.mainStatus().operationStarted(captionId);
}

void QtPrompter::operationFinished(const CardOperationReport& report)
{
    m_state.mainStatus().operationFinished(report);
}

QWidget* QtPrompter::dialogParent() const
{
    // Over what the user works in: a dialog that is up, the window that has the focus, the editor
    // window whose command runs; the main window only when there is nothing else. A box over the
    // main window would bring it up over the editor windows.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (m_operationWindow && m_operationWindow->isVisible())
        return m_operationWindow;
    if (m_editorSource) {
        if (QWidget* editor = m_editorSource(); editor && editor->isVisible())
            return editor;
    }
    return m_parent;
}

PromptAnswer QtPrompter::ask(const QString& text, PromptIcon icon, std::optional<PromptButtons> buttons)
{
    QMessageBox box(boxIcon(icon), uiText(strId(sid::Kestrel_9300)), displayText(text), QMessageBox::NoButton,
                    dialogParent());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    if (!buttons) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return PromptAnswer::Yes;
    }
    if (*buttons == PromptButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        // Closed otherwise: the answer that goes on least.
        return *buttons == PromptButtons::YesNoCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    }
}

PromptAnswer QtPrompter::question(int textId, PromptButtons buttons, PromptIcon icon)
{
    return ask(StringTable::text(textId), icon, buttons);
}

void QtPrompter::message(int textId, PromptIcon icon)
{
    ask(StringTable::text(textId), icon, std::nullopt);
}

void QtPrompter::messageText(const QString& text, PromptIcon icon)
{
    ask(text, icon, std::nullopt);
}

PromptAnswer QtPrompter::questionText(const QString& text, PromptButtons buttons, PromptIcon icon)
{
    return ask(text, icon, buttons);
}

void QtPrompter::showCardError(const QString& text)
{
    CardErrorDialog dialog(m_state, text, dialogParent());
    dialog.exec();
}

std::optional<SecretText> QtPrompter::askPin(int chv)
{
    PinDialog dialog(chv == 2 ? sid::EnterPin2_172 : 109, {}, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.take(0);
}

std::optional<Prompter::PinFields> QtPrompter::enterThree(int dialogId, const PinFields* previous)
{
    PinDialog dialog(
        dialogId, [this](int id, PromptIcon icon) { message(id, icon); }, dialogParent());
    if (previous) {
        dialog.setField(0, previous->first);
        dialog.setField(1, previous->newPin);
        dialog.setField(2, previous->again);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PinFields fields;
    fields.first = dialog.take(0);
    fields.newPin = dialog.take(1);
    fields.again = dialog.take(2);
    return fields;
}

std::optional<Prompter::PinFields> QtPrompter::enterPinChange(int chv, const PinFields* previous)
{
    return enterThree(chv == 2 ? sid::ChangePin2_174 : sid::ChangePin_173, previous);
}

std::optional<Prompter::PinFields> QtPrompter::enterUnblock(int chv, const PinFields* previous)
{
    return enterThree(chv == 2 ? sid::EnterPuk2_175 : sid::EnterPuk_163, previous);
}

std::optional<uint8_t> QtPrompter::selectToolkitItem(const QString& title, const std::vector<ToolkitChoice>& entries)
{
    QDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("toolkitSelectDialog"));
    dialog.setWindowTitle(uiText(strId(sid::SimApplicationSelectItem_9021)));
    auto* layout = new QVBoxLayout(&dialog);
    auto* heading = new QLabel(title, &dialog);
    heading->setObjectName(QStringLiteral("title"));
    heading->setTextFormat(Qt::PlainText);
    layout->addLayout(labelled(dialog, strId(sid::ItemsDisplayed_9734), heading)); // "Items displayed:"
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("items"));
    for (const ToolkitChoice& entry : entries) {
        auto* item = new QListWidgetItem(entry.text, list);
        item->setData(Qt::UserRole, entry.id);
    }
    if (list->count() > 0)
        list->setCurrentRow(0);
    // "&Select" or a double-click closes the dialog only with an entry selected.
    const auto chosen = [list] { return list->currentItem() && list->currentItem()->isSelected(); };
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, [&dialog, chosen] {
        if (chosen())
            dialog.accept();
    });
    layout->addWidget(list);
    layout->addWidget(okCancel(dialog, strId(sid::Select_9735), chosen));
    if (dialog.exec() != QDialog::Accepted || !chosen())
        return std::nullopt;
    return static_cast<uint8_t>(list->currentItem()->data(Qt::UserRole).toUInt());
}

std::optional<QString> QtPrompter::inputToolkitText(const QString& prompt)
{
    QDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("toolkitInputDialog"));
    dialog.setWindowTitle(uiText(strId(sid::SimApplicationInputText_238)));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setObjectName(QStringLiteral("prompt"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addLayout(labelled(dialog, strId(sid::Display_9736), label)); // "Display: "
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("inputText"));
    layout->addWidget(edit);
    layout->addWidget(okCancel(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

void QtPrompter::showToolkitText(const QString& text)
{
    ask(text, PromptIcon::Information, std::nullopt);
}

} // namespace kestrel
