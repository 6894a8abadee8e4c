#include "ui/PinDialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "ui/UiText.h"

namespace kestrel {

namespace {

struct DialogText
{
    int id;
    int caption;
    std::array<int, 3> labels; // 0: no such field
    bool digitsOnly;
};

constexpr std::array<DialogText, 6> kDialogs = {{
    {109, strId(sid::EnterPin_9312), {strId(sid::PleaseEnterPin_9313), 0, 0}, false},
    {sid::EnterPin2_172, strId(sid::EnterPin2_172), {strId(sid::PleaseEnterPin2_9314), 0, 0}, true},
    {sid::ChangePin_173,
     strId(sid::ChangePin_173),
     {strId(sid::EnterOldPin_9315), strId(sid::EnterNewPin_9316), strId(sid::ReEnterNewPin_9317)},
     true},
    {sid::ChangePin2_174,
     strId(sid::ChangePin2_174),
     {strId(sid::EnterOldPin2_9318), strId(sid::EnterNewPin2_9319), strId(sid::ReEnterNewPin2_9320)},
     true},
    {sid::EnterPuk_163,
     strId(sid::EnterPuk_163),
     {strId(sid::EnterPuk_9321), strId(sid::EnterNewPin_9316), strId(sid::ReEnterNewPin_9317)},
     true},
    {sid::EnterPuk2_175,
     strId(sid::EnterPuk2_175),
     {strId(sid::EnterPuk2_9322), strId(sid::EnterNewPin2_9319), strId(sid::ReEnterPin2_9323)},
     true},
}};

const DialogText& dialogText(int id)
{
    for (const DialogText& d : kDialogs) {
        if (d.id == id)
            return d;
    }
    return kDialogs[0];
}

// Overwrites a text this function holds the only reference to.
void overwrite(QString& text)
{
    std::fill(text.begin(), text.end(), QChar(u'\0'));
    text.clear();
}

} // namespace

PinDialog::PinDialog(int dialogId, MessageSink messages, QWidget* parent)
    : QDialog(parent), m_id(dialogText(dialogId).id), m_messages(std::move(messages))
{
    const DialogText& d = dialogText(dialogId);
    setObjectName(QStringLiteral("dialog%1").arg(m_id));
    setWindowTitle(uiText(d.caption));

    auto* form = new QFormLayout(this);
    m_count = 0;
    for (std::size_t i = 0; i < d.labels.size() && d.labels[i] != 0; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("field%1").arg(1013 + static_cast<int>(i)));
        edit->setEchoMode(QLineEdit::Password);
        edit->setMaxLength(8);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        if (d.digitsOnly)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        form->addRow(uiText(d.labels[i]), edit);
        m_fields[i] = edit;
        ++m_count;
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(uiText(strId(sid::Ok_9324)), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(uiText(strId(sid::Cancel_9325)), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PinDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PinDialog::reject);
    form->addRow(buttons);
    m_fields[0]->setFocus();
}

PinDialog::~PinDialog()
{
    wipe();
}

void PinDialog::setField(int i, const SecretText& text)
{
    QLineEdit* edit = field(i);
    if (!edit)
        return;
    const std::string_view digits = text.view();
    edit->setText(QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size())));
}

SecretText PinDialog::peek(int i) const
{
    QLineEdit* edit = field(i);
    // text() shares the widget's buffer; fromText copies straight into the secret's own buffer.
    return edit ? SecretText::fromText(edit->text()) : SecretText();
}

SecretText PinDialog::take(int i)
{
    QLineEdit* edit = field(i);
    if (!edit)
        return SecretText();
    QString text = edit->text();
    SecretText out = SecretText::fromText(text);
    // setText (unlike clear) drops the edit's undo history; afterwards `text` holds the only
    // reference to the buffer the code was typed into, which is then overwritten.
    edit->setText(QString());
    overwrite(text);
    return out;
}

void PinDialog::wipe()
{
    for (int i = 0; i < m_count; ++i)
        take(i);
}

void PinDialog::accept()
{
    if (isChangeDialog(m_id)) {
        const int problem = Prompter::pinChangeCheck(peek(0), peek(1), peek(2));
        if (problem != 0) {
            if (m_messages)
                m_messages(problem, PromptIcon::Stop);
            return;
        }
    } else if (isUnblockDialog(m_id)) {
        const int problem = Prompter::unblockCheck(peek(1), peek(2));
        if (problem != 0) {
            if (m_messages)
                m_messages(problem, PromptIcon::Exclamation);
            take(1);
            take(2);
            m_fields[1]->setFocus();
            return;
        }
    }
    QDialog::accept();
}

} // namespace kestrel
