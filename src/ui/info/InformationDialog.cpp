#include "ui/info/InformationDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "sim/ProgressSink.h"
#include "ui/DialogButtons.h"
#include "ui/MainWindow.h"
#include "ui/ReportPrinter.h"
#include "ui/UiText.h"
#include "ui/info/InformationPageWidgets.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {

namespace {

constexpr int kCaption = strId(sid::InformationAboutSimCard_9720); // "Kestrel! - Information About SIM Card"
constexpr int kUpdate = strId(sid::Update_9721);                   // "&Update"
constexpr int kClose = strId(sid::Close_9327);                     // "&Close"
constexpr int kPrint = strId(sid::Print_9328);                     // "&Print"
constexpr int kTabTexts[SimInformationPages::kPageCount] = {
    strId(sid::Global_6100), strId(sid::PhoneBookAndSms_6101), strId(sid::CalledNumbers_6102),
    strId(sid::PersonalNumbers_6103), strId(sid::SimApplication_6104)};

} // namespace

InformationDialog::InformationDialog(AppState& state, Prompter& prompter, ProgressSink* progress, QWidget* parent)
    : QDialog(parent), m_state(state), m_ownProgress(progress ? nullptr : makeProgressSink(this)),
      m_pages(state.sim(), prompter, progress ? progress : m_ownProgress.get())
{
    setObjectName(QStringLiteral("informationDialog"));
    setWindowTitle(uiText(kCaption));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_global = new GlobalInfoPage(m_tabs);
    m_capacities = new CapacityInfoPage(m_tabs);
    m_called = new NumberListPage(m_tabs);
    m_called->setObjectName(QStringLiteral("CNewInfo3"));
    m_personal = new NumberListPage(m_tabs);
    m_personal->setObjectName(QStringLiteral("CNewInfo4"));
    m_application = new SimApplicationInfoPage(m_tabs, [this](int row) { chooseMenuEntry(row); });
    QWidget* const pages[] = {m_global, m_capacities, m_called, m_personal, m_application};
    for (int i = 0; i < SimInformationPages::kPageCount; ++i)
        m_tabs->addTab(pages[i], uiText(kTabTexts[i]));

    auto* update = addPushButton(this, kUpdate, "updateButton");
    auto* close = addPushButton(this, kClose, "closeButton");
    auto* printButton = addPushButton(this, kPrint, "printButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(update);
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    connect(update, &QPushButton::clicked, this, &InformationDialog::updatePage);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(printButton, &QPushButton::clicked, this, &InformationDialog::print);
    // Read once the new page is painted, so that the progress window shows above it.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_showQueued)
            return;
        m_showQueued = true;
        QTimer::singleShot(0, this, &InformationDialog::showCurrentPage);
    });
    for (int page = 0; page < SimInformationPages::kPageCount; ++page)
        draw(page);
}

// The SIM Application page, if it was shown, closes the card it kept open.
InformationDialog::~InformationDialog() = default;

void InformationDialog::open(MainWindow& window)
{
    open(window.state(), window.prompter(), window.progress(), &window);
}

void InformationDialog::open(AppState& state, Prompter& prompter, ProgressSink* progress, QWidget* parent)
{
    if (!state.simCard())
        return;
    InformationDialog dialog(state, prompter, progress, parent);
    QTimer::singleShot(0, &dialog, &InformationDialog::showCurrentPage);
    dialog.exec();
}

void InformationDialog::showCurrentPage()
{
    m_showQueued = false;
    const int page = m_tabs->currentIndex();
    if (m_pages.show(page))
        draw(page);
}

void InformationDialog::updatePage()
{
    const int page = m_tabs->currentIndex();
    m_pages.update(page);
    draw(page);
}

void InformationDialog::print()
{
    const SimInformationReport report = m_pages.report();
    ReportPrinter(m_state, this).PrintReport(report.text, report.title, report.tabStops);
}

void InformationDialog::chooseMenuEntry(int row)
{
    m_pages.chooseMenuEntry(row);
    // The card may have sent a new menu in its answer.
    draw(SimInformationPages::kSimApplication);
}

void InformationDialog::draw(int page)
{
    const SimInformation& values = m_pages.values();
    switch (page) {
    case SimInformationPages::kGlobal:
        m_global->fill(values.global);
        break;
    case SimInformationPages::kCapacities:
        m_capacities->fill(values.capacities);
        break;
    case SimInformationPages::kCalledNumbers:
        m_called->fill(values.lastDialled);
        break;
    case SimInformationPages::kPersonalNumbers:
        m_personal->fill(values.ownNumbers);
        break;
    default:
        m_application->fill(m_pages.simApplication());
        break;
    }
}

} // namespace kestrel
