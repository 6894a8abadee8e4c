#include "emulator/SimCardModel.h"

#include <QCryptographicHash>

#include "emulator/CardAnswers.h"
#include "emulator/CardFile.h"
#include "gsm/FileIds.h"
#include "gsm/Instructions.h"
#include "gsm/Services.h"

namespace kestrel::emulator {

namespace ins = gsm::ins;
namespace sw = gsm::sw;
using answer::expectedLength;
using answer::wrongLength;

SimCardModel::SimCardModel(SimCardData card) : SimCardModel(std::move(card), QString()) {}

SimCardModel::SimCardModel(SimCardData card, QString path)
    : m_card(std::move(card)), m_path(std::move(path)), m_sound(CardFile::check(m_card).isEmpty()),
      m_chv(m_card, [this] { return persist(); }), m_files(m_card, m_chv, [this] { return persist(); })
{}

std::unique_ptr<SimCardModel> SimCardModel::fromFile(const QString& path, QString& error)
{
    CardFileResult loaded = CardFile::load(path);
    if (!loaded.ok) {
        error = loaded.error;
        return nullptr;
    }
    error.clear();
    return std::make_unique<SimCardModel>(std::move(loaded.card), path);
}

std::vector<uint8_t> SimCardModel::powerOn()
{
    if (!m_present || !m_sound)
        return {};
    m_powered = true;
    m_files.reset();
    m_chv.reset();
    m_response.clear();
    m_toolkit.reset();
    if (m_card.kind == CardKind::TelephoneCard)
        return std::vector<uint8_t>(m_card.memory.begin(), m_card.memory.begin() + 4);
    return m_card.atr;
}

void SimCardModel::powerOff()
{
    m_powered = false;
    m_chv.reset();
    m_response.clear();
}

void SimCardModel::setPresent(bool present)
{
    m_present = present;
    if (!present)
        powerOff();
}

bool SimCardModel::readMemory(std::array<uint8_t, 32>& out) const
{
    if (m_card.kind != CardKind::TelephoneCard || !m_present)
        return false;
    out = m_card.memory;
    return true;
}

bool SimCardModel::persist()
{
    if (m_path.isEmpty())
        return true;
    QString error;
    if (!CardFile::save(m_card, m_path, error)) {
        m_saveError = error;
        return false;
    }
    m_saveError.clear();
    return true;
}

CardResponse SimCardModel::process(const Apdu& apdu)
{
    if (!m_present || !m_powered || !m_sound || m_card.kind != CardKind::Sim)
        return answer::status(sw::kTechnicalProblem);
    if (apdu.cla != gsm::kClass)
        return answer::status(sw::kWrongClass);
    if (Icc::isIncoming(apdu.ins) && apdu.data.size() != apdu.p3)
        return wrongLength(apdu.data.size());
    if (apdu.ins == ins::kGetResponse)
        return getResponse(apdu);
    m_response.clear();

    // The one place a 9F xx answer leaves its data for GET RESPONSE.
    CardResponse r = dispatch(apdu);
    if (gsm::sw1(r.sw) == sw::kSw1ResponseWaiting) {
        m_response = std::move(r.data);
        r.data.clear();
    }
    return r;
}

CardResponse SimCardModel::dispatch(const Apdu& apdu)
{
    switch (apdu.ins) {
    case ins::kSelect:
        return m_files.select(apdu);
    case ins::kStatus:
        return status(apdu);
    case ins::kReadBinary:
        return m_files.readBinary(apdu);
    case ins::kUpdateBinary:
        return m_files.updateBinary(apdu);
    case ins::kReadRecord:
        return m_files.readRecord(apdu);
    case ins::kUpdateRecord:
        return m_files.updateRecord(apdu);
    case ins::kSeek:
        return m_files.seek(apdu);
    case ins::kIncrease:
        return m_files.increase(apdu);
    case ins::kInvalidate:
        return m_files.setInvalidated(apdu, true);
    case ins::kRehabilitate:
        return m_files.setInvalidated(apdu, false);
    case ins::kVerifyChv:
        return m_chv.verify(apdu);
    case ins::kChangeChv:
        return m_chv.change(apdu);
    case ins::kDisableChv:
        return m_chv.setChv1Enabled(apdu, false);
    case ins::kEnableChv:
        return m_chv.setChv1Enabled(apdu, true);
    case ins::kUnblockChv:
        return m_chv.unblock(apdu);
    case ins::kRunGsmAlgorithm:
        return runGsmAlgorithm(apdu);
    case ins::kSleep:
        return sleep(apdu);
    case ins::kTerminalProfile:
    case ins::kEnvelope:
    case ins::kFetch:
    case ins::kTerminalResponse:
        return toolkit(apdu);
    default:
        return answer::status(sw::kUnknownInstruction);
    }
}

CardResponse SimCardModel::status(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return answer::status(sw::kWrongP1P2);
    std::vector<uint8_t> r = m_files.currentDirectoryResponse();
    const auto length = static_cast<std::size_t>(expectedLength(apdu.p3));
    if (length > r.size())
        return wrongLength(r.size());
    r.resize(length);
    // STATUS is the terminal's polling command: it learns of a pending proactive command here too.
    return CardResponse{std::move(r), m_toolkit.withPending(sw::kOk)};
}

// SLEEP (A0 FA 00 00 00) is a phase 1 command; a later card only acknowledges it.
CardResponse SimCardModel::sleep(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return answer::status(sw::kWrongP1P2);
    if (apdu.p3 != 0)
        return wrongLength(0);
    return answer::status(sw::kOk);
}

CardResponse SimCardModel::getResponse(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return answer::status(sw::kWrongP1P2);
    const auto length = static_cast<std::size_t>(expectedLength(apdu.p3));
    if (m_response.empty() || length > m_response.size())
        return wrongLength(m_response.size());
    return CardResponse{
        std::vector<uint8_t>(m_response.begin(), m_response.begin() + static_cast<std::ptrdiff_t>(length)), sw::kOk};
}

// ---- authentication and toolkit ---------------------------------------------------------------

std::array<uint8_t, 12> SimCardModel::gsmAlgorithm(const std::array<uint8_t, 16>& ki, std::span<const uint8_t, 16> rand)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView("kestrel-a3a8"));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(ki.data()), static_cast<qsizetype>(ki.size())));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(rand.data()), static_cast<qsizetype>(rand.size())));
    const QByteArray digest = hash.result();
    std::array<uint8_t, 12> out;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<uint8_t>(digest[static_cast<qsizetype>(i)]);
    return out;
}

CardResponse SimCardModel::runGsmAlgorithm(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return answer::status(sw::kWrongP1P2);
    if (apdu.p3 != gsm::kRandLength)
        return wrongLength(gsm::kRandLength);
    if (!m_chv.fulfilled(AccessLevel::Chv1))
        return answer::status(sw::kAccessNotFulfilled);
    if (m_card.options.authenticationExhausted)
        return answer::status(sw::kFileInconsistent);
    const auto result =
        gsmAlgorithm(m_card.ki, std::span<const uint8_t, gsm::kRandLength>(apdu.data.data(), gsm::kRandLength));
    return answer::responseWaiting(std::vector<uint8_t>(result.begin(), result.end()));
}

bool SimCardModel::isProactive() const
{
    const SimFile* phase = m_files.file({gsm::fid::kMf, gsm::fid::kDfGsm, gsm::fid::kEfPhase});
    const SimFile* sst = m_files.file({gsm::fid::kMf, gsm::fid::kDfGsm, gsm::fid::kEfSst});
    if (!phase || phase->data.empty() || phase->data[0] < gsm::phase::kPhase2Plus || !sst)
        return false;
    // Service n: byte (n-1)/4, bits 2*((n-1)%4) (allocated) and the one above (activated).
    const int n = gsm::service::kProactiveSim - 1;
    const auto byte = static_cast<std::size_t>(n / 4);
    const int bits = 3 << (2 * (n % 4));
    return byte < sst->data.size() && (sst->data[byte] & bits) == bits;
}

CardResponse SimCardModel::toolkit(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return answer::status(sw::kWrongP1P2);
    // TERMINAL PROFILE, TERMINAL RESPONSE and ENVELOPE carry at least one byte.
    if (apdu.ins != ins::kFetch && apdu.p3 == 0)
        return answer::status(sw::kWrongP3);
    switch (apdu.ins) {
    case ins::kTerminalProfile:
        return answer::status(m_toolkit.terminalProfile(apdu.data, isProactive()));
    case ins::kFetch:
        return m_toolkit.fetch(expectedLength(apdu.p3));
    case ins::kTerminalResponse:
        return answer::status(m_toolkit.terminalResponse(apdu.data));
    default:
        return answer::status(m_toolkit.envelope(apdu.data));
    }
}

} // namespace kestrel::emulator
