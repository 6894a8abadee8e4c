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
        usage(err, StringTable::text(sid::UnknownOption_10071).arg(unknown.first()));
        return false;
    }
    if (args.positional().size() != positionals) {
        usage(err, positionals == 1 ? StringTable::text(sid::ExpectedOneHexArgument_10072)
                                    : StringTable::text(sid::WrongNumberOfArguments_10073));
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
        return usage(err, StringTable::text(sid::TheRecordIsNotHex_10074));
    if (record->size() < kMinDialRecord || record->size() > kMaxDialRecord)
        return usage(err, StringTable::text(sid::ADiallingNumberRecordHas_10075)
                              .arg(kMinDialRecord)
                              .arg(kMaxDialRecord)
                              .arg(record->size()));
    std::vector<uint8_t> ext;
    if (const auto extText = args.value(QStringLiteral("ext"))) {
        const auto parsed = parseHex(*extText);
        if (!parsed)
            return usage(err, StringTable::text(sid::TheExtensionFileIsNot_10076));
        if (parsed->size() % kExtensionRecordLength != 0)
            return usage(err, StringTable::text(sid::TheExtensionFileMustBe_10077));
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
        return usage(err, StringTable::text(sid::TheRecordIsNotHex_10074));
    if (record->empty() || record->size() > kMaxSmsRecord)
        return usage(err, StringTable::text(sid::AnSmsRecordHas1_10078).arg(kMaxSmsRecord));
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
        return usage(err, StringTable::text(sid::TheFileIsNotHex_10079));
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
        usage(err, StringTable::text(sid::IsNotAValidDialling_10080).arg(what, text));
        return std::nullopt;
    }
    std::string digits = SplitPlus(latin, ton);
    if (static_cast<int>(digits.size()) > maxDigits) {
        usage(err, StringTable::text(sid::HasMoreThanDigits_10081).arg(what).arg(maxDigits));
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
        return usage(err, StringTable::text(sid::EncodeAdnNeedsRecordLength_10084));
    const auto length = parseInt(*lengthText, kMinDialRecord, kMaxDialRecord);
    if (!length)
        return usage(err, StringTable::text(sid::RecordLengthMustBeTo_10085).arg(kMinDialRecord).arg(kMaxDialRecord));
    std::optional<int> npi = 0;
    if (const auto npiText = args.value(QStringLiteral("npi")))
        npi = parseInt(*npiText, 0, 15);
    if (!npi)
        return usage(err, StringTable::text(sid::NpiMustBe0To_10086));

    DialEntry entry;
    entry.valid = 1;
    const std::string name = unicodeToPcText(*nameText);
    const std::size_t alphaLength = static_cast<std::size_t>(*length - kMinDialRecord);
    if (name.size() > alphaLength)
        err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::WarningTheNameIsCut_10087).arg(alphaLength)
            << QLatin1Char('\n');
    setFixedText(entry.name, name);
    const auto digits =
        userNumber(*numberText, kMaxDialDigits, entry.ton, err, StringTable::text(sid::TheNumber_10082));
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
        return usage(err, StringTable::text(sid::TheRecordLengthIsNot_10088));
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
        return usage(err, StringTable::text(sid::EncodeSmsNeedsStatusAnd_10089));
    const auto status = parseStatus(*statusText);
    if (!status)
        return usage(err, StringTable::text(sid::StatusMustBeReadReceived_10090));
    std::optional<int> recordLength = kDefaultSmsRecord;
    if (const auto lengthText = args.value(QStringLiteral("record-length")))
        recordLength = parseInt(*lengthText, 1, kMaxSmsRecord);
    if (!recordLength)
        return usage(err, StringTable::text(sid::RecordLengthMustBe1_10091).arg(kMaxSmsRecord));

    SmsEntry entry;
    entry.valid = 1;
    entry.status = static_cast<int32_t>(*status);
    const auto sc = userNumber(args.value(QStringLiteral("sc")).value_or(QString()), kSmsNumberSize - 1, entry.scTon,
                               err, StringTable::text(sid::TheServiceCentre_10083));
    if (!sc)
        return kExitUsage;
    setFixedText(entry.scNumber, *sc);
    const auto number = userNumber(args.value(QStringLiteral("number")).value_or(QString()), kSmsNumberSize - 1,
                                   entry.numberTon, err, StringTable::text(sid::TheNumber_10082));
    if (!number)
        return kExitUsage;
    setFixedText(entry.number, *number);

    const QString when = args.value(QStringLiteral("when")).value_or(QString());
    if (!when.isEmpty()) {
        const std::string whenText = unicodeToPcText(when);
        SmsTime parsed;
        if (!ParseSmsTime(whenText, parsed))
            return usage(err, StringTable::text(sid::WhenIsNeitherADate_10123).arg(when));
        setFixedText(entry.when, whenText);
    }

    // Message texts are 7-bit: letters with diacritics are stored as their base letters.
    std::string message = FoldToAsciiText(unicodeToPcText(*text));
    if (message.size() > 160)
        return failure(err, StringTable::text(sid::MessageIsTooLong_57722));
    setFixedText(entry.text, message);

    const SmsEncodeResult result = EncodeSmsRecord(entry, *recordLength);
    if (!result.fits)
        return failure(err,
                       StringTable::text(sid::TheMessageNeedsBytesAnd_10092).arg(result.length).arg(*recordLength));
    printJson(out, QJsonObject{{QStringLiteral("record"), toHex(result.record)}});
    return kExitOk;
}

int encodePlmn(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!args.parse(words))
        return usage(err, args.error());
    if (const QStringList unknown = args.unknown({QStringLiteral("size")}); !unknown.isEmpty())
        return usage(err, StringTable::text(sid::UnknownOption_10071).arg(unknown.first()));
    const auto sizeText = args.value(QStringLiteral("size"));
    if (!sizeText)
        return usage(err, StringTable::text(sid::EncodePlmnNeedsSize_10093));
    // EF_PLMNsel and EF_FPLMN are transparent files; a READ BINARY reaches at most 255 bytes at
    // a time, but the file itself may be longer: keep a generous bound.
    const auto size = parseInt(*sizeText, 0, 0xFFFF);
    if (!size)
        return usage(err, StringTable::text(sid::SizeMustBe0To_10094));
    std::vector<PlmnEntry> list;
    for (const QString& word : args.positional()) {
        PlmnEntry e;
        if (!parsePlmn(word.toStdString(), e.mcc, e.mnc))
            return usage(err, StringTable::text(sid::IsNotANetworkMcc_10120).arg(word));
        e.used = 1;
        list.push_back(e);
    }
    if (list.size() * 3 > static_cast<std::size_t>(*size))
        return usage(err, StringTable::text(sid::NetworksDoNotFitA_10095).arg(list.size()).arg(*size));
    printJson(out, QJsonObject{{QStringLiteral("file"), toHex(EncodePlmnList(list, static_cast<std::size_t>(*size)))}});
    return kExitOk;
}

int dispatch(const QStringList& args, QTextStream& out, QTextStream& err, bool decode)
{
    if (args.isEmpty())
        return usage(err, StringTable::text(sid::NeedsAKindAdnSms_10096)
                              .arg(decode ? QStringLiteral("decode") : QStringLiteral("encode")));
    const QString& kind = args.first();
    const QStringList rest = args.mid(1);
    if (kind == QLatin1String("adn"))
        return decode ? decodeAdn(rest, out, err) : encodeAdn(rest, out, err);
    if (kind == QLatin1String("sms"))
        return decode ? decodeSms(rest, out, err) : encodeSms(rest, out, err);
    if (kind == QLatin1String("plmn"))
        return decode ? decodePlmn(rest, out, err) : encodePlmn(rest, out, err);
    return usage(err, StringTable::text(sid::UnknownKindAdnSmsOr_10097).arg(kind));
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
