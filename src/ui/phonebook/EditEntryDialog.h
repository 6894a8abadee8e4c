#pragma once

#include <functional>

#include <QDialog>

#include "phonebook/PhoneBookModel.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrel {

// Dialog 113 "Kestrel! - Edit Phone Book Entry": "Item &nr", "N&ame" (at most the program-wide
// alpha length) with "stored as: ..." beside it while the card's alphabet would change the name,
// "&Phone number" and "&Dialing Code..." (the country chooser; disabled when the program has none). OK hands the three
// texts to the check given, which shows its own message and keeps the dialog open by returning false.
class EditEntryDialog final : public QDialog
{
    Q_OBJECT

public:
    using Check = std::function<bool(const QString& itemNumber, const QString& name, const QString& number)>;

    EditEntryDialog(const EditFields& fields, Check check, QWidget* parent);

    QString itemNumber() const;
    QString name() const;
    QString number() const;
    // "stored as: ..." beside the name while the card's alphabet would change it; empty otherwise.
    QString storedNameText() const;

    void accept() override;

private:
    void chooseDialingCode();
    void showStoredName(const QString& name);

    Check m_check;
    QLineEdit* m_item;
    QLineEdit* m_name;
    QLineEdit* m_number;
    QPushButton* m_dialingCode;
    QLabel* m_stored;
    int m_alphaLength;
    bool m_unicodeNames;
};

} // namespace kestrel
