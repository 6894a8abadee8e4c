#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include <QString>

#include "base/CardStatus.h"
#include "base/Result.h"

namespace kestrel {

class PinPrompt;
class ProgressSink;
class SimCard;

// The default service centre and validity period of EF_SMSP (6F42 under DF_TELECOM), as
// ReadSmsParameters found them or WriteSmsParameters wrote them, and how the operation ended.
//
// EF_SMSP record (GSM 11.11), length L of at least 28 bytes: L - 28 bytes of alpha identifier,
// then from P = L - 28:
//   P      parameter indicators, a bit 0 means present: 0x02 service-centre address, 0x10 TP-VP
//   P+1    TP-Destination Address (12 bytes, not used here)
//   P+13   service-centre address length: bytes that follow, the TON/NPI byte included
//   P+14   TON/NPI, 0x80 | TON << 4 | NPI
//   P+15   10 bytes of service-centre digits, two per byte, low nibble first, 0xF filler
//   P+25   TP-PID, P+26 TP-DCS (not used here)
//   P+27   TP-VP, relative format
struct SmsParameters
{
    // The 10 digit bytes hold no more.
    static constexpr std::size_t kMaxCentreDigits = 20;

    // Ok: the card was read (whether or not it held parameters) or written. A failure, refusal or
    // cancel names what to tell the user, 0 when nothing (the PIN prompt was closed):
    // sid::NoSmartcardReaderConnected_57740 / sid::NoSmartcardReaderConnected_57760 "No smartcard reader connected!",
    // sid::ErrorDuringCardReaderOperation_57741 / sid::ErrorDuringCardReaderOperation_57761 "Error during card reader
    // operation:" followed by the status's message, sid::BadSmsCenterNumberEntered_57347 "Bad SMS center number
    // entered"; its status is the card's status of the step that failed (Ok after a refusal before any card access),
    // its detail what the SimCard added to that status (the tries a refused PIN has left).
    Result result = Result::failure(0, CardStatus::Ok);
    // "+" in front when international; empty when the card holds no parameters.
    std::string serviceCentre;
    // FormatSmsTime text of the relative TP-VP; empty when the card holds no parameters.
    std::string validity;

    CardStatus status() const { return result.status(); }
    // The message of a failure; 0 on success and when there is nothing to tell.
    int messageId() const { return result.isOk() ? 0 : result.messageId(); }
    // The text of messageId, for sid::ErrorDuringCardReaderOperation_57741 and
    // sid::ErrorDuringCardReaderOperation_57761 with a line break and the status's message (and the detail on a line of
    // its own when there is one).
    QString message() const;
};

// Reads the first EF_SMSP record that has the service centre or the validity present, as a card
// operation of the SimCard: openCard with CHV1 (strict; the remembered PIN1, the last-try
// question and the prompt, which may be null, as a closed prompt, asked through `prompt` for the
// time of the operation), selectFile, absolute record reads, closeCard. A remembered PIN1 the
// card refuses is forgotten and the prompt asked once; a typed one the card refuses is not tried
// again. The progress window is the SimCard's, captioned sid::ReadingSmsParameters_157 "Kestrel! - Reading SMS
// Parameters"; Abort ends the work with 146. finalPause: after a success the bar stays at 100
// this long while a window shows.
SmsParameters ReadSmsParameters(SimCard& card, PinPrompt* prompt, ProgressSink* progress,
                                std::chrono::milliseconds finalPause = std::chrono::milliseconds(500));

// Whether WriteSmsParameters takes this service centre: a dialling number ("+" allowed in front)
// of at most 20 digits.
bool IsWritableServiceCentre(std::string_view serviceCentre);

// Writes the service centre and the validity (a FormatSmsTime text; a date or an unreadable text
// writes 0) to EF_SMSP record 1, keeping its alpha identifier, destination address, PID, DCS and
// other indicator bits. A centre that is not a dialling number or has more than 20 digits is
// refused (sid::BadSmsCenterNumberEntered_57347) before the card is touched; a record shorter than 28 bytes is refused
// with 134. The same access as ReadSmsParameters, the window captioned sid::WritingSmsParameters_158 "Kestrel! -
// Writing SMS Parameters". On success the texts are those written.
SmsParameters WriteSmsParameters(SimCard& card, PinPrompt* prompt, ProgressSink* progress,
                                 std::string_view serviceCentre, std::string_view validity,
                                 std::chrono::milliseconds finalPause = std::chrono::milliseconds(500));

} // namespace kestrel
