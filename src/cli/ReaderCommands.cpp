#include "cli/ReaderCommands.h"

#include <vector>

#include <QJsonArray>
#include <QJsonObject>
#include <QSettings>

#include "base/StringTable.h"
#include "cli/CliCommands.h"
#include "cli/Hex.h"
#include "cli/JsonOutput.h"
#include "gsm/StatusWords.h"
#include "reader/ReaderManager.h"
#include "reader/SerialReader.h"
#include "sim/GsmCommands.h"

namespace kestrel::cli {

namespace {

// "Communication error:" and the status message, as the program reports a failed card command.
QString communicationError(CardStatus status)
{
    return StringTable::text(sid::CommunicationError_5301) + QLatin1Char(' ') + cardStatusMessage(status);
}

const QString kText = QStringLiteral("--text");

QString kindName(ReaderKind kind)
{
    switch (kind) {
    case ReaderKind::None:
        return QStringLiteral("none");
    case ReaderKind::Serial:
        return QStringLiteral("serial");
    case ReaderKind::Kvri:
        return QStringLiteral("driver");
    case ReaderKind::Pcsc:
        return QStringLiteral("pcsc");
    case ReaderKind::SmartApi:
        return QStringLiteral("pcmcia");
    case ReaderKind::Virtual:
        return QStringLiteral("virtual");
    case ReaderKind::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

struct ParsedApdu
{
    uint8_t header[5] = {};
    std::vector<uint8_t> data;
    bool toCard = false;
};

// A header alone reads P3 bytes (256 for P3 = 0); a header with exactly P3 bytes after it writes.
bool parseApdu(const QString& text, ParsedApdu& apdu, QString& why)
{
    const auto bytes = parseHex(text);
    if (!bytes) {
        why = StringTable::text(sid::IsNotHexBytes_10107).arg(text);
        return false;
    }
    if (bytes->size() < 5) {
        why = StringTable::text(sid::IsShorterThanACommand_10108).arg(text);
        return false;
    }
    std::copy_n(bytes->begin(), 5, apdu.header);
    apdu.toCard = bytes->size() > 5;
    if (apdu.toCard) {
        apdu.data.assign(bytes->begin() + 5, bytes->end());
        if (apdu.data.size() != apdu.header[4]) {
            why =
                StringTable::text(sid::P3SaysDataBytesGiven_10109).arg(text).arg(apdu.header[4]).arg(apdu.data.size());
            return false;
        }
    } else {
        apdu.data.assign(apdu.header[4] == 0 ? 256 : apdu.header[4], 0);
    }
    return true;
}

} // namespace

QString storedDevice()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantwick"),
                             QStringLiteral("Kestrel! 4.0"));
    return settings.value(QStringLiteral("commData/device"), QStringLiteral("COM2")).toString();
}

int runReaders(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty() && args != QStringList{kText}) {
        err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::ReadersTakesNoArgumentsBut_10110)
            << QLatin1Char('\n');
        return kExitUsage;
    }
    const QStringList devices = ReaderManager::deviceStrings();
    if (!args.isEmpty()) {
        for (const QString& device : devices)
            out << device << QLatin1Char('\n');
        return kExitOk;
    }
    const QString stored = storedDevice();
    QJsonArray list;
    for (const QString& device : devices) {
        const ReaderKind kind = ReaderManager::classify(device);
        QJsonObject o{{QStringLiteral("device"), device},
                      {QStringLiteral("kind"), kindName(kind)},
                      {QStringLiteral("selected"), device == stored}};
        if (kind == ReaderKind::Serial)
            o.insert(QStringLiteral("port"), SerialReader::portPath(device));
        list.append(o);
    }
    printJson(out, list);
    return kExitOk;
}

int runApdu(const QString& device, const QStringList& words, QTextStream& out, QTextStream& err)
{
    const bool text = words.contains(kText);
    QStringList args = words;
    args.removeAll(kText);
    if (args.isEmpty()) {
        err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::ApduNeedsAtLeastOne_10111)
            << QLatin1Char('\n');
        return kExitUsage;
    }
    std::vector<ParsedApdu> apdus(static_cast<std::size_t>(args.size()));
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString why;
        if (!parseApdu(args[i], apdus[static_cast<std::size_t>(i)], why)) {
            err << QStringLiteral("kestrel-cli: %1\n").arg(why);
            return kExitUsage;
        }
    }

    ReaderManager manager;
    const CardStatus opened = manager.selectDevice(device);
    if (opened != CardStatus::Ok) {
        err << QStringLiteral("kestrel-cli: ") << cardStatusMessage(CardStatus::ReaderInaccessible) << device
            << QStringLiteral(": ") << cardStatusMessage(opened);
        if (!manager.lastDetail().isEmpty())
            err << QStringLiteral(" (") << manager.lastDetail() << QLatin1Char(')');
        err << QLatin1Char('\n');
        return kExitFailed;
    }
    CardReader& reader = *manager.currentReader();
    unsigned flags = 0;
    if (const CardStatus s = reader.activateCard(nullptr, flags); s != CardStatus::Ok) {
        err << QStringLiteral("kestrel-cli: ") << communicationError(s) << QLatin1Char('\n');
        return kExitFailed;
    }

    int result = kExitOk;
    QJsonArray answers;
    for (qsizetype i = 0; i < args.size(); ++i) {
        ParsedApdu& apdu = apdus[static_cast<std::size_t>(i)];
        uint16_t sw = 0;
        const CardStatus s = reader.transmit(apdu.header[0], apdu.header[1], apdu.header[2], apdu.header[3],
                                             apdu.header[4], apdu.data, apdu.toCard, sw);
        if (s != CardStatus::Ok) {
            out.flush();
            err << QStringLiteral("kestrel-cli: ") << communicationError(s) << QLatin1Char('\n');
            result = kExitFailed;
            break;
        }
        // Data came back only for a reading command the card completed (90 00, or 91 xx with a
        // proactive command waiting); an error status word comes instead of the data.
        const bool data = !apdu.toCard && endedNormally(sw);
        const QString status = toHex(std::vector<uint8_t>{gsm::sw1(sw), gsm::sw2(sw)});
        if (text) {
            if (data)
                out << toHex(apdu.data) << QLatin1Char(' ');
            out << status << QLatin1Char('\n');
            continue;
        }
        answers.append(QJsonObject{{QStringLiteral("command"), toHex(parseHex(args[i]).value())},
                                   {QStringLiteral("data"), data ? QJsonValue(toHex(apdu.data)) : QJsonValue()},
                                   {QStringLiteral("sw"), status},
                                   {QStringLiteral("sw1"), gsm::sw1(sw)},
                                   {QStringLiteral("sw2"), gsm::sw2(sw)}});
    }
    // The answers the card gave, also when a later command failed.
    if (!text && (result == kExitOk || !answers.isEmpty()))
        printJson(out, answers);
    reader.deactivateCard();
    manager.selectDevice(QStringLiteral("NOTHING"));
    return result;
}

} // namespace kestrel::cli
