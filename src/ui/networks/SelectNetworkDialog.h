#pragma once

#include <optional>
#include <utility>

#include <QDialog>

#include "networks/SelectNetworkForm.h"

class QComboBox;
class QLineEdit;

namespace kestrel {

// "Kestrel! - Select Network": the operator names in a sorted drop-down list and the MCC and MNC
// fields, kept in step by a SelectNetworkForm.
class SelectNetworkDialog final : public QDialog
{
    Q_OBJECT

public:
    SelectNetworkDialog(const QString& mcc, const QString& mnc, QWidget* parent);

    // The dialog, modal; the MCC and MNC fields as they were at OK, nullopt at Close.
    static std::optional<std::pair<QString, QString>> ask(const QString& mcc, const QString& mnc, QWidget* parent);

    const SelectNetworkForm& form() const { return m_form; }

private:
    void fieldsEdited();
    void operatorChosen(int index);

    SelectNetworkForm m_form;
    QComboBox* m_operators;
    QLineEdit* m_mcc;
    QLineEdit* m_mnc;
};

} // namespace kestrel
