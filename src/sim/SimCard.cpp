#include "sim/SimCard.h"

#include <algorithm>

#include "base/StringTable.h"
#include "gsm/Instructions.h"
#include "gsm/StatusWords.h"
#include "reader/CardReader.h"
#include "reader/ReaderManager.h"

namespace kestrel {

namespace {

using namespace gsm::fid;
using gsm::kClass;

// The terminal profile sent to a proactive card (GSM 11.14): profile download, SMS-PP and cell
// broadcast data download, menu selection, the proactive commands the program answers.
constexpr uint8_t kTerminalProfile[] = {0x1F, 0x7F, 0xFF, 0xFF, 0x00, 0x00};

} // namespace

SimCard::SimCard(ReaderSource readers) : m_readers(std::move(readers)) {}

SimCard::SimCard(ReaderManager& readers) : SimCard([&readers] { return readers.currentReader(); }) {}

SimCard::~SimCard()
{
    m_progress.endProgress(true);
    if (CardReader* r = reader())
        r->setCancelCheck({});
    if (m_cardFlags & CardFlag::kPoweredByOpening)
        closeCard();
}

bool SimCard::fail(CardStatus status)
{
    m_lastStatus = status;
    m_statusDetail.clear();
    return false;
}

bool SimCard::failAndClose(CardStatus status)
{
    closeCard();
    m_lastStatus = status;
    return false;
}

// ---- progress ----------------------------------------------------------------------------------

bool SimCard::beginProgress(ProgressSink* parent, int textId, int titleId)
{
    const bool shown = m_progress.beginProgress(parent, textId, titleId);
    // While the card keeps the reader waiting (NULL procedure bytes), Abort in the window ends the
    // command; percent 101 leaves the bar where it is.
    if (CardReader* r = reader())
        r->setCancelCheck([this] { return m_progress.showing() && !m_progress.showProgress(m_progress.text(), 101); });
    return shown;
}

void SimCard::endProgress(bool force)
{
    m_progress.endProgress(force);
    if (!m_progress.showing()) {
        if (CardReader* r = reader())
            r->setCancelCheck({});
    }
}

bool SimCard::showProgressText(int textId, int percent)
{
    if (m_progress.showProgressText(textId, percent))
        return true;
    return fail(CardStatus::CancelledByUser);
}

bool SimCard::showProgress(const QString& text, int percent)
{
    if (m_progress.showProgress(text, percent))
        return true;
    return fail(CardStatus::CancelledByUser);
}

bool SimCard::showProgressItem(int textId, unsigned i, unsigned n, bool writeLoop)
{
    if (m_progress.showProgressItem(textId, i, n, writeLoop))
        return true;
    return fail(CardStatus::CancelledByUser);
}

// ---- card access -------------------------------------------------------------------------------

namespace {

// The identity copy of a card: the length of EF_ICCID read and its bytes.
std::vector<uint8_t> identityCopyOf(const std::array<uint8_t, 10>& id, int length)
{
    const std::size_t used = static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(id.size())));
    std::vector<uint8_t> identity(used + 1);
    identity[0] = static_cast<uint8_t>(used);
    std::copy_n(id.begin(), used, identity.begin() + 1);
    return identity;
}

} // namespace

bool SimCard::openCard(bool chv1, bool chv2, bool strict, bool toolkit)
{
    m_statusDetail.clear();
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::ReaderInaccessible);
    if (!m_settings.enCache)
        flushCaches();

    // A card still open from an earlier call: is it the same one?
    if (m_cardFlags & CardFlag::kIdentified) {
        std::array<uint8_t, 10> id;
        id.fill(0xFF);
        int length = static_cast<int>(id.size());
        if (!readFile(kMf, kEfIccid, id, length) || id != m_iccid) {
            if (m_cardFlags & CardFlag::kPoweredByOpening)
                GsmCommands(*r).endCardAccess(m_access);
            m_cardFlags = 0;
            flushCaches();
        } else if (!m_identity) {
            // The same card, its caches dropped in between: its identity copy comes back at once.
            m_identity = identityCopyOf(id, length);
        }
    }

    if (!(m_cardFlags & CardFlag::kIdentified)) {
        m_currentDf = 0;
        m_currentEf = 0;
        m_efInfo = FileInfo{};
        m_lastSw = 0;
        GsmCommands gsm(*r);
        if (m_cardFlags & CardFlag::kPoweredByOpening)
            gsm.endCardAccess(m_access);
        m_cardFlags &= ~CardFlag::kPoweredByOpening;
        bool otherCard = false;
        ReaderBuffer atr(254);
        const CardStatus begun = gsm.beginCardAccess(m_access, true, &atr, nullptr, otherCard);
        const std::span<const uint8_t> received = atr.received();
        m_atr.assign(received.begin(), received.end());
        if (otherCard) {
            // Codes of one card are never offered to another: a wrong try would be ours.
            forgetPin(1);
            forgetPin(2);
        }
        if (begun != CardStatus::Ok)
            return failAndClose(begun);
        m_cardFlags |= CardFlag::kPoweredByOpening;

        // CHV states from the MF response: CHV1 enabled or not, the status of CHV1 and CHV2.
        DirectoryInfo mf;
        if (!selectFile(kMf, 0, &mf))
            return failAndClose(m_lastStatus);
        m_cardFlags &= ~(CardFlag::kChv1Enabled | CardFlag::kChv1Blocked | CardFlag::kChv2Present |
                         CardFlag::kChv2Blocked | CardFlag::kChv1Verified | CardFlag::kChv2Verified);
        if (mf.chv1Enabled)
            m_cardFlags |= CardFlag::kChv1Enabled;
        if (mf.chvBlocked(1))
            m_cardFlags |= CardFlag::kChv1Blocked;
        if (mf.chv2.initialised) {
            m_cardFlags |= CardFlag::kChv2Present;
            if (mf.chvBlocked(2))
                m_cardFlags |= CardFlag::kChv2Blocked;
        }
        takeAttemptsLeft(mf);

        std::array<uint8_t, 10> id;
        id.fill(0xFF);
        int length = static_cast<int>(id.size());
        if (!readFile(kMf, kEfIccid, id, length))
            return failAndClose(m_lastStatus);
        m_iccid = id;
        std::vector<uint8_t> identity = identityCopyOf(id, length);
        if (m_identity && *m_identity != identity)
            flushCaches();
        if (!m_identity)
            m_identity = std::move(identity);
        m_cardFlags |= CardFlag::kIdentified;
    }

    if (chv1 && (m_cardFlags & CardFlag::kChv1Enabled) && !(m_cardFlags & CardFlag::kChv1Verified)) {
        if ((m_cardFlags & CardFlag::kChv1Blocked) && strict)
            return failAndClose(CardStatus::CardBlocked);
        if (!verifyForOpen(1, strict))
            return false;
    }
    if (chv2 && !(m_cardFlags & CardFlag::kChv2Verified) && (m_cardFlags & CardFlag::kChv2Present)) {
        if (m_cardFlags & CardFlag::kChv2Blocked)
            return failAndClose(CardStatus::CardBlocked);
        if (!verifyForOpen(2, true))
            return false;
    }

    // DF_GSM is readable once CHV1 is verified or disabled.
    if ((m_cardFlags & CardFlag::kChv1Verified) || !(m_cardFlags & CardFlag::kChv1Enabled)) {
        FileInfo sst;
        if (!selectFile(kDfGsm, kEfSst, nullptr, &sst))
            return failAndClose(m_lastStatus);
        m_serviceTable.assign(static_cast<std::size_t>(sst.fileSize), 0);
        int length = sst.fileSize;
        if (!readFile(kDfGsm, kEfSst, m_serviceTable, length)) {
            m_serviceTable.clear();
            return failAndClose(m_lastStatus);
        }
    }

    std::array<uint8_t, 256> phase{};
    int length = static_cast<int>(phase.size());
    if (!readFile(kDfGsm, kEfPhase, phase, length))
        return failAndClose(m_lastStatus);
    m_simPhase = length > 0 ? phase[0] : 0;

    // Phase 2 cards never get TERMINAL PROFILE; a phase 2+ card only when it offers proactive SIM.
    if (m_simPhase >= 3 && hasService(gsm::service::kProactiveSim) && toolkit) {
        std::array<uint8_t, sizeof kTerminalProfile> profile;
        std::copy(std::begin(kTerminalProfile), std::end(kTerminalProfile), profile.begin());
        uint16_t sw = 0;
        if (!sendCommand(kClass, gsm::ins::kTerminalProfile, 0, 0, static_cast<uint8_t>(profile.size()), profile, true,
                         sw))
            return failAndClose(m_lastStatus);
    }
    m_lastStatus = CardStatus::Ok;
    return true;
}

void SimCard::closeCard()
{
    if (CardReader* r = reader())
        GsmCommands(*r).endCardAccess(m_access);
    m_cardFlags = 0;
    m_attemptsLeft.fill(-1);
}

QString SimCard::phaseText(int phase)
{
    switch (phase) {
    case 0:
        return QStringLiteral("1");
    case 1:
        return QStringLiteral("?");
    case 2:
        return QStringLiteral("2");
    default:
        return QStringLiteral("2+");
    }
}

// ---- files (the transfers are in SimCardFiles.cpp) ------------------------------------------

bool SimCard::hasService(int n) const
{
    if (n < 1)
        return false;
    const auto byte = static_cast<std::size_t>((n - 1) / 4);
    if (byte >= m_serviceTable.size())
        return false;
    const int shift = 2 * ((n - 1) % 4);
    return ((m_serviceTable[byte] >> shift) & 0x03) == 0x03;
}

bool SimCard::requireService(int n)
{
    if (hasService(n))
        return true;
    return fail(CardStatus::FileNotAccessible);
}

bool SimCard::isChvBlocked(int chv) const
{
    if (chv == 1)
        return (m_cardFlags & CardFlag::kChv1Blocked) != 0;
    if (chv == 2)
        return (m_cardFlags & CardFlag::kChv2Blocked) != 0;
    return false;
}

// ---- commands ----------------------------------------------------------------------------------

bool SimCard::sendCommand(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                          bool toCard, uint16_t& sw)
{
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::NonSpecificError);
    GsmCommands gsm(*r);
    const CardStatus s = gsm.sendRaw(cla, ins, p1, p2, p3, data, toCard, m_lastSw);
    sw = m_lastSw;
    if (s != CardStatus::Ok)
        return fail(gsm.transportFailed(s));
    if (proactiveCommandWaiting(m_lastSw)) {
        const bool handled = handleProactive(m_lastSw);
        sw = m_lastSw;
        return handled;
    }
    return true;
}

bool SimCard::runGsmAlgorithm(std::span<const uint8_t> challenge, std::span<uint8_t> response, uint16_t& sw)
{
    if (!reader())
        return fail(CardStatus::ReaderInaccessible);
    std::array<uint8_t, 16> block{};
    std::copy_n(challenge.begin(), std::min(challenge.size(), block.size()), block.begin());
    if (!sendCommand(kClass, gsm::ins::kRunGsmAlgorithm, 0, 0, 0x10, block, true, sw))
        return false;
    if (const CardStatus s = judgeStatusWord(SwRule::Authenticate, sw); s != CardStatus::Ok)
        return fail(s);
    if (responseWaiting(sw)) {
        // SRES (4 bytes) and Kc (8 bytes).
        const auto n = std::min<std::size_t>(gsm::sw2(sw), gsm::kSresKcLength);
        std::array<uint8_t, 256> data{};
        if (!sendCommand(kClass, gsm::ins::kGetResponse, 0, 0, static_cast<uint8_t>(n), data, false, sw))
            return false;
        if (const CardStatus s = judgeStatusWord(SwRule::Authenticate, sw); s != CardStatus::Ok)
            return fail(s);
        std::copy_n(data.begin(), std::min(n, response.size()), response.begin());
    }
    m_lastStatus = CardStatus::Ok;
    return true;
}

// ---- caches and state --------------------------------------------------------------------------

void SimCard::flushCaches()
{
    m_serviceTable.clear();
    m_identity.reset();
    for (auto& image : m_images)
        image.reset();
    for (auto& map : m_maps)
        map.reset();
}

void SimCard::setLastStatus(CardStatus status, const QString& detail)
{
    m_lastStatus = status;
    m_statusDetail = detail;
}

QString SimCard::statusMessage() const
{
    QString text =
        StringTable::text(sid::CommunicationError_5301) + QStringLiteral("\r\n") + cardStatusMessage(m_lastStatus);
    if (m_lastStatus != CardStatus::Ok && !m_statusDetail.isEmpty())
        text += QStringLiteral("\r\n") + m_statusDetail;
    return text;
}

} // namespace kestrel
