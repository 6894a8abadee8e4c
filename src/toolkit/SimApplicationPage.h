#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include <QString>

#include "app/Prompter.h"
#include "sim/ToolkitCommand.h"
#include "toolkit/ToolkitProtocol.h"

namespace kestrel {

class SimCard;

// The "SIM Application" page (string sid::SimApplication_6104) without its window: the card's own menu (SET UP
// MENU), the menu choice sent to the card, and SELECT ITEM, GET INPUT and DISPLAY TEXT answered
// through the Prompter. While it exists it is the SimCard's toolkit handler; the card stays open
// from refresh until the page goes.
class SimApplicationPage final : public ToolkitCommandHandler
{
public:
    SimApplicationPage(SimCard& card, Prompter& prompter);
    ~SimApplicationPage() override;
    SimApplicationPage(const SimApplicationPage&) = delete;
    SimApplicationPage& operator=(const SimApplicationPage&) = delete;

    // Clears the page, installs it as the toolkit handler and opens the card (CHV1, with the offer
    // to unblock, TERMINAL PROFILE), which brings the card's menu. 1 when the card was opened, 0
    // when not (lastStatus of the card says why), sid::ReaderInaccessibleUseMenuOther_142 without a reader.
    int refresh();

    // The menu entries, "<id>\ttext", each with its item identifier; the menu title.
    const std::vector<ToolkitChoice>& entries() const { return m_entries; }
    const QString& menuTitle() const { return m_title; }
    const QString& cardType() const { return m_cardType; }
    int selectedEntry() const { return m_selected; }
    void setSelectedEntry(int index) { m_selected = index; }
    bool hasMenu() const { return m_menu.has_value(); }
    // The element descriptions of the proactive commands the page was given, one block of lines
    // per command, oldest first (at most the last kDetailsKept), for a technician's look.
    const std::deque<QString>& details() const { return m_details; }
    static constexpr std::size_t kDetailsKept = 64;

    // The user chose the selected entry (double-click): MENU SELECTION with its identifier; the
    // card's follow-up commands arrive inside. False without a selected entry or menu, or when
    // the card failed (lastStatus of the card).
    bool activateSelected();

protected:
    ToolkitAnswer handleToolkitCommand(ToolkitCommand& command) override;

private:
    void takeMenu(ToolkitCommand& command);

    Prompter& m_prompter;
    std::optional<ToolkitCommand> m_menu;
    std::vector<ToolkitChoice> m_entries;
    std::deque<QString> m_details;
    QString m_title;
    QString m_cardType;
    int m_selected = -1;
};

} // namespace kestrel
