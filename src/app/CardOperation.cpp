#include "app/CardOperation.h"

#include "app/CardOpening.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"

namespace kestrel {

CardOperation::CardOperation(SimCard& card, Prompter& prompter, ProgressSink* progress)
    : m_card(card), m_prompter(prompter), m_progress(progress)
{}

bool CardOperation::failureToShow() const
{
    return !cancelledByUser() || !m_prompter.showsCancelInStatus();
}

CardOperationReport CardOperation::reportOf(const SimCard& card, int captionId, CardStatus status)
{
    CardOperationReport report;
    report.captionId = captionId;
    report.status = status;
    report.cardFlags = card.cardFlags();
    report.identified = (report.cardFlags & CardFlag::kIdentified) != 0;
    if (report.identified) {
        report.iccid = card.iccid();
        report.phase = card.simPhase();
        report.chv1TriesLeft = card.attemptsLeft(1);
    }
    if (status != CardStatus::Ok)
        report.detail = card.statusDetail();
    return report;
}

bool CardOperation::run(int captionId, const OpenFlags& open, const std::function<bool()>& work)
{
    m_successId = 0;
    m_errorText.clear();
    m_failureStatus = CardStatus::Ok;
    PinPrompt* const previousPrompt = m_card.pinPrompt();
    m_card.setPinPrompt(&m_prompter);
    CardOperationListener* const listener = m_prompter.operationListener();
    if (listener)
        listener->operationStarted(captionId);

    m_card.beginProgress(m_progress, strId(sid::InitializingSimCard_5000), captionId);
    const bool opened = open.offerUnblock
                            ? startCardOperation(m_card, m_prompter, open.chv1, open.chv2, open.strict, open.toolkit)
                            : m_card.openCard(open.chv1, open.chv2, open.strict, open.toolkit);
    const bool ok = opened && (!work || work());
    if (!ok) {
        m_errorText = m_card.statusMessage();
        m_failureStatus = m_card.lastStatus();
        m_card.flushCaches();
    }
    const CardOperationReport report = reportOf(m_card, captionId, m_failureStatus);
    m_card.closeCard();
    m_card.endProgress(false);

    m_card.setPinPrompt(previousPrompt);
    if (listener)
        listener->operationFinished(report);
    if (!ok) {
        if (m_showFailure && failureToShow())
            m_prompter.showCardError(m_errorText);
    } else if (m_successId != 0)
        m_prompter.message(m_successId, PromptIcon::Information);
    return ok;
}

} // namespace kestrel
