#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "reader/ReaderBase.h"

namespace kestrel {

// Any reader behind the PC/SC service (pcsc-lite's pcscd). There is no byte engine here: the
// service talks to the card, this class only makes the calls. The card is connected exclusively
// with T=0, so GSM commands and their status words (9F xx included) pass unchanged. The answer to
// reset that the service reports is kept and read by the shared activation as it would read one
// from a serial reader.
class PcscReader final : public ReaderBase
{
public:
    PcscReader();
    ~PcscReader() override;

    CardStatus readMemoryCard(std::array<uint8_t, 32>& out) override;
    CardStatus close() override;
    // Establishes the service context and remembers name as the reader to use. A reader whose
    // context is already established keeps its first name.
    CardStatus open(const QString& name, int reserved = 0) override;
    // The command goes to the service in one piece: header plus p3 data bytes for a command that
    // carries data, the header alone for one that reads p3 bytes (a read with p3 = 0 asks for the
    // status word only). Whatever the service returns, the status word is its last two bytes.
    CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                        bool toCard, uint16_t& sw) override;
    // Nothing can be sent; takes the next bytes of the stored answer to reset.
    uint16_t exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries);
    // 0x40 when the service sees a card in the reader.
    CardStatus readStatus(uint16_t& status) override;
    // A PC/SC reader takes no reader setting.
    CardStatus sendReaderSetting(uint8_t value);
    // Connects to the card and fetches its answer to reset.
    CardStatus readerCardOn() override;
    CardStatus setLineParameters(int parity, int baud) override;
    CardStatus readerCardOff() override;
    CardStatus shutDownReader() override;
    CardStatus startReader() override;

    const QString& readerName() const { return m_readerName; }
    bool contextEstablished() const { return m_contextEstablished; }
    bool cardConnected() const { return m_card != 0; }
    // The service's own code of the last failed call (0 when none has failed), and its text.
    long lastServiceError() const { return m_lastError; }
    QString lastServiceErrorText() const;

    // PcscReader objects alive in this process.
    static int liveCount();

    // The reader names the service lists, filtered for the Setup dialog: false when the service
    // cannot be reached or the listing fails (the names are then empty).
    static bool listPcscReaders(QStringList& names);
    // Keeps the names whose upper-case form contains one of the filters that are not "."; all
    // three "." keep every name. Kept names stay as listed and in their order.
    static QStringList filterReaderNames(const QStringList& listed, const QStringList& filters);

protected:
    int nextAnswerByte() override;
    // The service reports the answer in its logical values already.
    uint8_t inverseAnswerByte(uint8_t b) override { return b; }

private:
    CardStatus disconnectCard();
    // A call that touches the card, made on the call thread within the command time limit and
    // Abort. When it does not come back, the card handle and the context are given up (the
    // context is held by the stuck call) and the next access establishes a fresh context.
    CardStatus bounded(const std::function<long()>& call, long& result);
    void giveUpContext();
    bool ensureContext();
    bool failed(long result);

    // Answer-to-reset read position and length, and the answer itself (ISO/IEC 7816-3 allows 33
    // bytes counting TS).
    uint32_t m_atrPosition = 0;
    uint32_t m_atrLength = 0;
    std::array<uint8_t, 33> m_atrBuffer{};
    QString m_readerName;
    QByteArray m_readerName8;
    std::intptr_t m_card = 0;
    std::intptr_t m_context = 0;
    bool m_contextEstablished = false;
    // The context was given up to a call that did not come back.
    bool m_contextLost = false;
    long m_lastError = 0;
    std::unique_ptr<class PcscCallThread> m_calls;
};

} // namespace kestrel
