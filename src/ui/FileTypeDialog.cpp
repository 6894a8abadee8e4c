#include "ui/FileTypeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include "ui/UiText.h"

namespace kestrel {

FileTypeDialog::FileTypeDialog(const std::vector<EditorKind>& kinds, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("openFileDialog"));
    setWindowTitle(uiText(strId(sid::OpenFile_9329)));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("fileType"));
    for (const EditorKind kind : kinds) {
        // Phone book files hold phone books and fixed dialling numbers alike.
        const QString text =
            kind == EditorKind::Sms ? uiText(strId(sid::SmsMessages_1098)) : uiText(strId(sid::PhoneBook_1096));
        m_type->addItem(text, static_cast<int>(kind));
    }
    auto* form = new QFormLayout(this);
    form->addRow(uiText(strId(sid::FileOfType_9330)), m_type);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(uiText(strId(sid::Ok_9324)), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(uiText(strId(sid::Cancel_9325)), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

EditorKind FileTypeDialog::chosen() const
{
    return static_cast<EditorKind>(m_type->currentData().toInt());
}

std::optional<EditorKind> FileTypeDialog::ask(const std::vector<EditorKind>& kinds, QWidget* parent)
{
    if (kinds.empty())
        return std::nullopt;
    FileTypeDialog dialog(kinds, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace kestrel
