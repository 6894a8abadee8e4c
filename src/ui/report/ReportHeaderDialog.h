#pragma once

#include <array>

#include <QDialog>

#include "app/ReportHeaderForm.h"

class QLineEdit;

namespace kestrel {

class AppState;
class MainWindow;

// "Kestrel! - Print Header Definition" over ReportHeaderForm: the "Shop" group (name, address,
// phone, fax, e-mail), the salesperson and the comment; OK stores them in the settings and saves
// the settings.
class ReportHeaderDialog final : public QDialog
{
    Q_OBJECT

public:
    ReportHeaderDialog(AppState& state, QWidget* parent);

    void accept() override;

private:
    AppState& m_state;
    ReportHeaderForm m_form;
    std::array<QLineEdit*, ReportHeaderForm::FieldCount> m_edits{};
};

// Command sid::ReportHeader_40109 ("&Report Header"): the dialog, modal over the main window.
void editReportHeader(MainWindow& window);

} // namespace kestrel
