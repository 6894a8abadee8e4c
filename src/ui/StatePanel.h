#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QFrame>

#include "app/MainStatus.h"

class QLabel;
class QToolButton;

namespace kestrel {

// The main window's account of the state of things (MainStatus's lines: labels "stateReader",
// "stateCard", "stateIccid", "statePhase", "statePin1", "stateLast") and the commands a newcomer
// starts with, as buttons "start<id>" showing their shortcuts. A line with nothing to say is hidden.
class StatePanel final : public QFrame
{
    Q_OBJECT

public:
    // run: carries out a command id (the main window's runCommand).
    StatePanel(std::function<void(int)> run, QWidget* parent = nullptr);

    void showLines(const MainStatus::Lines& lines);
    // The start buttons' state follows the commands' actions.
    void setCommandEnabled(int id, bool enabled);
    // The commands of the start buttons: Edit Phone Book, Edit Messages, Backup Card.
    static const std::vector<int>& startCommands();
    // The main window's central area ("mainArea"): grey, the banner on top, the panel below it; it
    // gives way entirely when the window is shrunk to its bars.
    static QWidget* mainArea(QWidget* banner, StatePanel* panel, QWidget* parent);

private:
    QLabel* addLine(const char* name);

    QLabel* m_reader = nullptr;
    QLabel* m_card = nullptr;
    QLabel* m_iccid = nullptr;
    QLabel* m_phase = nullptr;
    QLabel* m_pin1 = nullptr;
    QLabel* m_last = nullptr;
    std::map<int, QToolButton*> m_buttons;
};

} // namespace kestrel
