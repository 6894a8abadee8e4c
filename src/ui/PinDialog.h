#pragma once

#include <array>
#include <functional>

#include <QDialog>

#include "app/Prompter.h"
#include "base/StringIds.h"
#include "sim/SecretText.h"

class QLineEdit;

namespace kestrel {

// The PIN dialogs, object name "dialog<id>":
//   109 "Kestrel! - Enter PIN", 172 "Kestrel! - Enter PIN2": one field;
//   173/174 change PIN/PIN2 and 163/175 unblock with PUK/PUK2: three fields.
// Fields "field1013", "field1014", "field1015" are masked and take at most 8 characters (digits only
// except in 109); buttons "okButton" and "cancelButton". The change and unblock dialogs check their
// fields on OK and stay open when the check fails, showing its message.
class PinDialog final : public QDialog
{
    Q_OBJECT

public:
    // Shows a check's message (string-table number and icon).
    using MessageSink = std::function<void(int textId, PromptIcon icon)>;

    // dialogId one of 109, 172, 173, 174, 163, 175.
    PinDialog(int dialogId, MessageSink messages, QWidget* parent);
    ~PinDialog() override;

    int dialogId() const { return m_id; }
    int fieldCount() const { return m_count; }
    QLineEdit* field(int i) const { return m_fields[static_cast<std::size_t>(i)]; }
    // Fills field i from an earlier showing.
    void setField(int i, const SecretText& text);
    // The text of field i; the field is emptied and the widget's copy overwritten.
    SecretText take(int i);
    // Empties every field, overwriting what they held.
    void wipe();

    // The codes the dialog is for, by dialog id.
    static bool isChangeDialog(int dialogId)
    {
        return dialogId == sid::ChangePin_173 || dialogId == sid::ChangePin2_174;
    }
    static bool isUnblockDialog(int dialogId)
    {
        return dialogId == sid::EnterPuk_163 || dialogId == sid::EnterPuk2_175;
    }

public slots:
    void accept() override;

private:
    SecretText peek(int i) const;

    int m_id;
    int m_count;
    MessageSink m_messages;
    std::array<QLineEdit*, 3> m_fields{};
};

} // namespace kestrel
