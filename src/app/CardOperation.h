#pragma once

#include <functional>

#include <QString>

#include "base/CardStatus.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// How a card operation opens the card.
struct OpenFlags
{
    bool chv1 = false;
    bool chv2 = false;
    bool strict = true;
    bool toolkit = false;
    // Through startCardOperation (with the offer to unblock a blocked card) instead of openCard.
    bool offerUnblock = false;
};

// The frame every command that talks to the card runs in:
//   1. (the caller's confirmation, before run)
//   2. beginProgress(progress, 5000 "Initializing SIM Card", captionId)
//   3. the card opened (PIN prompts through the Prompter)
//   4. the work, which updates the progress and returns false (lastStatus set) on failure; an
//      Abort seen by a progress update ends it with 146
//   5. on failure the message: statusMessage(); the SimCard's images are dropped so that the next
//      operation reads the card again
//   6. closeCard, 7. endProgress(false)
//   8. the failure through Prompter::showCardError, or the success message if the work set one
// For its duration the Prompter is the SimCard's PIN prompt.
class CardOperation
{
public:
    CardOperation(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr);

    // True when the card was opened and the work succeeded.
    bool run(int captionId, const OpenFlags& open, const std::function<bool()>& work = {});

    // Shown with the information icon after a successful run (0: none). For use inside the work.
    void setSuccessMessage(int textId) { m_successId = textId; }
    // The failure text of the last run; empty after a success.
    const QString& errorText() const { return m_errorText; }
    // The status the last run failed with; Ok after a success.
    CardStatus failureStatus() const { return m_failureStatus; }
    // Off: a failure is not shown at step 8 but handed back (errorText, failureStatus) for the
    // caller to show its own message for some statuses. On by default.
    void setShowFailure(bool show) { m_showFailure = show; }

    SimCard& card() { return m_card; }
    Prompter& prompter() { return m_prompter; }

private:
    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    int m_successId = 0;
    QString m_errorText;
    CardStatus m_failureStatus = CardStatus::Ok;
    bool m_showFailure = true;
};

} // namespace kestrel
