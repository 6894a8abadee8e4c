#include "sim/SmsParameters.h"

#include <algorithm>
#include <array>
#include <optional>
#include <thread>

#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/SmsTime.h"
#include "sim/GsmCommands.h"
#include "sim/PinPrompt.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

constexpr int kCaptionReading = 157;
constexpr int kCaptionWriting = 158;
constexpr int kNoReaderReading = 57740;
constexpr int kErrorReading = 57741;
constexpr int kNoReaderWriting = 57760;
constexpr int kErrorWriting = 57761;
constexpr int kBadCentre = 57347;

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

// One reader access to EF_SMSP outside a SimCard card operation: the progress window, the card
// access with CHV1, the file selection, and the way every failure is reported.
class SmspAccess
{
public:
    SmspAccess(SimCard& card, PinPrompt* prompt, ProgressSink* progress, bool writing, SmsParameters& out)
        : m_card(card), m_prompt(prompt), m_writing(writing), m_out(out)
    {
        m_card.beginProgress(progress, 0, writing ? kCaptionWriting : kCaptionReading);
    }
    ~SmspAccess()
    {
        if (m_gsm)
            m_gsm->endCardAccess(m_card.cardAccess());
        m_card.endProgress(false);
    }
    SmspAccess(const SmspAccess&) = delete;
    SmspAccess& operator=(const SmspAccess&) = delete;

    // Reader, card access, CHV1, EF_SMSP selected. False: the access is over, out says why.
    bool open()
    {
        if (!step(10))
            return false;
        CardReader* reader = m_card.reader();
        if (!reader) {
            m_out.status = CardStatus::ReaderInaccessible;
            m_out.messageId = m_writing ? kNoReaderWriting : kNoReaderReading;
            return false;
        }
        m_gsm.emplace(*reader);
        bool chv1Enabled = false;
        bool otherCard = false;
        const CardStatus begun = m_gsm->beginCardAccess(m_card.cardAccess(), false, nullptr, &chv1Enabled, otherCard);
        if (otherCard) {
            // Codes of one card are never offered to another: a wrong try would be ours.
            m_card.forgetPin(1);
            m_card.forgetPin(2);
        }
        if (begun != CardStatus::Ok)
            return fail(begun);
        if (!step(20))
            return false;
        if (chv1Enabled && !verifyChv1())
            return false;
        if (!step(30))
            return false;
        uint16_t sw = 0;
        if (const CardStatus s = m_gsm->selectPath(SimFiles::kDfTelecom, SimFiles::kEfSmsp, m_info, sw);
            s != CardStatus::Ok)
            return fail(s);
        // The parameters take the last 28 bytes of a record: a shorter one holds none, and the
        // offsets below would fall before its start.
        if (m_info.recordLength < kParameterBytes)
            return fail(CardStatus::BadOrMissingRecord);
        return true;
    }

    // The bar at percent; false (146 reported) once Abort was pressed.
    bool step(int percent)
    {
        if (m_card.progress().showProgress(QString(), percent))
            return true;
        return fail(CardStatus::CancelledByUser);
    }

    bool fail(CardStatus status)
    {
        m_out.status = status;
        m_out.messageId = m_writing ? kErrorWriting : kErrorReading;
        return false;
    }

    // Ends the access; after a success the bar stands at 100 for finalPause while the window shows.
    void finish(bool succeeded, std::chrono::milliseconds finalPause)
    {
        if (m_gsm) {
            m_gsm->endCardAccess(m_card.cardAccess());
            m_gsm.reset();
        }
        m_card.progress().showProgress(QString(), 100); // the work is done: a late Abort changes nothing
        if (succeeded) {
            // Lets the full bar be seen; a failure goes straight on to its message.
            if (m_card.progress().showing() && finalPause.count() > 0)
                std::this_thread::sleep_for(finalPause);
            m_out.result = SmsParameters::kDone;
            m_out.status = CardStatus::Ok;
            m_out.messageId = 0;
        }
    }

    GsmCommands& gsm() { return *m_gsm; }
    const FileInfo& info() const { return m_info; }
    int records() const { return std::min(m_info.recordCount, kMaxRecords); }

private:
    bool verifyChv1()
    {
        for (;;) {
            const bool usedRemembered = !m_card.rememberedPin(1).empty();
            SecretText text;
            if (usedRemembered) {
                text = m_card.rememberedPin(1);
            } else {
                std::optional<SecretText> typed = m_prompt ? m_prompt->askPin(1) : std::nullopt;
                if (!typed) {
                    m_out.status = CardStatus::OperationCancelled;
                    m_out.messageId = 0;
                    return false;
                }
                text = *typed;
                typed->clear();
            }
            uint16_t sw = 0;
            const CardStatus s = m_gsm->verifyChv(text.view(), 1, sw);
            if (s == CardStatus::Ok) {
                m_card.rememberPin(1, text);
                return true;
            }
            m_card.forgetPin(1);
            // A remembered code the card refuses is asked for once more; a typed one is not
            // tried again by the program.
            if (!(s == CardStatus::NoValidPin && usedRemembered))
                return fail(s);
        }
    }

    SimCard& m_card;
    PinPrompt* m_prompt;
    bool m_writing;
    SmsParameters& m_out;
    std::optional<GsmCommands> m_gsm;
    FileInfo m_info;
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
    if (messageId == 0)
        return QString();
    QString text = StringTable::text(messageId);
    if (messageId == kErrorReading || messageId == kErrorWriting)
        text += QStringLiteral("\r\n") + cardStatusMessage(status);
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
    const int length = access.info().recordLength;
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
        uint16_t sw = 0;
        if (const CardStatus s = access.gsm().readRecordAbsolute(bytes, record, access.info(), sw);
            s != CardStatus::Ok) {
            ok = access.fail(s);
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
        out.messageId = kBadCentre;
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
    uint16_t sw = 0;
    if (const CardStatus s = access.gsm().readRecordAbsolute(bytes, 1, access.info(), sw); s != CardStatus::Ok) {
        access.fail(s);
        access.finish(false, finalPause);
        return out;
    }
    if (!access.step(60)) {
        access.finish(false, finalPause);
        return out;
    }
    const int length = access.info().recordLength;
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
    if (const CardStatus s = access.gsm().updateRecordAbsolute(r, 1, access.info(), sw); s != CardStatus::Ok) {
        access.fail(s);
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
