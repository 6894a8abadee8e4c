#pragma once

#include <array>
#include <cstdint>
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

// What a card operation leaves known, for the front end's account of it.
struct CardOperationReport
{
    int captionId = 0;
    // Ok after a success.
    CardStatus status = CardStatus::Ok;
    // The card was identified during the operation: the fields below hold what it told.
    bool identified = false;
    std::array<uint8_t, 10> iccid{};
    int phase = 0;          // EF_Phase
    uint32_t cardFlags = 0; // CardFlag bits
    int chv1TriesLeft = -1; // -1 unknown
    // After a failure: the line under the status message (the tries a refused code has left).
    QString detail;
};

// Told when a card operation begins and ends (a Prompter's operationListener).
class CardOperationListener
{
public:
    virtual ~CardOperationListener() = default;
    virtual void operationStarted(int captionId) = 0;
    virtual void operationFinished(const CardOperationReport& report) = 0;
};

// The frame every command that talks to the card runs in:
//   1. (the caller's confirmation, before run)
//   2. beginProgress(progress, sid::InitializingSimCard_5000 "Initializing SIM Card", captionId)
//   3. the card opened (PIN prompts through the Prompter)
//   4. the work, which updates the progress and returns false (lastStatus set) on failure; an
//      Abort seen by a progress update ends it with sid::OperationCancelledByUser_146
//   5. on failure the message: statusMessage(); the SimCard's images are dropped so that the next
//      operation reads the card again
//   6. closeCard, 7. endProgress(false)
//   8. the failure through Prompter::showCardError, or the success message if the work set one;
//      an operation the user cancelled (Abort, a closed PIN prompt) shows no error where the
//      front end tells it in its status line (Prompter::showsCancelInStatus)
// For its duration the Prompter is the SimCard's PIN prompt; its operation listener is told of the
// begin and the end.
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
    // The last run ended because the user said so.
    bool cancelledByUser() const { return isUserCancel(m_failureStatus); }
    // Whether the failure of the last run is to be shown: not when the user cancelled and the
    // Prompter's front end tells that in its status line.
    bool failureToShow() const;
    // Abort in the progress window (sid::OperationCancelledByUser_146), or a prompt closed or declined
    // (sid::OperationCancelled_151).
    static bool isUserCancel(CardStatus status)
    {
        return status == CardStatus::CancelledByUser || status == CardStatus::OperationCancelled;
    }
    // For frames of their own (the check): the account of an operation on card, taken before
    // closeCard.
    static CardOperationReport reportOf(const SimCard& card, int captionId, CardStatus status);
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
