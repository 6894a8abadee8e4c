#pragma once

#include <functional>

#include <QDialog>

#include "phonebook/AddCode.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kestrel {

// Dialog 118 "Kestrel! - Dialing Code" over an AddCodeForm: the code, "From:" and "&To:",
// "&For all numbers", "&Add to end" and "From Database" (the country chooser; disabled when the
// program has none). The form decides how the boxes depend on each other; OK hands the form to
// the check given and stays open while it refuses.
class AddCodeDialog final : public QDialog
{
    Q_OBJECT

public:
    using Check = std::function<bool(const AddCodeForm&)>;

    AddCodeDialog(const AddCodeForm& form, Check check, QWidget* parent);

    // The form as the fields hold it now.
    const AddCodeForm& form();

    void accept() override;

private:
    void takeFields();
    void showForm();
    void chooseCode();

    AddCodeForm m_form;
    Check m_check;
    QLineEdit* m_code;
    QLineEdit* m_from;
    QLineEdit* m_to;
    QCheckBox* m_forAll;
    QCheckBox* m_addToEnd;
    QPushButton* m_database;
};

} // namespace kestrel
