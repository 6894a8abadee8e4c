#include "ui/report/PrintFontDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>

#include "app/AppState.h"
#include "ui/DialogButtons.h"
#include "ui/MainWindow.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

constexpr int kCaption = strId(sid::SelectFontForPrinting_9770); // "Kestrel! - Select Font for Printing"
// "Heading: ", "Normal text:", "Text message: ", in the order of PrintFontForm::kLists.
constexpr int kLabels[] = {strId(sid::Heading_9771), strId(sid::NormalText_9772), strId(sid::TextMessage_9773)};
constexpr const char* kNames[] = {"headingFont", "normalFont", "messageFont"};

} // namespace

PrintFontDialog::PrintFontDialog(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_form(state.printFonts(), QFontDatabase::families())
{
    setObjectName(QStringLiteral("printFontDialog"));
    setWindowTitle(uiText(kCaption));
    auto* form = new QFormLayout(this);
    for (std::size_t i = 0; i < PrintFontForm::kLists.size(); ++i) {
        auto* list = new QComboBox(this);
        list->setObjectName(QLatin1String(kNames[i]));
        list->addItems(m_form.families());
        list->setCurrentIndex(m_form.selected(PrintFontForm::kLists[i]));
        form->addRow(addLabel(this, kLabels[i], "", list), list);
        m_lists[i] = list;
    }
    form->addRow(addOkCancel(this, sid::Ok_9324, sid::Cancel_9325)); // "&OK", "&Cancel"
}

void PrintFontDialog::accept()
{
    for (std::size_t i = 0; i < PrintFontForm::kLists.size(); ++i)
        m_form.select(PrintFontForm::kLists[i], m_lists[i]->currentIndex());
    m_state.setPrintFonts(m_form.faces());
    QDialog::accept();
}

void choosePrintFont(MainWindow& window)
{
    PrintFontDialog dialog(window.state(), &window);
    dialog.exec();
}

} // namespace kestrel
