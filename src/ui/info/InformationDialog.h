#pragma once

#include <memory>

#include <QDialog>

#include "info/SimInformationPages.h"

class QTabWidget;

namespace kestrel {

class AppState;
class CapacityInfoPage;
class GlobalInfoPage;
class MainWindow;
class NumberListPage;
class ProgressSink;
class Prompter;
class SimApplicationInfoPage;

// "Kestrel! - Information About SIM Card": the five pages in a tab control, "&Update", "&Close"
// and "&Print". A page reads the card when it is first shown and again after Update (the progress
// window showing its steps); the SIM Application page every time it is shown. Print puts what the
// pages hold through the text-report printer. The rules live in SimInformationPages.
class InformationDialog final : public QDialog
{
    Q_OBJECT

public:
    // progress: the window the card pages' reads show (null: one of the dialog's own).
    InformationDialog(AppState& state, Prompter& prompter, ProgressSink* progress, QWidget* parent);
    ~InformationDialog() override;

    // Command sid::InformationAboutSim_40026 and button sid::InformationAboutSim_2019: the dialog, modal, its first
    // page read once it is on the screen. Without a SimCard nothing is shown.
    static void open(MainWindow& window);
    static void open(AppState& state, Prompter& prompter, ProgressSink* progress, QWidget* parent);

    SimInformationPages& pages() { return m_pages; }

    // The current page is on the screen: read when it should, then drawn.
    void showCurrentPage();
    void updatePage();
    void print();

private:
    void draw(int page);
    void chooseMenuEntry(int row);

    AppState& m_state;
    std::unique_ptr<ProgressSink> m_ownProgress;
    SimInformationPages m_pages;
    QTabWidget* m_tabs;
    GlobalInfoPage* m_global;
    CapacityInfoPage* m_capacities;
    NumberListPage* m_called;
    NumberListPage* m_personal;
    SimApplicationInfoPage* m_application;
    bool m_showQueued = false;
};

} // namespace kestrel
