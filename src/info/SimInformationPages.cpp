#include "info/SimInformationPages.h"

#include "app/Prompter.h"
#include "base/StringTable.h"
#include "info/SimInformationReader.h"
#include "sim/SimCard.h"
#include "toolkit/SimApplicationPage.h"

namespace kestrel {

namespace {

constexpr int kReaderOperationError =
    sid::ErrorDuringSmartcardReaderOperation_57642; // "Error during smartcard reader operation:"

} // namespace

SimInformationPages::SimInformationPages(SimCard& card, Prompter& prompter, ProgressSink* progress)
    : m_card(card), m_prompter(prompter), m_progress(progress)
{}

// The SIM Application page closes the card it left open and stops being the toolkit handler.
SimInformationPages::~SimInformationPages() = default;

bool SimInformationPages::isRead(int page) const
{
    return page >= 0 && page < kPageCount && m_read[static_cast<std::size_t>(page)];
}

bool SimInformationPages::show(int page)
{
    if (page < 0 || page >= kPageCount)
        return false;
    if (page != kSimApplication && isRead(page))
        return false;
    read(page);
    return true;
}

void SimInformationPages::update(int shown)
{
    m_read.fill(false);
    show(shown);
}

void SimInformationPages::read(int page)
{
    m_read[static_cast<std::size_t>(page)] = true;
    SimInformationReader reader(m_card, m_prompter, m_progress);
    switch (page) {
    case kGlobal:
        reader.readGlobal(m_values.global);
        return;
    case kCapacities:
        reader.readCapacities(m_values.capacities);
        return;
    case kCalledNumbers:
        reader.readNumberList(gsm::fid::kEfLnd, m_values.lastDialled);
        return;
    case kPersonalNumbers:
        reader.readNumberList(gsm::fid::kEfMsisdn, m_values.ownNumbers);
        return;
    default:
        break;
    }
    if (!m_toolkit)
        m_toolkit = std::make_unique<SimApplicationPage>(m_card, m_prompter);
    const int result = m_toolkit->refresh();
    if (result == static_cast<int>(CardStatus::ReaderInaccessible))
        tellFailure(CardStatus::ReaderInaccessible);
    else if (result != 1)
        tellFailure(m_card.lastStatus());
}

bool SimInformationPages::chooseMenuEntry(int index)
{
    if (!m_toolkit || !m_toolkit->hasMenu() || index < 0 || index >= static_cast<int>(m_toolkit->entries().size()))
        return false;
    m_toolkit->setSelectedEntry(index);
    if (m_toolkit->activateSelected())
        return true;
    tellFailure(m_card.lastStatus());
    return false;
}

void SimInformationPages::tellFailure(CardStatus status)
{
    m_prompter.messageText(StringTable::text(kReaderOperationError) + QStringLiteral("\r\n") +
                               cardStatusMessage(status),
                           PromptIcon::Stop);
}

} // namespace kestrel
