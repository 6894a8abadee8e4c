#include "ui/backup/RestoreChoiceDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/DialogButtons.h"

namespace kestrel {

namespace {

struct Part
{
    int textId;
    const char* name;
    bool RestoreChoice::*member;
};

// The check boxes 1096, 1097, 1098, 1022 and 1023, in the dialog's order.
constexpr Part kParts[] = {
    {sid::PhoneBook_1096, "phoneBookBox", &RestoreChoice::phoneBook},
    {sid::FixedDialingNumbers_1097, "fdnBox", &RestoreChoice::fdn},
    {sid::SmsMessages_1098, "smsBox", &RestoreChoice::sms},
    {sid::SmsParameters_9690, "smsParametersBox", &RestoreChoice::smsParameters},
    {sid::Networks_9691, "networksBox", &RestoreChoice::networks},
};

} // namespace

RestoreChoiceDialog::RestoreChoiceDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("restoreChoiceDialog"));
    setWindowTitle(StringTable::text(sid::RestoreCard_181));
    auto* group = new QGroupBox(StringTable::text(sid::WhatToRestore_9689), this);
    auto* boxes = new QVBoxLayout(group);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        auto* box = new QCheckBox(StringTable::text(kParts[i].textId), group);
        box->setObjectName(QLatin1String(kParts[i].name));
        box->setChecked(true);
        boxes->addWidget(box);
        m_boxes[i] = box;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    QDialogButtonBox* buttons = addOkCancel(this, sid::Ok_9655, sid::Close_9647);
    layout->addWidget(buttons);
    // With nothing ticked there is nothing to restore: OK waits for a tick.
    auto* ok = buttons->findChild<QPushButton*>(QStringLiteral("okButton"));
    for (QCheckBox* box : m_boxes)
        connect(box, &QCheckBox::toggled, ok, [this, ok] {
            ok->setEnabled(std::any_of(m_boxes.begin(), m_boxes.end(), [](QCheckBox* b) { return b->isChecked(); }));
        });
}

RestoreChoice RestoreChoiceDialog::choice() const
{
    RestoreChoice choice;
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        choice.*kParts[i].member = m_boxes[i]->isChecked();
    return choice;
}

std::optional<RestoreChoice> RestoreChoiceDialog::ask(QWidget* parent)
{
    RestoreChoiceDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace kestrel
