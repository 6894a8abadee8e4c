#include "sim/SmsParameters.h"

#include <algorithm>
#include <array>
#include <thread>

#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/SmsTime.h"
#include "gsm/FileIds.h"
#include "sim/PinPrompt.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

constexpr int kCaptionReading = sid::ReadingSmsParameters_157;
constexpr int kCaptionWriting = sid::WritingSmsParameters_158;
constexpr int kNoReaderReading = sid::NoSmartcardReaderConnected_57740;
constexpr int kErrorReading = sid::ErrorDuringCardReaderOperation_57741;
constexpr int kNoReaderWriting = sid::NoSmartcardReaderConnected_57760;
constexpr int kErrorWriting = sid::ErrorDuringCardReaderOperation_57761;
constexpr int kBadCentre = sid::BadSmsCenterNumberEntered_57347;

// The parameters are the last 28 bytes of an EF_SMSP record; offsets from there.
constexpr int kParameterBytes = 28;
constexpr int kIndicators = 0;
constexpr int kCentreLength = 13;
constexpr int kCentreType = 14;
constexpr int kCentreDigits = 15;
constexpr int kCentreDigitBytes = 10;
constexpr int kValidity = 27;
// Parameter indicators: a bit set to 0 means the parameter is present.
constexpr uint8_t kCentreAbsent = 0x02;
constexpr uint8_t kValidityAbsent = 0x10;
// READ RECORD carries the record number in P1.
constexpr int kMaxRecords = 255;

// One card operation on EF_SMSP: the progress window, the SimCard's card access with CHV1, the
// file selection, and the way every failure is reported.
class SmspAccess
{
public:
    SmspAccess(SimCard& card, PinPrompt* prompt, ProgressSink* progress, bool writing, SmsParameters& out)
        : m_card(card), m_prompt(prompt), m_previousPrompt(card.pinPrompt()), m_writing(writing), m_out(out)
    {
        m_card.beginProgress(progress, 0, writing ? kCaptionWriting : kCaptionReading);
    }
    ~SmspAccess()
    {
        close();
        m_card.endProgress(false);
    }
    SmspAccess(const SmspAccess&) = delete;
    SmspAccess& operator=(const SmspAccess&) = delete;

    // Reader, card opened with CHV1, EF_SMSP selected. False: the card is closed, out says why.
    bool open()
    {
        if (!step(10))
            return false;
        if (!m_card.reader()) {
            m_out.result =
                Result::failure(m_writing ? kNoReaderWriting : kNoReaderReading, CardStatus::ReaderInaccessible);
            return false;
        }
        if (!step(20))
            return false;
        if (!openWithChv1())
            return false;
        if (!step(30))
            return false;
        FileInfo info;
        if (!m_card.selectFile(gsm::fid::kDfTelecom, gsm::fid::kEfSmsp, nullptr, &info))
            return failed();
        // The parameters take the last 28 bytes of a record: a shorter one holds none, and the
        // offsets below would fall before its start.
        m_recordLength = info.recordLength;
        m_records = std::min(info.recordCount, kMaxRecords);
        if (m_recordLength < kParameterBytes)
            return fail(CardStatus::BadOrMissingRecord);
        return true;
    }

    // The bar at percent; false (sid::OperationCancelledByUser_146 reported) once Abort was pressed.
    bool step(int percent)
    {
        if (m_card.progress().showProgress(QString(), percent))
            return true;
        return fail(CardStatus::CancelledByUser);
    }

    bool fail(CardStatus status, const QString& detail = {})
    {
        m_out.result = Result::failure(m_writing ? kErrorWriting : kErrorReading, status, detail);
        return false;
    }
    // The SimCard's last command failed: its status and detail. A closed PIN prompt (or a
    // declined last try) has nothing to tell.
    bool failed()
    {
        if (m_card.lastStatus() == CardStatus::OperationCancelled) {
            m_out.result = Result::failure(0, CardStatus::OperationCancelled);
            return false;
        }
        return fail(m_card.lastStatus(), m_card.statusDetail());
    }

    // Ends the operation; after a success the bar stands at 100 for finalPause while the window
    // shows.
    void finish(bool succeeded, std::chrono::milliseconds finalPause)
    {
        close();
        m_card.progress().showProgress(QString(), 100); // the work is done: a late Abort changes nothing
        if (succeeded) {
            // Lets the full bar be seen; a failure goes straight on to its message.
            if (m_card.progress().showing() && finalPause.count() > 0)
                std::this_thread::sleep_for(finalPause);
            m_out.result = Result::ok();
        }
    }

    SimCard& card() { return m_card; }
    int recordLength() const { return m_recordLength; }
    int records() const { return m_records; }

private:
    bool openWithChv1()
    {
        // The PIN is asked through the given prompt for the time of the operation.
        m_card.setPinPrompt(m_prompt);
        m_opened = true;
        const bool remembered = !m_card.rememberedPin(1).empty();
        if (m_card.openCard(true, false, true, false))
            return true;
        // A remembered code the card refuses is forgotten (by the SimCard) and the prompt asked
        // once; a typed code the card refuses is not tried again by the program.
        if (remembered && m_card.lastStatus() == CardStatus::NoValidPin && m_card.rememberedPin(1).empty() &&
            m_card.openCard(true, false, true, false))
            return true;
        return failed();
    }

    void close()
    {
        if (!m_opened)
            return;
        m_card.closeCard();
        m_card.setPinPrompt(m_previousPrompt);
        m_opened = false;
    }

    SimCard& m_card;
    PinPrompt* m_prompt;
    PinPrompt* m_previousPrompt;
    bool m_writing;
    SmsParameters& m_out;
    bool m_opened = false;
    int m_recordLength = 0;
    int m_records = 0;
};

// The service centre of an EF_SMSP record at parameter offset p: "+" for TON 1, then the digits,
// at most 2 x length - 2 of them and never beyond the 10 digit bytes.
std::string centreText(std::span<const uint8_t> record, std::size_t p)
{
    std::string text;
    const int length = record[p + kCentreLength];
    if (length > 0 && ((record[p + kCentreType] >> 4) & 0x07) == 1)
        text.push_back('+');
    const int digits = std::min(2 * length - 2, 2 * kCentreDigitBytes);
    for (int i = 0; i < digits; ++i) {
        const uint8_t byte = record[p + kCentreDigits + static_cast<std::size_t>(i / 2)];
        const uint8_t nibble = (i % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
        if (nibble == 0x0F)
            break;
        text.push_back(NibbleToDigit(nibble));
    }
    return text;
}

} // namespace

QString SmsParameters::message() const
{
    const int id = messageId();
    if (id == 0)
        return QString();
    QString text = StringTable::text(id);
    if (id == kErrorReading || id == kErrorWriting) {
        text += QStringLiteral("\r\n") + cardStatusMessage(status());
        if (!result.detail().isEmpty())
            text += QStringLiteral("\r\n") + result.detail();
    }
    return text;
}

SmsParameters ReadSmsParameters(SimCard& card, PinPrompt* prompt, ProgressSink* progress,
                                std::chrono::milliseconds finalPause)
{
    SmsParameters out;
    SmspAccess access(card, prompt, progress, false, out);
    if (!access.open()) {
        access.finish(false, finalPause);
        return out;
    }
    if (!access.step(40)) {
        access.finish(false, finalPause);
        return out;
    }
    const int length = access.recordLength();
    const auto p = static_cast<std::size_t>(length - kParameterBytes);
    const int n = access.records();
    bool ok = true;
    for (int record = 1; record <= n; ++record) {
        if (!access.step(40 + 50 * (record - 1) / n)) {
            ok = false;
            break;
        }
        std::array<uint8_t, 256> bytes;
        bytes.fill(0xFF);
        if (!access.card().readRecordAbsolute(bytes, record)) {
            ok = access.failed();
            break;
        }
        const std::span<const uint8_t> r(bytes.data(), static_cast<std::size_t>(length));
        const uint8_t indicators = r[p + kIndicators];
        if ((indicators & kCentreAbsent) && (indicators & kValidityAbsent))
            continue;
        SmsTime validity;
        validity.validity = (indicators & kValidityAbsent) ? 0 : r[p + kValidity];
        out.validity = FormatSmsTime(validity);
        if (!(indicators & kCentreAbsent))
            out.serviceCentre = centreText(r, p);
        break;
    }
    access.finish(ok, finalPause);
    return out;
}

bool IsWritableServiceCentre(std::string_view serviceCentre)
{
    uint8_t ton = 0;
    return IsValidDialNumber(serviceCentre) && SplitPlus(serviceCentre, ton).size() <= SmsParameters::kMaxCentreDigits;
}

SmsParameters WriteSmsParameters(SimCard& card, PinPrompt* prompt, ProgressSink* progress,
                                 std::string_view serviceCentre, std::string_view validity,
                                 std::chrono::milliseconds finalPause)
{
    SmsParameters out;
    // The record has room for 20 digits and its length byte must count what is there: a longer
    // number is refused before the card is touched rather than written cut short.
    if (!IsWritableServiceCentre(serviceCentre)) {
        out.result = Result::failure(kBadCentre, CardStatus::Ok);
        return out;
    }
    uint8_t ton = 0;
    const std::string digits = SplitPlus(serviceCentre, ton);
    const uint8_t vp = RelativeValidity(validity);

    SmspAccess access(card, prompt, progress, true, out);
    if (!access.open()) {
        access.finish(false, finalPause);
        return out;
    }
    if (access.records() < 1) {
        access.fail(CardStatus::BadOrMissingRecord);
        access.finish(false, finalPause);
        return out;
    }
    if (!access.step(40)) {
        access.finish(false, finalPause);
        return out;
    }
    std::array<uint8_t, 256> bytes;
    bytes.fill(0xFF);
    if (!access.card().readRecordAbsolute(bytes, 1)) {
        access.failed();
        access.finish(false, finalPause);
        return out;
    }
    if (!access.step(60)) {
        access.finish(false, finalPause);
        return out;
    }
    const int length = access.recordLength();
    const std::span<uint8_t> r(bytes.data(), static_cast<std::size_t>(length));
    const auto p = static_cast<std::size_t>(length - kParameterBytes);
    r[p + kIndicators] = static_cast<uint8_t>(r[p + kIndicators] & ~(kCentreAbsent | kValidityAbsent));
    r[p + kValidity] = vp;
    r[p + kCentreLength] = static_cast<uint8_t>((digits.size() + 1) / 2 + 1);
    r[p + kCentreType] = static_cast<uint8_t>(0x80 | ton << 4 | (r[p + kCentreType] & 0x0F));
    // Two digits a byte, the first in the low nibble; an odd count leaves the filler 0xF in the
    // last high nibble. Digit bytes beyond the new number are not touched: the length byte ends it.
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const uint8_t low = DigitToNibble(digits[i]);
        const uint8_t high = i + 1 < digits.size() ? DigitToNibble(digits[i + 1]) : 0x0F;
        r[p + kCentreDigits + i / 2] = static_cast<uint8_t>(high << 4 | low);
    }
    if (!access.card().updateRecordAbsolute(r, 1)) {
        access.failed();
        access.finish(false, finalPause);
        return out;
    }
    out.serviceCentre = JoinPlus(digits, ton);
    SmsTime written;
    written.validity = vp;
    out.validity = FormatSmsTime(written);
    access.finish(true, finalPause);
    return out;
}

} // namespace kestrel
