#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "base/CardStatus.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// "Check and Repair SIM" without a display. check() reads the dialling-number files, their
// extension files and EF_SMS fresh from the card (after testing the authentication counter) and
// builds the brief and the detailed report; the front end shows them and, when errors were found
// and the user asks for it, calls repair(). Card failures end either step through
// Prompter::showCardError.
class SimCheckCommand
{
public:
    SimCheckCommand(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr);

    // False when the card could not be read (the error was shown). True with the reports built;
    // when the images were incomplete the reports say so and no errors are found.
    bool check();
    // Repairs on the card what the last check found, on the card that was checked only (the same
    // ICCID; another card gets sid::TheCardInTheReader_9402 and no command that writes), opening it with PIN2 when a
    // finding in EF_FDN or EF_EXT2 needs it. The reports are built again with "->Repaired" on the lines mended. When
    // the images of the check are gone (the card was opened without keeping them) they are read
    // again first and the repair follows what the card holds then. False when the repair failed or
    // was cancelled (the error was shown); repairs made before stay on the card.
    bool repair();

    const QString& brief() const { return m_brief; }
    const QString& detailed() const { return m_detailed; }
    bool errorsFound() const { return m_errorsFound; }
    bool pin2Needed() const { return m_pin2Needed; }
    // The card's authentication counter has run out (the notice heads both reports).
    bool counterExhausted() const { return !m_notice.isEmpty(); }

    // The fixed challenge of the authentication-counter test; only the card's status word counts.
    static const unsigned char kChallenge[16];

private:
    void resetReports();
    bool fail();
    // The frame of one card access: progress, and the operation listener told of its begin and end.
    void begin(int captionId);
    void end(CardStatus status);

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    int m_caption = 0;
    QString m_notice;
    // The identity copy (ICCID) of the card the last check read.
    std::vector<uint8_t> m_checkedIdentity;
    QString m_brief;
    QString m_detailed;
    bool m_errorsFound = false;
    bool m_pin2Needed = false;
};

} // namespace kestrel
