#include "reader/PcscReader.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include <winscard.h>

#include "base/StringTable.h"
#include "reader/PcscCallThread.h"

namespace kestrel {

namespace {

static_assert(sizeof(SCARDCONTEXT) <= sizeof(std::intptr_t) && sizeof(SCARDHANDLE) <= sizeof(std::intptr_t));

// An answer ends with the status word.
constexpr size_t kStatusWordLength = 2;
// The reader name SCardStatus reports is not used; pcsc-lite names fit well within this.
constexpr DWORD kNameCapacity = 256;
// The reader list is asked for its size first; readers plugged in between the two calls make the
// second one fail, so it is tried a few times.
constexpr int kListAttempts = 3;

std::atomic<int> g_liveReaders{0};

SCARDCONTEXT context(std::intptr_t value)
{
    return static_cast<SCARDCONTEXT>(value);
}

SCARDHANDLE handle(std::intptr_t value)
{
    return static_cast<SCARDHANDLE>(value);
}

} // namespace

PcscReader::PcscReader()
{
    ++g_liveReaders;
}

PcscReader::~PcscReader()
{
    // A context given up to a stuck call is not touched: its calls would wait behind that one.
    if (m_card != 0)
        SCardDisconnect(handle(m_card), SCARD_RESET_CARD);
    if (m_contextEstablished)
        SCardReleaseContext(context(m_context));
    --g_liveReaders;
}

int PcscReader::liveCount()
{
    return g_liveReaders.load();
}

bool PcscReader::failed(long result)
{
    if (result == SCARD_S_SUCCESS)
        return false;
    m_lastError = result;
    return true;
}

QString PcscReader::lastServiceErrorText() const
{
    if (m_lastError == 0)
        return {};
    return QStringLiteral("%1 (0x%2)")
        .arg(QString::fromUtf8(pcsc_stringify_error(static_cast<LONG>(m_lastError))))
        .arg(static_cast<unsigned long>(m_lastError) & 0xFFFFFFFFul, 8, 16, QLatin1Char('0'));
}

CardStatus PcscReader::readMemoryCard(std::array<uint8_t, 32>& /*out*/)
{
    // Memory cards have no answer a PC/SC reader would take.
    return CardStatus::InvalidReaderIdentification;
}

CardStatus PcscReader::open(const QString& name, int /*reserved*/)
{
    if (m_contextEstablished)
        return CardStatus::Ok;
    SCARDCONTEXT established = 0;
    if (failed(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &established)))
        return CardStatus::GeneralReaderError;
    m_context = static_cast<std::intptr_t>(established);
    m_contextEstablished = true;
    m_readerConnected = true;
    m_portOpen = true;
    m_readerName = name;
    m_readerName8 = name.toUtf8();
    return CardStatus::Ok;
}

CardStatus PcscReader::close()
{
    if (!m_contextEstablished) {
        m_contextLost = false;
        m_readerConnected = false;
        m_portOpen = false;
        return CardStatus::Ok;
    }
    bool ok = true;
    if (m_card != 0)
        ok = !failed(SCardDisconnect(handle(m_card), SCARD_RESET_CARD));
    // The context goes even when the card would not let go.
    const bool released = !failed(SCardReleaseContext(context(m_context)));
    ok = ok && released;
    m_card = 0;
    m_context = 0;
    m_contextEstablished = false;
    m_readerConnected = false;
    m_portOpen = false;
    m_cardActive = false;
    m_cardPowered = false;
    return ok ? CardStatus::Ok : CardStatus::NonSpecificError;
}

CardStatus PcscReader::readStatus(uint16_t& status)
{
    // pcsc-lite passes over an empty reader name without an error and without a state.
    if (!ensureContext() || m_readerName8.isEmpty())
        return CardStatus::GeneralReaderError;
    SCARD_READERSTATE state{};
    state.szReader = m_readerName8.constData();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    if (failed(SCardGetStatusChange(context(m_context), 1, &state, 1)))
        return CardStatus::GeneralReaderError;
    status = (state.dwEventState & SCARD_STATE_PRESENT) ? CardReader::kStatusCardInserted : 0;
    m_cardPresent = status != 0;
    return CardStatus::Ok;
}

void PcscReader::giveUpContext()
{
    // The stuck call's thread lets go of the connection and the context once the call comes back
    // (the card pulled, the service gone), so the reader is not kept from the next connection.
    if (m_calls) {
        const SCARDHANDLE card = handle(m_card);
        const SCARDCONTEXT ctx = context(m_context);
        m_calls->abandon([card, ctx] {
            if (card != 0)
                SCardDisconnect(card, SCARD_RESET_CARD);
            SCardReleaseContext(ctx);
        });
    }
    m_card = 0;
    m_context = 0;
    m_contextEstablished = false;
    m_contextLost = true;
    m_cardActive = false;
    m_cardPowered = false;
    m_calls.reset();
}

bool PcscReader::ensureContext()
{
    if (m_contextEstablished)
        return true;
    if (!m_contextLost)
        return false;
    SCARDCONTEXT established = 0;
    if (failed(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &established)))
        return false;
    m_context = static_cast<std::intptr_t>(established);
    m_contextEstablished = true;
    m_contextLost = false;
    return true;
}

CardStatus PcscReader::bounded(const std::function<long()>& call, long& result)
{
    if (!m_calls)
        m_calls = std::make_unique<PcscCallThread>();
    switch (m_calls->run(call, m_commandTimeLimit, m_cancelCheck, result)) {
    case PcscCallThread::Outcome::Done:
        return CardStatus::Ok;
    case PcscCallThread::Outcome::Cancelled:
        giveUpContext();
        return CardStatus::CancelledByUser;
    case PcscCallThread::Outcome::TimedOut:
        break;
    }
    giveUpContext();
    return CardStatus::StatusError;
}

CardStatus PcscReader::readerCardOn()
{
    if (!ensureContext())
        return CardStatus::GeneralReaderError;
    // A handle still held from an earlier power-up would make the exclusive connect fail.
    if (m_card != 0)
        disconnectCard();
    m_atrPosition = 0;
    m_atrLength = 0;

    // What the call thread fills; it may outlive this call if the service does not answer.
    struct Connection
    {
        SCARDHANDLE card = 0;
        DWORD protocol = 0;
        std::array<uint8_t, 33> atr{};
        DWORD atrLength = 0;
        long statusResult = SCARD_S_SUCCESS;
    };
    auto connection = std::make_shared<Connection>();
    long result = 0;
    const SCARDCONTEXT ctx = context(m_context);
    const QByteArray reader = m_readerName8;
    const CardStatus waited = bounded(
        [connection, ctx, reader]() -> long {
            const LONG rv = SCardConnect(ctx, reader.constData(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0,
                                         &connection->card, &connection->protocol);
            if (rv != SCARD_S_SUCCESS)
                return rv;
            char name[kNameCapacity];
            DWORD nameLength = kNameCapacity;
            DWORD state = 0;
            connection->atrLength = static_cast<DWORD>(connection->atr.size());
            connection->statusResult = SCardStatus(connection->card, name, &nameLength, &state, &connection->protocol,
                                                   connection->atr.data(), &connection->atrLength);
            return rv;
        },
        result);
    if (!isOk(waited))
        return waited;
    if (failed(result))
        return CardStatus::GeneralReaderError;
    m_card = static_cast<std::intptr_t>(connection->card);
    if (failed(connection->statusResult))
        return CardStatus::GeneralReaderError;
    std::copy(connection->atr.begin(), connection->atr.end(), m_atrBuffer.begin());
    m_atrLength = static_cast<uint32_t>(std::min<DWORD>(connection->atrLength, m_atrBuffer.size()));
    m_atrPosition = 0;
    return CardStatus::Ok;
}

CardStatus PcscReader::disconnectCard()
{
    if (m_card == 0)
        return CardStatus::Ok;
    const bool ok = !failed(SCardDisconnect(handle(m_card), SCARD_RESET_CARD));
    // The handle is gone either way: a removed card's handle is of no further use.
    m_card = 0;
    return ok ? CardStatus::Ok : CardStatus::NonSpecificError;
}

CardStatus PcscReader::readerCardOff()
{
    return disconnectCard();
}

CardStatus PcscReader::shutDownReader()
{
    return disconnectCard();
}

CardStatus PcscReader::startReader()
{
    if (!m_contextEstablished)
        return CardStatus::NonSpecificError;
    return disconnectCard();
}

uint16_t PcscReader::exchangeBytes(ReaderBuffer& buffer, int sendCount, int /*mode*/, int /*retries*/)
{
    buffer.count = 0;
    if (sendCount > 0)
        return 0;
    if (buffer.data.size() < buffer.capacity)
        buffer.data.resize(buffer.capacity, 0);
    const uint32_t left = m_atrLength > m_atrPosition ? m_atrLength - m_atrPosition : 0;
    const uint32_t n = std::min<uint32_t>(left, buffer.capacity);
    std::copy_n(m_atrBuffer.begin() + m_atrPosition, n, buffer.data.begin());
    m_atrPosition += n;
    buffer.count = static_cast<uint16_t>(n);
    return buffer.count;
}

int PcscReader::nextAnswerByte()
{
    if (m_atrPosition >= m_atrLength)
        return -1;
    return m_atrBuffer[m_atrPosition++];
}

CardStatus PcscReader::transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                                bool toCard, uint16_t& sw)
{
    if (data.size() < p3)
        return CardStatus::NonSpecificError;
    if (m_card == 0)
        return CardStatus::GeneralReaderError;

    std::vector<uint8_t> command{cla, ins, p1, p2, p3};
    if (toCard)
        command.insert(command.end(), data.begin(), data.begin() + p3);
    // A command carrying data gets the status word only. A read asks for p3 bytes and the status
    // word; with p3 = 0 that is the status word alone (the 256-byte reading of a zero P3 that the
    // serial engine does is not asked of the service).
    const size_t expected = toCard ? kStatusWordLength : p3 + kStatusWordLength;
    // The buffers belong to the call: it may outlive this function if the card never answers.
    struct Exchange
    {
        std::vector<uint8_t> command;
        std::vector<uint8_t> answer;
        DWORD received = 0;
    };
    auto exchange = std::make_shared<Exchange>();
    exchange->command = std::move(command);
    exchange->answer.assign(expected, 0);
    const SCARDHANDLE card = handle(m_card);
    long result = 0;
    const CardStatus waited = bounded(
        [exchange, card]() -> long {
            SCARD_IO_REQUEST sendPci{SCARD_PROTOCOL_T0, sizeof(SCARD_IO_REQUEST)};
            SCARD_IO_REQUEST receivePci{SCARD_PROTOCOL_T0, sizeof(SCARD_IO_REQUEST)};
            exchange->received = static_cast<DWORD>(exchange->answer.size());
            return SCardTransmit(card, &sendPci, exchange->command.data(), static_cast<DWORD>(exchange->command.size()),
                                 &receivePci, exchange->answer.data(), &exchange->received);
        },
        result);
    if (!isOk(waited))
        return waited;
    if (failed(result))
        return CardStatus::GeneralReaderError;
    const std::vector<uint8_t>& answer = exchange->answer;
    const DWORD received = exchange->received;

    // Only what the service says it returned is looked at. A card refusing a read answers with
    // its status word alone, which then sits where the data would have begun.
    const size_t got = std::min<size_t>(received, answer.size());
    if (got < kStatusWordLength)
        return CardStatus::ErrorInterpretingCommand;
    const size_t dataBytes = got - kStatusWordLength;
    if (!toCard)
        std::copy_n(answer.begin(), std::min<size_t>(dataBytes, p3), data.begin());
    sw = static_cast<uint16_t>(answer[dataBytes] * 256 + answer[dataBytes + 1]);
    return CardStatus::Ok;
}

CardStatus PcscReader::sendReaderSetting(uint8_t /*value*/)
{
    return CardStatus::NonSpecificError;
}

CardStatus PcscReader::setLineParameters(int /*parity*/, int /*baud*/)
{
    return CardStatus::Ok;
}

QStringList PcscReader::filterReaderNames(const QStringList& listed, const QStringList& filters)
{
    const QString any = QStringLiteral(".");
    QStringList active;
    for (const QString& f : filters) {
        const QString upper = f.toUpper();
        if (upper != any)
            active.append(upper);
    }
    if (active.isEmpty())
        return listed;
    QStringList kept;
    for (const QString& name : listed) {
        const QString upper = name.toUpper();
        if (std::any_of(active.begin(), active.end(), [&upper](const QString& f) { return upper.contains(f); }))
            kept.append(name);
    }
    return kept;
}

bool PcscReader::listPcscReaders(QStringList& names)
{
    names.clear();
    PcscReader lister;
    if (lister.open(QString()) != CardStatus::Ok)
        return false;

    // A multi-string: zero-terminated names, the last followed by an empty one.
    std::vector<char> buffer;
    LONG result = SCARD_E_INSUFFICIENT_BUFFER;
    DWORD length = 0;
    for (int attempt = 0; attempt < kListAttempts && result == SCARD_E_INSUFFICIENT_BUFFER; ++attempt) {
        length = 0;
        result = SCardListReaders(context(lister.m_context), nullptr, nullptr, &length);
        if (result != SCARD_S_SUCCESS)
            break;
        buffer.assign(length, '\0');
        result = SCardListReaders(context(lister.m_context), nullptr, buffer.data(), &length);
    }
    QStringList listed;
    if (result == SCARD_S_SUCCESS) {
        const size_t end = std::min<size_t>(length, buffer.size());
        size_t start = 0;
        while (start < end && buffer[start] != '\0') {
            size_t stop = start;
            while (stop < end && buffer[stop] != '\0')
                ++stop;
            listed.append(QString::fromUtf8(buffer.data() + start, static_cast<qsizetype>(stop - start)));
            start = stop + 1;
        }
    }
    lister.close();
    // No reader attached is an empty list, not a failure.
    if (result != SCARD_S_SUCCESS && result != SCARD_E_NO_READERS_AVAILABLE)
        return false;
    names = filterReaderNames(
        listed, {StringTable::text(sid::Text_500), StringTable::text(sid::Text_501), StringTable::text(sid::Text_502)});
    return true;
}

} // namespace kestrel
