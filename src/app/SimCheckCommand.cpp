#include "app/SimCheckCommand.h"

#include <array>
#include <span>

#include "app/CardOpening.h"
#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/CheckAndRepair.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

constexpr int kTextInitializing = strId(sid::InitializingSimCard_5000); // "Initializing SIM Card"
constexpr int kCaptionChecking = strId(sid::CheckingSimCard_5107);      // "Kestrel! - Checking SIM Card"
constexpr int kCaptionRepairing = strId(sid::RepairingSimCard_5110);    // "Kestrel! - Repairing SIM Card"
constexpr int kTextCounterOverflow =
    strId(sid::CardIsBlockedByAuthentification_5615);       // "Card is blocked by authentification counter overflow..."
constexpr int kTitleBrief = strId(sid::SimCardReport_2310); // "SIM Card Report"
constexpr int kTitleDetailed = strId(sid::SimCardDetailedReport_2311); // "SIM Card Detailed Report"
constexpr int kTextOtherCard =
    strId(sid::TheCardInTheReader_9402); // "The card in the reader is not the card that was checked..."

const QString kEol = QStringLiteral("\r\n");

// The Prompter answers the SimCard's PIN prompts for the time of one card access.
class PromptScope
{
public:
    PromptScope(SimCard& card, Prompter& prompter) : m_card(card), m_previous(card.pinPrompt())
    {
        card.setPinPrompt(&prompter);
    }
    ~PromptScope() { m_card.setPinPrompt(m_previous); }
    PromptScope(const PromptScope&) = delete;
    PromptScope& operator=(const PromptScope&) = delete;

private:
    SimCard& m_card;
    PinPrompt* m_previous;
};

} // namespace

const unsigned char SimCheckCommand::kChallenge[16] = {0x4B, 0x65, 0x73, 0x74, 0x72, 0x65, 0x6C, 0x21,
                                                       0x53, 0x49, 0x4D, 0x20, 0x74, 0x65, 0x73, 0x74};

SimCheckCommand::SimCheckCommand(SimCard& card, Prompter& prompter, ProgressSink* progress)
    : m_card(card), m_prompter(prompter), m_progress(progress)
{}

void SimCheckCommand::resetReports()
{
    m_brief = StringTable::text(kTitleBrief) + kEol;
    m_detailed = StringTable::text(kTitleDetailed) + kEol;
    if (!m_notice.isEmpty()) {
        m_brief += m_notice + kEol;
        m_detailed += m_notice + kEol;
    }
}

void SimCheckCommand::begin(int captionId)
{
    m_caption = captionId;
    m_card.beginProgress(m_progress, kTextInitializing, captionId);
    if (CardOperationListener* listener = m_prompter.operationListener())
        listener->operationStarted(captionId);
}

void SimCheckCommand::end(CardStatus status)
{
    const CardOperationReport report = CardOperation::reportOf(m_card, m_caption, status);
    m_card.closeCard();
    m_card.endProgress(false);
    if (CardOperationListener* listener = m_prompter.operationListener())
        listener->operationFinished(report);
}

bool SimCheckCommand::fail()
{
    const QString message = m_card.statusMessage();
    const CardStatus status = m_card.lastStatus();
    // No image of unknown state outlives a failed access.
    m_card.flushCaches();
    end(status);
    // What the user cancelled (Abort, a closed PIN prompt) is no error where the status line says so.
    if (!CardOperation::isUserCancel(status) || !m_prompter.showsCancelInStatus())
        m_prompter.showCardError(message);
    return false;
}

bool SimCheckCommand::check()
{
    m_notice.clear();
    m_errorsFound = false;
    m_pin2Needed = false;
    m_brief.clear();
    m_detailed.clear();

    // Everything is read fresh from the card.
    m_card.flushCaches();
    PromptScope prompts(m_card, m_prompter);
    begin(kCaptionChecking);
    if (!startCardOperation(m_card, m_prompter, true, false, true, false))
        return fail();

    std::array<uint8_t, 12> response{};
    uint16_t sw = 0;
    if (!m_card.runGsmAlgorithm(std::span<const uint8_t>(kChallenge), response, sw)) {
        // A card whose counter has run out is still worth checking: the notice heads the reports.
        if (m_card.lastStatus() != CardStatus::AuthenticationBlocked)
            return fail();
        m_notice = StringTable::text(kTextCounterOverflow);
    }
    if (!CheckAndRepair(m_card).loadLinkMaps())
        return fail();
    m_checkedIdentity = m_card.identityCopy().value_or(std::vector<uint8_t>{});
    end(CardStatus::Ok);

    resetReports();
    // Sends no command; missing images leave the "Application error" line in the reports.
    CheckAndRepair(m_card).checkAndRepair(m_brief, m_detailed, m_errorsFound, m_pin2Needed, false);
    return true;
}

bool SimCheckCommand::repair()
{
    resetReports();
    PromptScope prompts(m_card, m_prompter);
    begin(kCaptionRepairing);
    // The findings belong to the card that was checked (its ICCID): another card is not touched,
    // and no code is asked for or offered to it.
    if (!m_card.openCard(false, false, true, false))
        return fail();
    if (m_checkedIdentity.empty() || m_card.identityCopy() != m_checkedIdentity) {
        end(CardStatus::CardChanged);
        m_prompter.message(kTextOtherCard, PromptIcon::Stop);
        return false;
    }
    if (!startCardOperation(m_card, m_prompter, true, m_pin2Needed, true, false))
        return fail();

    CheckAndRepair repairer(m_card);
    // Opening a card drops every image when caching is off: the repair then reads the files again
    // and mends what the card holds now.
    const bool complete = m_card.identityCopy() && m_card.image(CachedFile::Ext1) && m_card.image(CachedFile::Ext2) &&
                          m_card.recordMap(CachedFile::Ext1) && m_card.recordMap(CachedFile::Ext2);
    if (!complete && !repairer.loadLinkMaps())
        return fail();
    if (!repairer.checkAndRepair(m_brief, m_detailed, m_errorsFound, m_pin2Needed, true))
        return fail();
    end(CardStatus::Ok);
    return true;
}

} // namespace kestrel
