#pragma once

#include <array>

#include <QDialog>

#include "report/PrintFonts.h"

class QComboBox;

namespace kestrel {

class AppState;
class MainWindow;

// "Kestrel! - Select Font for Printing" over PrintFontForm: the lists "Heading: ", "Normal text:"
// and "Text message: " of the installed font families; OK makes the choices the print fonts of
// the program until it ends (they are not saved).
class PrintFontDialog final : public QDialog
{
    Q_OBJECT

public:
    PrintFontDialog(AppState& state, QWidget* parent);

    void accept() override;

private:
    AppState& m_state;
    PrintFontForm m_form;
    std::array<QComboBox*, 3> m_lists{};
};

// Command 40101 ("Print &Font..."): the dialog, modal over the main window.
void choosePrintFont(MainWindow& window);

} // namespace kestrel
