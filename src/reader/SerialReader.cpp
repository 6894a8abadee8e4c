#include "reader/SerialReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>

namespace kestrel {

namespace {

// An empty poll of the line waits this long for a byte before giving up.
constexpr int kPollMs = 3;
// readRawByte's own wait when nothing was looked ahead (the port's read time-out).
constexpr int kRawReadMs = 7;
constexpr int kLineBaud = 9600;
constexpr int kEven = 2;
constexpr uint8_t kReaderSetting = 0x1A;

} // namespace

SerialReader::SerialReader(std::unique_ptr<SerialLine> line) : m_line(std::move(line)) {}

SerialReader::~SerialReader()
{
    if (m_line && m_line->isOpen()) {
        m_line->setDtr(false);
        m_line->setRts(false);
        m_line->close();
    }
}

QString SerialReader::portPath(const QString& deviceName)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantwick"),
                             QStringLiteral("Kestrel! 4.0"));
    const QString mapped = settings.value(QStringLiteral("commData/") + deviceName).toString();
    if (!mapped.isEmpty())
        return mapped;
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]{0,2})$"));
    const QRegularExpressionMatch m = comName.match(deviceName);
    if (m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (deviceName.startsWith(QLatin1Char('/')))
        return deviceName;
    return {};
}

CardStatus SerialReader::open(const QString& name, int /*reserved*/)
{
    return openLine(portPath(name));
}

CardStatus SerialReader::openLine(const QString& path)
{
    if (m_line->isOpen()) {
        m_line->close();
        m_portOpen = false;
    }
    m_lookAhead = -1;
    m_readerConnected = false;
    m_cardActive = false;
    m_cardPowered = false;
    if (path.isEmpty() || !m_line->open(QFile::encodeName(path).toStdString()))
        return CardStatus::PortNotSet;
    m_portOpen = true;
    if (!m_line->purge())
        return CardStatus::PortOperationError;
    const CardStatus r = shutDownReader();
    if (!isOk(r))
        return r;
    return startReader();
}

CardStatus SerialReader::close()
{
    CardStatus r = CardStatus::Ok;
    if (m_line->isOpen()) {
        r = shutDownReader();
        m_line->close();
    }
    m_lookAhead = -1;
    m_readerConnected = false;
    m_portOpen = false;
    // The reader is off, and the card with it.
    m_cardActive = false;
    m_cardPowered = false;
    return r;
}

CardStatus SerialReader::setLineParameters(int parity, int baud)
{
    if (!m_line->isOpen())
        return CardStatus::PortNotSet;
    const SerialLine::Parity p = parity == 1 ? SerialLine::Parity::Odd : SerialLine::Parity::Even;
    // DTR and RTS keep their state: the reader resets on a DTR pulse, which only startReader gives.
    if (!m_line->configure(baud, p))
        return CardStatus::PortOperationError;
    return CardStatus::Ok;
}

CardStatus SerialReader::readerCardOff()
{
    return startReader();
}

CardStatus SerialReader::shutDownReader()
{
    m_readerConnected = false;
    if (!m_line->isOpen())
        return CardStatus::PortNotSet;
    if (!m_line->setDtr(false) || !m_line->setRts(false))
        return CardStatus::PortOperationError;
    delay(m_readerOffSettleTime);
    return CardStatus::Ok;
}

CardStatus SerialReader::startReader()
{
    m_readerConnected = false;
    if (!m_line->isOpen())
        return CardStatus::PortNotSet;
    CardStatus r = setLineParameters(kEven, kLineBaud);
    if (!isOk(r))
        return r;
    // The reader resets on a DTR pulse (RTS held on) and then names itself.
    if (!m_line->setDtr(false) || !m_line->setRts(true))
        return CardStatus::PortOperationError;
    delay(m_resetPulseTime);
    if (!m_line->setDtr(true))
        return CardStatus::PortOperationError;
    if (!identify())
        return CardStatus::ReaderNotConnected;
    r = sendReaderSetting(kReaderSetting);
    if (isOk(r))
        m_readerConnected = true;
    return r;
}

bool SerialReader::identify()
{
    static constexpr char kIds[2][6] = {"KVR31", "KVR32"};
    constexpr int kLength = 5;
    m_timerStart = clockMs();
    int pos = 0;
    bool mark[2] = {true, true};
    while (pos < kLength && clockMs() - m_timerStart <= m_identificationTimeout) {
        if (!byteAvailable())
            continue;
        const char c = static_cast<char>(readRawByte());
        for (int i = 0; i < 2; ++i) {
            if (mark[i] && kIds[i][pos] != c)
                mark[i] = false;
        }
        if (!mark[0] && !mark[1]) {
            // Start again; the byte that broke the match may itself begin the name.
            mark[0] = mark[1] = true;
            pos = c == kIds[0][0] ? 1 : 0;
        } else {
            ++pos;
        }
    }
    m_readerConnected = pos == kLength;
    return m_readerConnected;
}

CardStatus SerialReader::sendPps()
{
    // PPSS FF, PPS0 00 (T=0, no PPS1), PCK FF: keep the default Fi/Di.
    flushInput();
    writeByte(0xFF);
    writeByte(0x00);
    writeByte(0xFF);
    for (int i = 0; i < 8; ++i) {
        if (readByte() < 0)
            break;
    }
    return CardStatus::Ok;
}

void SerialReader::writeByte(uint8_t b)
{
    if (m_line->isOpen())
        m_line->write(b);
}

uint8_t SerialReader::readRawByte()
{
    if (m_lookAhead >= 0) {
        const int b = m_lookAhead;
        m_lookAhead = -1;
        return static_cast<uint8_t>(b);
    }
    const int b = m_line->isOpen() ? m_line->read(kRawReadMs) : -1;
    return b < 0 ? 0 : static_cast<uint8_t>(b);
}

bool SerialReader::byteAvailable()
{
    if (!m_line->isOpen()) {
        // As an empty poll would, so that a wait for a byte on a closed port does not spin.
        sleepMs(kPollMs);
        return false;
    }
    if (m_lookAhead >= 0)
        return true;
    const int b = m_line->read(kPollMs);
    if (b < 0)
        return false;
    m_lookAhead = b;
    return true;
}

} // namespace kestrel
