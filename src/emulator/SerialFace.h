#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "emulator/Icc.h"

namespace kestrel::emulator {

// The virtual card behind a serial smart-card reader, as the host sees it byte by byte on its serial
// line.
//
// The reader runs while DTR and RTS are both on; dropping either holds it in reset and takes the
// power from the card. When both come on (the end of a reset pulse) it sends its identification.
// It then answers its command bytes, sent raw at 9600 bits per second:
//   0x01 status       → [A5] 01 S CHK       (S bit 0x40: card inserted; S + CHK = 0 mod 256)
//   0x02 v setting    → 02 v                (each byte echoed)
//   0x05 memory card  → 05 D0 … D31 CHK     (D0 … D31 + CHK = 0 mod 256; data bits arrive in
//                                            reverse order, as the reader shifts them in)
//   0x07 card on      → 07 S CHK, then the card's answer to reset
// After card on the reader only passes bytes between the line and the card's I/O contact, which is
// a single half-duplex wire: every host byte comes back as an echo before the card answers. The card
// speaks T=0 (ISO/IEC 7816-3): a five-byte header CLA INS P1 P2 P3, procedure bytes (NULL 0x60, ACK
// = INS or INS + 1 for all remaining data, INS XOR 0xFF for one byte), data, SW1 SW2. A protocol
// parameter selection (PPSS 0xFF) right after the answer to reset is answered as ISO/IEC 7816-3
// asks. An inverse-convention card's bytes reach a direct UART complemented and bit-reversed; its
// TS reads 0x03.
//
// A card that has stalled (CardResponse::stalled) sends a NULL byte every kStalledNullInterval,
// without end, and takes no byte until its power goes.
//
// Pacing: with a non-zero baud every byte occupies the line for 12 etu (start bit, 8 data bits,
// parity, two stop bits' worth of guard time), one byte after the other, and hostRead waits until
// the next byte is due. With baud 0 every byte is there at once.
//
// Used from one thread, like the serial port it stands in for; the Icc must outlive the face.
class SerialFace
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // How the card asks for the data of a command (its procedure bytes).
    enum class Procedure
    {
        Ack,             // INS: all data at once
        AckPlusOne,      // INS + 1: the same, as cards of the first ISO/IEC 7816-3 edition may send
        ByteByByte,      // INS XOR 0xFF before every single data byte
        FirstByteThenAck // INS XOR 0xFF for the first byte, then INS for the rest
    };

    struct Options
    {
        int baud = 0;                         // pacing; 0 = no pacing
        std::string identification = "KVR31"; // sent after every reader start
        bool statusPrefix = false;            // 0xA5 before the status echo, as some firmware sends
        uint8_t statusBits = 0;               // further status bits beside 0x40
        Procedure procedure = Procedure::Ack; // procedure byte for data transfers
        int nullBytes = 0;                    // NULL bytes (0x60) before every procedure byte and SW1
        bool inverseConvention = false;       // the card speaks inverse convention
    };

    // The face's time source; tests may substitute a virtual clock whose sleep just moves it on.
    class Clock
    {
    public:
        virtual ~Clock() = default;
        virtual TimePoint now() = 0;
        virtual void sleepUntil(TimePoint when) = 0;
    };

    // The speed the reader's UART runs at; a host line set otherwise only sees garbage.
    static constexpr int kReaderBaud = 9600;
    static constexpr int kParityOdd = 1;
    static constexpr int kParityEven = 2;
    // How often a stalled card repeats its NULL byte: well inside the work waiting time of a card
    // with the default WI (about a second at 3.57 MHz), as a busy card keeps its terminal waiting.
    static constexpr std::chrono::milliseconds kStalledNullInterval{20};

    explicit SerialFace(Icc& card);
    SerialFace(Icc& card, const Options& options);
    ~SerialFace();
    SerialFace(const SerialFace&) = delete;
    SerialFace& operator=(const SerialFace&) = delete;

    const Options& options() const { return m_options; }
    void setOptions(const Options& options);
    // nullptr restores the steady clock and real sleeps. The clock must outlive its use.
    void setClock(Clock* clock);

    // Host side of the line.
    void hostWrite(uint8_t byte);
    // The next byte (0-255) as soon as it is due, or -1 when none is due within timeoutMs.
    int hostRead(int timeoutMs);
    void setDtr(bool on);
    void setRts(bool on);
    // Speed in bits per second; parity 1 odd, 2 even.
    void setLine(int baud, int parity);
    // Drops what has already arrived at the host and not been read; the reader and the card go on
    // sending what they have not sent yet.
    void purge();

    // State, for tests and benchmarks.
    bool readerRunning() const { return m_mode != Mode::Off; }
    bool cardPowered() const { return m_cardPowered; }
    bool cardStalled() const { return m_stalled; }
    uint8_t lastSetting() const { return m_lastSetting; }
    size_t queuedBytes() const { return m_out.size(); }
    // When the next byte for the host is due (pacing off: the clock's epoch); none when idle.
    std::optional<TimePoint> nextDue() const;
    // Bytes put on the line so far (echoes included) and the time they take on the wire: the floor
    // any exchange over this line can reach.
    uint64_t lineBytes() const { return m_lineBytes; }
    std::chrono::nanoseconds byteTime() const { return m_byteTime; }
    std::chrono::nanoseconds wireTime() const { return m_byteTime * static_cast<int64_t>(m_lineBytes); }

private:
    enum class Mode
    {
        Off,
        Reader,
        Card
    };
    enum class CardState
    {
        Header,
        Pps,
        Data
    };
    struct Pending
    {
        uint8_t byte;
        TimePoint due;
    };

    bool paced() const { return m_byteTime.count() != 0; }
    void updatePower();
    void startReader();
    void stopReader();
    void dropUnsent();
    void readerByte(uint8_t byte);
    void cardOn();
    void readMemoryCard();
    void cardByte(uint8_t byte);
    void ppsByte(uint8_t byte);
    void startCommand();
    void dataByte(uint8_t byte);
    void finishIncoming();
    void answerOutgoing(const CardResponse& response);
    bool answerFault(const CardResponse& response);
    int stalledNull(std::chrono::milliseconds timeout);

    uint8_t statusByte() const;
    void emitRaw(uint8_t byte);
    void emitCard(uint8_t byte);
    void emitProcedure(uint8_t byte);
    void emitStatus(uint16_t sw);

    Icc& m_card;
    Options m_options;
    Clock* m_clock;
    std::chrono::nanoseconds m_byteTime{0};

    bool m_dtr = false;
    bool m_rts = false;
    int m_lineBaud = kReaderBaud;
    int m_lineParity = kParityEven;

    Mode m_mode = Mode::Off;
    bool m_settingPending = false;
    uint8_t m_lastSetting = 0;

    bool m_cardPowered = false;
    bool m_inverse = false;
    bool m_ppsAllowed = false;
    bool m_stalled = false;
    TimePoint m_nextNull{};
    CardState m_cardState = CardState::Header;
    std::array<uint8_t, 5> m_header{};
    size_t m_headerLength = 0;
    std::array<uint8_t, 6> m_pps{};
    size_t m_ppsLength = 0;
    Apdu m_apdu;

    std::deque<Pending> m_out;
    TimePoint m_lineFree{};
    uint64_t m_lineBytes = 0;
};

} // namespace kestrel::emulator
