#pragma once

#include <QDialog>

#include "app/CheckReportForm.h"

class QPlainTextEdit;
class QPushButton;

namespace kestrel {

class AppState;

// Dialog 179 "Kestrel! - Check SIM Card Report" over CheckReportForm: the report (1012, read-only),
// button 3 switching between the brief and the detailed report, "&Print Report" (sid::PrintReport_1116) printing the
// report shown, "&Close" (2) and "&Repair Errors" (1, accepts; enabled only when errors were found).
class CheckReportDialog final : public QDialog
{
    Q_OBJECT

public:
    CheckReportDialog(AppState& state, CheckReportForm form, QWidget* parent);

    const CheckReportForm& form() const { return m_form; }
    void toggleDetails();
    void print();

private:
    void showForm();

    AppState& m_state;
    CheckReportForm m_form;
    QPlainTextEdit* m_report;
    QPushButton* m_toggle;
};

} // namespace kestrel
