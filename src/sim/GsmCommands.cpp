#include "sim/GsmCommands.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <sys/resource.h>

#include <QLoggingCategory>
#include <QString>

#include <string.h>

#include "gsm/FileIds.h"
#include "gsm/Instructions.h"
#include "gsm/Responses.h"
#include "gsm/StatusWords.h"

namespace kestrel {

Q_LOGGING_CATEGORY(lcApdu, "kestrel.apdu", QtWarningMsg)

namespace {

using namespace gsm::ins;
using gsm::kClass;
using gsm::sw1;
using gsm::sw2;

bool carriesChv(uint8_t ins)
{
    return ins == kVerifyChv || ins == kChangeChv || ins == kDisableChv || ins == kEnableChv || ins == kUnblockChv;
}

QString hex(std::span<const uint8_t> bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()))
            .toHex(' ')
            .toUpper());
}

// The process runs at a raised priority while a card is being accessed, so that the byte timing
// of a serial reader survives a busy desktop. Lowering the nice value needs a privilege most users
// lack; then nothing changes. The value found at the first raise is the one restored.
class ProcessPriority
{
public:
    static void raise()
    {
        if (s_raised)
            return;
        errno = 0;
        const int current = getpriority(PRIO_PROCESS, 0);
        if (current == -1 && errno != 0)
            return;
        s_original = current;
        s_raised = true;
        setpriority(PRIO_PROCESS, 0, std::max(-20, current - kBoost)); // best effort
    }
    static void restore()
    {
        if (!s_raised)
            return;
        s_raised = false;
        setpriority(PRIO_PROCESS, 0, s_original); // best effort
    }

private:
    static constexpr int kBoost = 10;
    static inline bool s_raised = false;
    static inline int s_original = 0;
};

} // namespace

bool responseWaiting(uint16_t sw)
{
    return sw1(sw) == gsm::sw::kSw1ResponseWaiting;
}

bool proactiveCommandWaiting(uint16_t sw)
{
    return sw1(sw) == gsm::sw::kSw1ProactiveWaiting;
}

bool endedNormally(uint16_t sw)
{
    return sw1(sw) == sw1(gsm::sw::kOk) || proactiveCommandWaiting(sw);
}

CardStatus judgeStatusWord(SwRule rule, uint16_t sw)
{
    const bool ok = sw == gsm::sw::kOk;
    const bool waiting = responseWaiting(sw);
    const bool chvProblem = sw1(sw) == gsm::sw::kSw1Security;
    switch (rule) {
    case SwRule::Select:
        return ok || waiting ? CardStatus::Ok : CardStatus::BadCardResponse;
    case SwRule::Strict:
        return ok ? CardStatus::Ok : CardStatus::BadCardResponse;
    case SwRule::Transfer:
        if (ok)
            return CardStatus::Ok;
        return sw == gsm::sw::kAccessNotFulfilled ? CardStatus::NoValidPin : CardStatus::BadCardResponse;
    case SwRule::Chv:
        if (ok)
            return CardStatus::Ok;
        return chvProblem ? CardStatus::NoValidPin : CardStatus::BadCardResponse;
    case SwRule::General:
    case SwRule::Authenticate: {
        CardStatus s = CardStatus::BadCardResponse;
        if (ok || waiting)
            s = CardStatus::Ok;
        else if (chvProblem)
            s = CardStatus::WrongPin;
        if (rule == SwRule::Authenticate && s != CardStatus::Ok &&
            (sw == gsm::sw::kFileInconsistent || sw == gsm::sw::kTechnicalProblem))
            s = CardStatus::AuthenticationBlocked;
        return s;
    }
    }
    return CardStatus::BadCardResponse;
}

bool GsmCommands::pinBlock(std::string_view text, std::array<uint8_t, 8>& block)
{
    block.fill(0xFF);
    std::size_t digits = 0;
    while (digits < text.size() && digits < block.size() && text[digits] >= '0' && text[digits] <= '9') {
        block[digits] = static_cast<uint8_t>(text[digits]);
        ++digits;
    }
    if (digits >= 4)
        return true;
    block.fill(0xFF);
    return false;
}

CardStatus GsmCommands::sendRaw(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                                bool toCard, uint16_t& sw)
{
    sw = 0;
    const CardStatus s = m_reader.transmit(cla, ins, p1, p2, p3, data, toCard, sw);
    if (lcApdu().isDebugEnabled()) {
        const uint8_t header[5] = {cla, ins, p1, p2, p3};
        QString line = hex(header);
        const std::size_t n = (!toCard && p3 == 0) ? 256 : p3;
        if (toCard && n > 0)
            line += QStringLiteral(" > ") + (carriesChv(ins) ? QStringLiteral("**") : hex(data.first(n)));
        if (s != CardStatus::Ok) {
            line += QStringLiteral(" : status %1").arg(toInt(s));
        } else {
            if (!toCard && (sw == gsm::sw::kOk || proactiveCommandWaiting(sw)))
                line += QStringLiteral(" < ") + hex(data.first(n));
            line += QStringLiteral(" : %1").arg(sw, 4, 16, QLatin1Char('0')).toUpper();
        }
        qCDebug(lcApdu).noquote() << line;
    }
    return s;
}

CardStatus GsmCommands::selectId(uint16_t fid, uint16_t& sw)
{
    uint8_t id[2] = {static_cast<uint8_t>(fid >> 8), static_cast<uint8_t>(fid)};
    return sendRaw(kClass, kSelect, 0, 0, 2, id, true, sw);
}

CardStatus GsmCommands::select(uint16_t fid, std::span<uint8_t> response, std::size_t& length, uint16_t& sw)
{
    length = 0;
    CardStatus s = selectId(fid, sw);
    if (s != CardStatus::Ok)
        return transportFailed(s);
    if (s = judgeStatusWord(SwRule::Select, sw); s != CardStatus::Ok || !responseWaiting(sw))
        return s;
    const std::size_t n = sw2(sw) == 0 ? 256 : sw2(sw);
    if (n > response.size())
        return CardStatus::NonSpecificError;
    std::array<uint8_t, 256> data{};
    s = getResponse(static_cast<uint8_t>(n & 0xFF), data, sw); // 256 travels as 0
    if (s != CardStatus::Ok)
        return transportFailed(s);
    if (s = judgeStatusWord(SwRule::Strict, sw); s != CardStatus::Ok)
        return s;
    std::copy_n(data.begin(), n, response.begin());
    length = n;
    return CardStatus::Ok;
}

CardStatus GsmCommands::getResponse(uint8_t length, std::span<uint8_t> buffer, uint16_t& sw)
{
    return sendRaw(kClass, kGetResponse, 0, 0, length, buffer, false, sw);
}

CardStatus GsmCommands::readBinary(std::span<uint8_t> buffer, uint16_t offset, uint8_t length, uint16_t& sw)
{
    return sendRaw(kClass, kReadBinary, static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset), length, buffer,
                   false, sw);
}

CardStatus GsmCommands::updateBinary(std::span<const uint8_t> buffer, uint16_t offset, uint8_t length, uint16_t& sw)
{
    std::vector<uint8_t> data(buffer.begin(), buffer.end());
    return sendRaw(kClass, kUpdateBinary, static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset), length, data,
                   true, sw);
}

CardStatus GsmCommands::readRecord(std::span<uint8_t> buffer, uint8_t record, uint8_t mode, uint8_t length,
                                   uint16_t& sw)
{
    return sendRaw(kClass, kReadRecord, record, mode, length, buffer, false, sw);
}

CardStatus GsmCommands::updateRecord(std::span<const uint8_t> buffer, uint8_t record, uint8_t mode, uint8_t length,
                                     uint16_t& sw)
{
    std::vector<uint8_t> data(buffer.begin(), buffer.end());
    return sendRaw(kClass, kUpdateRecord, record, mode, length, data, true, sw);
}

CardStatus GsmCommands::chvCommand(uint8_t ins, uint8_t p2, std::span<uint8_t> blocks, uint16_t& sw)
{
    const CardStatus s = sendRaw(kClass, ins, 0, p2, static_cast<uint8_t>(blocks.size()), blocks, true, sw);
    explicit_bzero(blocks.data(), blocks.size());
    if (s != CardStatus::Ok)
        return s;
    return judgeStatusWord(SwRule::Chv, sw);
}

CardStatus GsmCommands::verifyChv(std::string_view pin, int chv, uint16_t& sw)
{
    sw = 0;
    std::array<uint8_t, 8> block;
    if ((chv != 1 && chv != 2) || !pinBlock(pin, block))
        return CardStatus::WrongPin;
    const CardStatus s = sendRaw(kClass, kVerifyChv, 0, static_cast<uint8_t>(chv), 8, block, true, sw);
    explicit_bzero(block.data(), block.size());
    if (s != CardStatus::Ok)
        return transportFailed(s);
    return judgeStatusWord(SwRule::Chv, sw);
}

CardStatus GsmCommands::changeChv(int chv, std::string_view oldPin, std::string_view newPin, uint16_t& sw)
{
    sw = 0;
    std::array<uint8_t, 16> blocks;
    std::array<uint8_t, 8> a;
    std::array<uint8_t, 8> b;
    const bool good = (chv == 1 || chv == 2) && pinBlock(oldPin, a) && pinBlock(newPin, b);
    std::copy(a.begin(), a.end(), blocks.begin());
    std::copy(b.begin(), b.end(), blocks.begin() + 8);
    explicit_bzero(a.data(), a.size());
    explicit_bzero(b.data(), b.size());
    if (!good) {
        explicit_bzero(blocks.data(), blocks.size());
        return CardStatus::WrongPin;
    }
    return chvCommand(kChangeChv, static_cast<uint8_t>(chv), blocks, sw);
}

CardStatus GsmCommands::setChv1Enabled(std::string_view pin, bool enable, uint16_t& sw)
{
    sw = 0;
    std::array<uint8_t, 8> block;
    if (!pinBlock(pin, block))
        return CardStatus::WrongPin;
    return chvCommand(enable ? kEnableChv : kDisableChv, 1, block, sw);
}

CardStatus GsmCommands::unblockChv(std::string_view puk, std::string_view newPin, int chv, uint16_t& sw)
{
    sw = 0;
    std::array<uint8_t, 16> blocks;
    std::array<uint8_t, 8> a;
    std::array<uint8_t, 8> b;
    const bool good = (chv == 1 || chv == 2) && pinBlock(puk, a) && pinBlock(newPin, b);
    std::copy(a.begin(), a.end(), blocks.begin());
    std::copy(b.begin(), b.end(), blocks.begin() + 8);
    explicit_bzero(a.data(), a.size());
    explicit_bzero(b.data(), b.size());
    if (!good) {
        explicit_bzero(blocks.data(), blocks.size());
        return CardStatus::WrongPin;
    }
    // P2 of UNBLOCK CHV: 00 for CHV1, 02 for CHV2.
    const CardStatus s = sendRaw(kClass, kUnblockChv, 0, chv == 1 ? 0x00 : 0x02, 16, blocks, true, sw);
    explicit_bzero(blocks.data(), blocks.size());
    if (s != CardStatus::Ok)
        return transportFailed(s);
    return judgeStatusWord(SwRule::Chv, sw);
}

CardStatus GsmCommands::invalidate(uint16_t& sw)
{
    return sendRaw(kClass, kInvalidate, 0, 0, 0, {}, true, sw);
}

CardStatus GsmCommands::rehabilitate(uint16_t& sw)
{
    return sendRaw(kClass, kRehabilitate, 0, 0, 0, {}, true, sw);
}

CardStatus GsmCommands::status(std::span<uint8_t> buffer, uint8_t length, uint16_t& sw)
{
    return sendRaw(kClass, kStatus, 0, 0, length, buffer, false, sw);
}

CardStatus GsmCommands::runGsmAlgorithm(std::span<uint8_t, 16> challenge, uint16_t& sw)
{
    return sendRaw(kClass, kRunGsmAlgorithm, 0, 0, 16, challenge, true, sw);
}

CardStatus GsmCommands::terminalProfile(std::span<uint8_t> profile, uint16_t& sw)
{
    return sendRaw(kClass, kTerminalProfile, 0, 0, static_cast<uint8_t>(profile.size()), profile, true, sw);
}

CardStatus GsmCommands::envelope(std::span<uint8_t> data, uint16_t& sw)
{
    return sendRaw(kClass, kEnvelope, 0, 0, static_cast<uint8_t>(data.size()), data, true, sw);
}

CardStatus GsmCommands::fetch(std::span<uint8_t> buffer, uint8_t length, uint16_t& sw)
{
    return sendRaw(kClass, kFetch, 0, 0, length, buffer, false, sw);
}

CardStatus GsmCommands::terminalResponse(std::span<uint8_t> data, uint16_t& sw)
{
    return sendRaw(kClass, kTerminalResponse, 0, 0, static_cast<uint8_t>(data.size()), data, true, sw);
}

CardStatus GsmCommands::transportFailed(CardStatus status)
{
    // With the card off, the reader's own status byte tells whether the card is still there; a
    // reader that cannot say leaves the transport's reason standing.
    m_reader.deactivateCard();
    uint16_t readerStatus = 0;
    const bool gone =
        m_reader.readStatus(readerStatus) == CardStatus::Ok && !(readerStatus & CardReader::kStatusCardInserted);
    return gone ? CardStatus::CardNotInserted : status;
}

CardAccessState& GsmCommands::onThisReader(CardAccessState& access) const
{
    if (access.reader != &m_reader) {
        access = CardAccessState{};
        access.reader = &m_reader;
    }
    return access;
}

CardStatus GsmCommands::beginCardAccess(CardAccessState& state, bool forceReset, ReaderBuffer* atr, bool* chv1Enabled,
                                        bool& otherCard)
{
    otherCard = false;
    ProcessPriority::raise();
    if (!m_reader.readerConnected())
        return CardStatus::ReaderNotConnected;
    CardAccessState& access = onThisReader(state);
    access.open = true;

    bool fresh = false;
    if (forceReset || (m_reader.cardPowered() && !m_reader.cardActive())) {
        const CardStatus r = m_reader.resetCard(atr);
        if (r != CardStatus::Ok && r != CardStatus::CardNotActive)
            return r;
        fresh = true;
    }
    if (!m_reader.cardPowered()) {
        ReaderBuffer ownAtr(254);
        unsigned flags = 0;
        const CardStatus r = m_reader.activateCard(atr ? atr : &ownAtr, flags);
        if (r != CardStatus::Ok) {
            m_reader.deactivateCard();
            return r;
        }
        fresh = true;
    }
    if (!m_reader.cardPowered() || !m_reader.cardActive())
        return CardStatus::GeneralReaderError;

    std::array<uint8_t, 256> response{};
    std::size_t length = 0;
    uint16_t sw = 0;
    CardStatus s = select(gsm::fid::kMf, response, length, sw);
    if (s != CardStatus::Ok)
        return s;
    if (chv1Enabled && length > gsm::response::kCharacteristics)
        *chv1Enabled = DirectoryInfo::parse(std::span(response).first(length)).chv1Enabled;

    response.fill(0);
    s = select(gsm::fid::kEfIccid, response, length, sw);
    if (s != CardStatus::Ok)
        return s;
    int size = 10;
    if (length > gsm::response::kSizeOrFreeMemory + 1)
        size = FileInfo::parse(std::span(response).first(length)).fileSize;
    // EF_ICCID holds 10 bytes; a size a READ BINARY cannot carry is no SIM's.
    if (size < 1 || size > 256)
        return CardStatus::BadCardResponse;
    response.fill(0xFF);
    s = readBinary(response, 0, static_cast<uint8_t>(size & 0xFF), sw);
    if (s != CardStatus::Ok)
        return transportFailed(s);
    if (judgeStatusWord(SwRule::Transfer, sw) != CardStatus::Ok)
        return CardStatus::BadCardResponse;

    std::array<uint8_t, 10> iccid;
    iccid.fill(0xFF);
    std::copy_n(response.begin(), std::min<std::size_t>(static_cast<std::size_t>(size), iccid.size()), iccid.begin());
    if (iccid != access.lastIccid) {
        otherCard = true;
        if (!fresh)
            return CardStatus::CardChanged;
        access.lastIccid = iccid;
    }
    return CardStatus::Ok;
}

CardStatus GsmCommands::endCardAccess(CardAccessState& state)
{
    ProcessPriority::restore();
    CardAccessState& access = onThisReader(state);
    if (!access.open)
        return CardStatus::Ok;
    access.open = false;
    if (m_reader.cardPowered())
        return m_reader.deactivateCard();
    return CardStatus::Ok;
}

CardStatus GsmCommands::readRecordAbsolute(std::span<uint8_t> buffer, int record, const FileInfo& info, uint16_t& sw)
{
    if (record < 1 || record > 255 || info.recordLength < 1 || info.recordLength > 255)
        return CardStatus::NonSpecificError;
    std::array<uint8_t, 256> data{};
    const CardStatus s = readRecord(data, static_cast<uint8_t>(record), gsm::recordMode::kAbsolute,
                                    static_cast<uint8_t>(info.recordLength), sw);
    if (s != CardStatus::Ok)
        return transportFailed(s);
    const CardStatus judged = judgeStatusWord(SwRule::Chv, sw);
    if (judged == CardStatus::Ok)
        std::copy_n(data.begin(), std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(info.recordLength)),
                    buffer.begin());
    return judged;
}

CardStatus GsmCommands::updateRecordAbsolute(std::span<const uint8_t> buffer, int record, const FileInfo& info,
                                             uint16_t& sw)
{
    if (record < 1 || record > 255 || info.recordLength < 1 || info.recordLength > 255)
        return CardStatus::NonSpecificError;
    std::vector<uint8_t> data(static_cast<std::size_t>(info.recordLength), 0x00);
    std::copy_n(buffer.begin(), std::min(buffer.size(), data.size()), data.begin());
    const CardStatus s = updateRecord(data, static_cast<uint8_t>(record), gsm::recordMode::kAbsolute,
                                      static_cast<uint8_t>(info.recordLength), sw);
    if (s != CardStatus::Ok)
        return transportFailed(s);
    return judgeStatusWord(SwRule::Chv, sw);
}

} // namespace kestrel
