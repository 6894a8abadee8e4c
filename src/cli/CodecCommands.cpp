#include "cli/CodecCommands.h"

#include <optional>
#include <string>

#include <QJsonArray>
#include <QJsonObject>

#include "base/StringTable.h"
#include "cli/CliArgs.h"
#include "cli/CliCommands.h"
#include "cli/Hex.h"
#include "cli/JsonOutput.h"
#include "codec/DialDigits.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/PlmnCodec.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"

namespace kestrel::cli {

namespace {

constexpr int kMinDialRecord = static_cast<int>(kMinDialRecordLength);
constexpr int kMaxDialRecord = static_cast<int>(kMaxDialRecordLength);
constexpr int kDefaultSmsRecord = 176;
constexpr int kMaxSmsRecord = 256;

int usage(QTextStream& err, const QString& message)
{
    err << QStringLiteral("kestrel-cli: %1\n").arg(message);
    return kExitUsage;
}

int failure(QTextStream& err, const QString& message)
{
    err << QStringLiteral("kestrel-cli: %1\n").arg(message);
    return kExitFailed;
}

// Parses the common shape: exactly `positionals` positional words and only the known options.
bool parseArgs(const QStringList& words, int positionals, const QStringList& known, CliArgs& args, QTextStream& err)
{
    if (!args.parse(words)) {
        usage(err, args.error());
        return false;
    }
    const QStringList unknown = args.unknown(known);
    if (!unknown.isEmpty()) {
        usage(err, QStringLiteral("unknown option --%1").arg(unknown.first()));
        return false;
    }
    if (args.positional().size() != positionals) {
        usage(err, positionals == 1 ? QStringLiteral("expected one hex argument")
                                    : QStringLiteral("wrong number of arguments"));
        return false;
    }
    return true;
}

std::optional<int> parseInt(const QString& text, int min, int max)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return v;
}

int decodeAdn(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!parseArgs(words, 1, {QStringLiteral("ext")}, args, err))
        return kExitUsage;
    const auto record = parseHex(args.positional().first());
    if (!record)
        return usage(err, QStringLiteral("the record is not hex bytes"));
    if (record->size() < kMinDialRecord || record->size() > kMaxDialRecord)
        return usage(err, QStringLiteral("a dialling-number record has %1 to %2 bytes, not %3")
                              .arg(kMinDialRecord)
                              .arg(kMaxDialRecord)
                              .arg(record->size()));
    std::vector<uint8_t> ext;
    if (const auto extText = args.value(QStringLiteral("ext"))) {
        const auto parsed = parseHex(*extText);
        if (!parsed)
            return usage(err, QStringLiteral("the extension file is not hex bytes"));
        if (parsed->size() % kExtensionRecordLength != 0)
            return usage(err, QStringLiteral("the extension file must be whole 13-byte records"));
        ext = *parsed;
    }
    printJson(out, dialJson(DecodeDialRecord(*record, 1, ext)));
    return kExitOk;
}

int decodeSms(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!parseArgs(words, 1, {}, args, err))
        return kExitUsage;
    const auto record = parseHex(args.positional().first());
    if (!record)
        return usage(err, QStringLiteral("the record is not hex bytes"));
    if (record->empty() || record->size() > kMaxSmsRecord)
        return usage(err, QStringLiteral("an SMS record has 1 to %1 bytes").arg(kMaxSmsRecord));
    printJson(out, smsJson(DecodeSmsRecord(*record, 0)));
    return kExitOk;
}

int decodePlmn(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!parseArgs(words, 1, {}, args, err))
        return kExitUsage;
    const auto file = parseHex(args.positional().first());
    if (!file)
        return usage(err, QStringLiteral("the file is not hex bytes"));
    const QJsonArray list = plmnListJson(DecodePlmnList(*file), true);
    printJson(out, list);
    return kExitOk;
}

// A number text from the user: separators gone, validated, "+" turned into TON 1, at most
// maxDigits digits.
std::optional<std::string> userNumber(const QString& text, int maxDigits, uint8_t& ton, QTextStream& err,
                                      const QString& what)
{
    const std::string latin = StripNumberSeparators(text.toStdString());
    if (!IsValidDialNumber(latin)) {
        usage(err, QStringLiteral("%1 \"%2\" is not a valid dialling number").arg(what, text));
        return std::nullopt;
    }
    std::string digits = SplitPlus(latin, ton);
    if (static_cast<int>(digits.size()) > maxDigits) {
        usage(err, QStringLiteral("%1 has more than %2 digits").arg(what).arg(maxDigits));
        return std::nullopt;
    }
    return digits;
}

int encodeAdn(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!parseArgs(
            words, 0,
            {QStringLiteral("record-length"), QStringLiteral("name"), QStringLiteral("number"), QStringLiteral("npi")},
            args, err))
        return kExitUsage;
    const auto lengthText = args.value(QStringLiteral("record-length"));
    const auto nameText = args.value(QStringLiteral("name"));
    const auto numberText = args.value(QStringLiteral("number"));
    if (!lengthText || !nameText || !numberText)
        return usage(err, QStringLiteral("encode adn needs --record-length, --name and --number"));
    const auto length = parseInt(*lengthText, kMinDialRecord, kMaxDialRecord);
    if (!length)
        return usage(err, QStringLiteral("--record-length must be %1 to %2").arg(kMinDialRecord).arg(kMaxDialRecord));
    std::optional<int> npi = 0;
    if (const auto npiText = args.value(QStringLiteral("npi")))
        npi = parseInt(*npiText, 0, 15);
    if (!npi)
        return usage(err, QStringLiteral("--npi must be 0 to 15"));

    DialEntry entry;
    entry.valid = 1;
    const std::string name = unicodeToPcText(*nameText);
    const std::size_t alphaLength = static_cast<std::size_t>(*length - kMinDialRecord);
    if (name.size() > alphaLength)
        err << QStringLiteral("kestrel-cli: warning: the name is cut to the record's %1 alpha bytes\n")
                   .arg(alphaLength);
    setFixedText(entry.name, name);
    const auto digits = userNumber(*numberText, kMaxDialDigits, entry.ton, err, QStringLiteral("the number"));
    if (!digits)
        return kExitUsage;
    setFixedText(entry.number, *digits);
    entry.npi = static_cast<uint8_t>(*npi);

    std::vector<uint8_t> record(static_cast<std::size_t>(*length));
    uint8_t nextId = 1;
    const DialEncodeResult result =
        EncodeDialRecord(entry, record, [&nextId]() -> std::optional<uint8_t> { return nextId++; });
    if (result.status == DialEncodeStatus::NoFreeExtension)
        return failure(err, StringTable::text(sid::ExtensionCardSpaceOverflow_148));
    if (!result.ok)
        return usage(err, QStringLiteral("the record length is not that of a dialling-number file"));
    QJsonArray ext;
    for (const ExtensionRecord& piece : result.extensions)
        ext.append(toHex(piece.bytes));
    printJson(out, QJsonObject{{QStringLiteral("record"), toHex(record)}, {QStringLiteral("ext"), ext}});
    return kExitOk;
}

std::optional<SmsStatus> parseStatus(const QString& text)
{
    static const struct
    {
        const char* name;
        SmsStatus status;
    } kNames[] = {{"Read", SmsStatus::Read},
                  {"Received", SmsStatus::Received},
                  {"Sent", SmsStatus::Sent},
                  {"ToBeSent", SmsStatus::ToBeSent}};
    for (const auto& n : kNames) {
        if (text.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.status;
    }
    return std::nullopt;
}

int encodeSms(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!parseArgs(words, 0,
                   {QStringLiteral("status"), QStringLiteral("sc"), QStringLiteral("number"), QStringLiteral("when"),
                    QStringLiteral("text"), QStringLiteral("record-length")},
                   args, err))
        return kExitUsage;
    const auto statusText = args.value(QStringLiteral("status"));
    const auto text = args.value(QStringLiteral("text"));
    if (!statusText || !text)
        return usage(err, QStringLiteral("encode sms needs --status and --text"));
    const auto status = parseStatus(*statusText);
    if (!status)
        return usage(err, QStringLiteral("--status must be Read, Received, Sent or ToBeSent"));
    std::optional<int> recordLength = kDefaultSmsRecord;
    if (const auto lengthText = args.value(QStringLiteral("record-length")))
        recordLength = parseInt(*lengthText, 1, kMaxSmsRecord);
    if (!recordLength)
        return usage(err, QStringLiteral("--record-length must be 1 to %1").arg(kMaxSmsRecord));

    SmsEntry entry;
    entry.valid = 1;
    entry.status = static_cast<int32_t>(*status);
    const auto sc = userNumber(args.value(QStringLiteral("sc")).value_or(QString()), kSmsNumberSize - 1, entry.scTon,
                               err, QStringLiteral("the service centre"));
    if (!sc)
        return kExitUsage;
    setFixedText(entry.scNumber, *sc);
    const auto number = userNumber(args.value(QStringLiteral("number")).value_or(QString()), kSmsNumberSize - 1,
                                   entry.numberTon, err, QStringLiteral("the number"));
    if (!number)
        return kExitUsage;
    setFixedText(entry.number, *number);

    const QString when = args.value(QStringLiteral("when")).value_or(QString());
    if (!when.isEmpty()) {
        const std::string whenText = unicodeToPcText(when);
        SmsTime parsed;
        if (!ParseSmsTime(whenText, parsed))
            return usage(err, QStringLiteral("--when \"%1\" is neither a date and time (DD.MM.YY HH:MM) nor a "
                                             "validity period (e.g. \"7 days\")")
                                  .arg(when));
        setFixedText(entry.when, whenText);
    }

    // Message texts are 7-bit: letters with diacritics are stored as their base letters.
    std::string message = FoldToAsciiText(unicodeToPcText(*text));
    if (message.size() > 160)
        return failure(err, StringTable::text(sid::MessageIsTooLong_57722));
    setFixedText(entry.text, message);

    const SmsEncodeResult result = EncodeSmsRecord(entry, *recordLength);
    if (!result.fits)
        return failure(err, QStringLiteral("the message needs %1 bytes and does not fit a record of %2 bytes")
                                .arg(result.length)
                                .arg(*recordLength));
    printJson(out, QJsonObject{{QStringLiteral("record"), toHex(result.record)}});
    return kExitOk;
}

int encodePlmn(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!args.parse(words))
        return usage(err, args.error());
    if (const QStringList unknown = args.unknown({QStringLiteral("size")}); !unknown.isEmpty())
        return usage(err, QStringLiteral("unknown option --%1").arg(unknown.first()));
    const auto sizeText = args.value(QStringLiteral("size"));
    if (!sizeText)
        return usage(err, QStringLiteral("encode plmn needs --size"));
    // EF_PLMNsel and EF_FPLMN are transparent files; a READ BINARY reaches at most 255 bytes at
    // a time, but the file itself may be longer: keep a generous bound.
    const auto size = parseInt(*sizeText, 0, 0xFFFF);
    if (!size)
        return usage(err, QStringLiteral("--size must be 0 to 65535 bytes"));
    std::vector<PlmnEntry> list;
    for (const QString& word : args.positional()) {
        PlmnEntry e;
        if (!parsePlmn(word.toStdString(), e.mcc, e.mnc))
            return usage(err, QStringLiteral("\"%1\" is not a network (MCC-MNC, e.g. 234-01)").arg(word));
        e.used = 1;
        list.push_back(e);
    }
    if (list.size() * 3 > static_cast<std::size_t>(*size))
        return usage(err, QStringLiteral("%1 networks do not fit a file of %2 bytes").arg(list.size()).arg(*size));
    printJson(out, QJsonObject{{QStringLiteral("file"), toHex(EncodePlmnList(list, static_cast<std::size_t>(*size)))}});
    return kExitOk;
}

int dispatch(const QStringList& args, QTextStream& out, QTextStream& err, bool decode)
{
    if (args.isEmpty())
        return usage(err, QStringLiteral("%1 needs a kind: adn, sms or plmn")
                              .arg(decode ? QStringLiteral("decode") : QStringLiteral("encode")));
    const QString& kind = args.first();
    const QStringList rest = args.mid(1);
    if (kind == QLatin1String("adn"))
        return decode ? decodeAdn(rest, out, err) : encodeAdn(rest, out, err);
    if (kind == QLatin1String("sms"))
        return decode ? decodeSms(rest, out, err) : encodeSms(rest, out, err);
    if (kind == QLatin1String("plmn"))
        return decode ? decodePlmn(rest, out, err) : encodePlmn(rest, out, err);
    return usage(err, QStringLiteral("unknown kind \"%1\": adn, sms or plmn").arg(kind));
}

} // namespace

int runDecode(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return dispatch(args, out, err, true);
}

int runEncode(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return dispatch(args, out, err, false);
}

} // namespace kestrel::cli
