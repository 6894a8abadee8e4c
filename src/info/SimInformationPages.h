#pragma once

#include <array>
#include <memory>

#include "base/CardStatus.h"
#include "info/SimInformation.h"
#include "info/SimInformationReport.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimApplicationPage;
class SimCard;

// The five pages of the information about a SIM without their window: Global, Phone Book and
// SMS, Called Numbers (EF_LND), Personal Numbers (EF_MSISDN) and SIM Application. A card page
// reads its values the first time it is shown and again after an update; a failed read keeps
// what it got and is not repeated until the next update (its failure was told once). The SIM
// Application page is made the first time it is shown and refreshed every time it is shown: it
// opens the card as the toolkit handler and leaves it open for the menu, until the pages go.
class SimInformationPages
{
public:
    enum Page : int
    {
        kGlobal = 0,
        kCapacities = 1,
        kCalledNumbers = 2,
        kPersonalNumbers = 3,
        kSimApplication = 4,
    };
    static constexpr int kPageCount = 5;

    // progress: the window of the card pages' reads (may be null).
    SimInformationPages(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr);
    ~SimInformationPages();
    SimInformationPages(const SimInformationPages&) = delete;
    SimInformationPages& operator=(const SimInformationPages&) = delete;

    // The page is on the screen. True when it went to the card now (its values may have changed).
    bool show(int page);
    // "&Update": every page reads again when it is next shown, `shown` at once.
    void update(int shown);
    bool isRead(int page) const;

    const SimInformation& values() const { return m_values; }
    // Null until the SIM Application page was first shown.
    SimApplicationPage* simApplication() const { return m_toolkit.get(); }
    // Double-click on menu entry `index`: MENU SELECTION, the card's follow-up commands answered
    // inside. A card failure is told in an error box. False when nothing was sent or it failed.
    bool chooseMenuEntry(int index);

    // The report of what the pages hold now, in the report printer's form.
    SimInformationReport report() const { return SimInformationReport::build(m_values); }

private:
    void read(int page);
    // "Error during smartcard reader operation:", a line break and the status message.
    void tellFailure(CardStatus status);

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    SimInformation m_values;
    std::array<bool, kPageCount> m_read{};
    std::unique_ptr<SimApplicationPage> m_toolkit;
};

} // namespace kestrel
