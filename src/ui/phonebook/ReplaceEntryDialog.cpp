#include "ui/phonebook/ReplaceEntryDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "phonebook/FindReplace.h"

namespace kestrel {

ReplaceEntryDialog::ReplaceEntryDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("replaceEntryDialog"));
    setWindowTitle(StringTable::text(kReplaceDialogCaption));
    auto* text = new QLabel(StringTable::text(kReplaceQuestion), this);
    text->setObjectName(QStringLiteral("questionText"));

    auto* buttons = new QHBoxLayout;
    const struct
    {
        int textId;
        const char* name;
        Answer answer;
    } kButtons[] = {
        {kReplaceYesLabel, "yesButton", Yes},
        {strId(sid::No_1104), "noButton", No},
        {strId(sid::All_1035), "allButton", All},
        {strId(sid::Cancel_9617), "cancelButton", Cancel},
    };
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(StringTable::text(b.textId), this);
        button->setObjectName(QLatin1String(b.name));
        button->setDefault(b.answer == Yes);
        connect(button, &QPushButton::clicked, this, [this, answer = b.answer] { done(answer); });
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
}

ReplaceEntryDialog::Answer ReplaceEntryDialog::ask(QWidget* parent)
{
    ReplaceEntryDialog dialog(parent);
    const int result = dialog.exec();
    switch (result) {
    case Yes:
    case No:
    case All:
        return static_cast<Answer>(result);
    default:
        return Cancel; // rejected: Escape or the close box
    }
}

} // namespace kestrel
