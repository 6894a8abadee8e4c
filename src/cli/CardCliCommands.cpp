#include "cli/CardCliCommands.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/CardOperation.h"
#include "app/SimCheckCommand.h"
#include "backup/BackupFile.h"
#include "backup/BackupOperations.h"
#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/ImageCliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/PhoneBookCliCommands.h"
#include "cli/SmsCliCommands.h"
#include "cli/TerminalPrompter.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/SmsTime.h"
#include "sim/DialFiles.h"
#include "sim/SimCard.h"
#include "sim/SmsFiles.h"
#include "sim/SmsParameters.h"

namespace kestrel::cli {

namespace {

constexpr int kCaptionPhoneBook = sid::ReadingPhoneBook_5100;     // "Kestrel! - Reading Phone Book"
constexpr int kCaptionFdn = sid::ReadingFixedDialingNumbers_5102; // "Kestrel! - Reading Fixed Dialing Numbers"
constexpr int kCaptionSms = sid::ReadingSmsMessage_5111;          // "Kestrel! - Reading SMS message"

// EF_ADN and EF_FDN are read into room for 250 entries, EF_LND and EF_MSISDN into 150.
constexpr std::size_t kPhoneBookRoom = 250;
constexpr std::size_t kOtherDialRoom = 150;

const QString kAll = QStringLiteral("all");

int usage(QTextStream& err, const QString& message)
{
    err << QStringLiteral("kestrel-cli: ") << message << QLatin1Char('\n');
    return kExitUsage;
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Reading commands open the card with CHV1, offering to unblock a blocked card.
OpenFlags readFlags()
{
    OpenFlags flags;
    flags.chv1 = true;
    flags.strict = true;
    flags.offerUnblock = true;
    return flags;
}

bool runOperation(CardSession& s, int captionId, const std::function<bool()>& work)
{
    CardOperation operation(s.sim, s.prompter, s.progress);
    return operation.run(captionId, readFlags(), work);
}

// The verb a command needs, or a usage error naming the ones it knows.
bool verb(const QStringList& args, const QStringList& verbs, const QString& command, QTextStream& err)
{
    if (verbs.contains(args.value(0)))
        return true;
    usage(err, StringTable::text(sid::Needs_10060)
                   .arg(command, verbs.join(QStringLiteral(" %1 ").arg(StringTable::text(sid::Or_10061)))));
    return false;
}

// An EF_SMSP access that did not succeed, said on standard error.
int smspFailure(CardSession& s, const SmsParameters& result)
{
    s.prompter.showCardError(result.messageId() != 0
                                 ? result.message()
                                 : StringTable::text(sid::CommunicationError_5301) + QStringLiteral("\r\n") +
                                       cardStatusMessage(CardStatus::OperationCancelled));
    return kExitFailed;
}

QJsonObject done(const QString& command, const TerminalPrompter& prompter)
{
    return doneJson(command, prompter.lastMessage());
}

struct RestorePart
{
    const char* name;
    bool RestoreChoice::*member;
};

constexpr RestorePart kRestoreParts[] = {
    {"phonebook", &RestoreChoice::phoneBook}, {"fdn", &RestoreChoice::fdn},           {"sms", &RestoreChoice::sms},
    {"smsp", &RestoreChoice::smsParameters},  {"networks", &RestoreChoice::networks},
};

// "--only a,b,...": those parts alone; without the option every part.
std::optional<RestoreChoice> restoreChoice(const CliArgs& args, QTextStream& err)
{
    const std::optional<QString> only = args.value(QStringLiteral("only"));
    if (!only)
        return RestoreChoice{};
    RestoreChoice choice;
    for (const RestorePart& part : kRestoreParts)
        choice.*part.member = false;
    for (const QString& word : only->split(u',', Qt::SkipEmptyParts)) {
        bool known = false;
        for (const RestorePart& part : kRestoreParts) {
            if (word.trimmed() == QLatin1String(part.name)) {
                choice.*part.member = true;
                known = true;
            }
        }
        if (!known) {
            usage(err, StringTable::text(sid::RestoreUnknownPartInOnly_10062).arg(word));
            return std::nullopt;
        }
    }
    if (only->split(u',', Qt::SkipEmptyParts).isEmpty()) {
        usage(err, StringTable::text(sid::RestoreOnlyNeedsAtLeast_10063));
        return std::nullopt;
    }
    return choice;
}

QJsonArray restoredParts(const RestoreChoice& choice)
{
    QJsonArray parts;
    for (const RestorePart& part : kRestoreParts) {
        if (choice.*part.member)
            parts.append(QLatin1String(part.name));
    }
    return parts;
}

QJsonObject counts(const BackupContents& c)
{
    return QJsonObject{
        {QStringLiteral("phoneBook"), c.phoneBookCount},
        {QStringLiteral("fdn"), c.fdnCount},
        {QStringLiteral("sms"), c.smsCount},
        {QStringLiteral("plmn"), static_cast<int>(c.plmn.size())},
        {QStringLiteral("fplmn"), static_cast<int>(c.fplmn.size())},
    };
}

} // namespace

bool readDialEntries(CardSession& s, uint16_t file, std::vector<DialEntry>& entries)
{
    const bool phoneBook = file == gsm::fid::kEfAdn || file == gsm::fid::kEfFdn;
    const int caption = file == gsm::fid::kEfFdn ? kCaptionFdn : kCaptionPhoneBook;
    entries.assign(phoneBook ? kPhoneBookRoom : kOtherDialRoom, DialEntry());
    DialListSize size;
    if (!runOperation(s, caption, [&] { return DialFiles(s.sim).readDialList(file, entries, size); }))
        return false;
    entries.resize(std::min(entries.size(), static_cast<std::size_t>(std::max(size.count, 0))));
    return true;
}

bool readSmsEntries(CardSession& s, std::vector<SmsEntry>& entries)
{
    entries.assign(static_cast<std::size_t>(kMaxSmsEntries), SmsEntry());
    int count = 0;
    if (!runOperation(s, kCaptionSms, [&] { return SmsFiles(s.sim).readSmsList(entries, count); }))
        return false;
    entries.resize(std::min(entries.size(), static_cast<std::size_t>(std::max(count, 0))));
    return true;
}

int runPhonebook(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    if (!verb(args, {QStringLiteral("read"), QStringLiteral("export"), QStringLiteral("import")},
              QStringLiteral("phonebook"), err))
        return kExitUsage;
    if (args.first() != QLatin1String("read"))
        return runPhoneBookTransfer(device, args, out, err, interactive);
    const QStringList files = {QStringLiteral("fdn"), QStringLiteral("lnd"), QStringLiteral("msisdn")};
    const CardCommandShape shape{QStringLiteral("phonebook read"), {}, files + QStringList{kAll}, 0, 0};
    const auto check = [&](const CliArgs& a) {
        int given = 0;
        for (const QString& f : files)
            given += a.has(f) ? 1 : 0;
        return given > 1 ? usage(err, StringTable::text(sid::PhonebookReadGiveAtMost_10064)) : kExitOk;
    };
    return runCardSession(
        device, shape, args.mid(1), out, err, interactive,
        [](CardSession& s) {
            uint16_t file = gsm::fid::kEfAdn;
            if (s.args.has(QStringLiteral("fdn")))
                file = gsm::fid::kEfFdn;
            else if (s.args.has(QStringLiteral("lnd")))
                file = gsm::fid::kEfLnd;
            else if (s.args.has(QStringLiteral("msisdn")))
                file = gsm::fid::kEfMsisdn;
            std::vector<DialEntry> entries;
            if (!readDialEntries(s, file, entries))
                return kExitFailed;
            printJson(s.out, dialListJson(entries, s.args.has(kAll)));
            return kExitOk;
        },
        check);
}

int runSms(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    if (!verb(args,
              {QStringLiteral("read"), QStringLiteral("export"), QStringLiteral("archive"), QStringLiteral("import")},
              QStringLiteral("sms"), err))
        return kExitUsage;
    if (args.first() != QLatin1String("read"))
        return runSmsTransfer(device, args, out, err, interactive);
    return runCardSession(device, CardCommandShape{QStringLiteral("sms read"), {}, {kAll}, 0, 0}, args.mid(1), out, err,
                          interactive, [](CardSession& s) {
                              std::vector<SmsEntry> entries;
                              if (!readSmsEntries(s, entries))
                                  return kExitFailed;
                              printJson(s.out, smsListJson(entries, s.args.has(kAll)));
                              return kExitOk;
                          });
}

int runSmsp(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    if (!verb(args, {QStringLiteral("read"), QStringLiteral("write")}, QStringLiteral("smsp"), err))
        return kExitUsage;
    if (args.first() == QLatin1String("read")) {
        return runCardSession(
            device, CardCommandShape{QStringLiteral("smsp read"), {}, {}, 0, 0}, args.mid(1), out, err, interactive,
            [](CardSession& s) {
                const SmsParameters read =
                    ReadSmsParameters(s.sim, &s.prompter, s.progress, std::chrono::milliseconds(0));
                if (!read.result)
                    return smspFailure(s, read);
                printJson(s.out, QJsonObject{{QStringLiteral("serviceCentre"), pcTextToUnicode(read.serviceCentre)},
                                             {QStringLiteral("validity"), pcTextToUnicode(read.validity)}});
                return kExitOk;
            });
    }
    const CardCommandShape shape{
        QStringLiteral("smsp write"), {QStringLiteral("sc"), QStringLiteral("validity")}, {}, 0, 0};
    const auto check = [&](const CliArgs& a) {
        const std::optional<QString> sc = a.value(QStringLiteral("sc"));
        const std::optional<QString> validity = a.value(QStringLiteral("validity"));
        if (!sc || !validity)
            return usage(err, StringTable::text(sid::SmspWriteNeedsScAnd_10065));
        const std::string centre = StripNumberSeparators(unicodeToPcText(*sc));
        uint8_t ton = 0;
        if (centre.empty() || !IsValidDialNumber(centre) ||
            SplitPlus(centre, ton).size() > SmsParameters::kMaxCentreDigits)
            return usage(err, StringTable::text(sid::SmspWriteIsNotA_10066)
                                  .arg(*sc, QString::number(SmsParameters::kMaxCentreDigits)));
        SmsTime time;
        if (!ParseSmsTime(unicodeToPcText(*validity), time) || time.isAbsolute)
            return usage(err, StringTable::text(sid::SmspWriteIsNotA_10067).arg(*validity));
        return kExitOk;
    };
    return runCardSession(
        device, shape, args.mid(1), out, err, interactive,
        [](CardSession& s) {
            const std::string centre =
                StripNumberSeparators(unicodeToPcText(s.args.value(QStringLiteral("sc")).value_or(QString())));
            const std::string validity = unicodeToPcText(s.args.value(QStringLiteral("validity")).value_or(QString()));
            const SmsParameters written =
                WriteSmsParameters(s.sim, &s.prompter, s.progress, centre, validity, std::chrono::milliseconds(0));
            if (!written.result)
                return smspFailure(s, written);
            QJsonObject o = done(QStringLiteral("smsp write"), s.prompter);
            o.insert(QStringLiteral("serviceCentre"), pcTextToUnicode(written.serviceCentre));
            o.insert(QStringLiteral("validity"), pcTextToUnicode(written.validity));
            printJson(s.out, o);
            return kExitOk;
        },
        check);
}

int runBackup(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    if (wantsImage(args))
        return runImageBackup(device, args, out, err, interactive);
    return runCardSession(device, CardCommandShape{QStringLiteral("backup"), {}, {}, 1, 1}, args, out, err, interactive,
                          [](CardSession& s) {
                              const QString path = s.args.positional().first();
                              BackupOperations operations(s.sim, s.prompter, s.progress, BackupPacing::unpaced());
                              const BackupOutcome outcome = operations.BackupCard(path);
                              // A backup saved without the parts the card refused is reported, and fails.
                              const bool partial = outcome.messageId == kBackupPartial;
                              if (!outcome.ok && !partial)
                                  return kExitFailed;
                              QJsonObject o = done(QStringLiteral("backup"), s.prompter);
                              o.insert(QStringLiteral("file"), path);
                              o.insert(QStringLiteral("counts"), counts(operations.contents()));
                              if (partial) {
                                  o.insert(QStringLiteral("result"), QStringLiteral("incomplete"));
                                  QJsonArray skipped;
                                  for (const SkippedPart& part : operations.skipped())
                                      skipped.append(
                                          QJsonObject{{QStringLiteral("part"), StringTable::text(part.nameId)},
                                                      {QStringLiteral("status"), toInt(part.status)},
                                                      {QStringLiteral("reason"), cardStatusMessage(part.status)}});
                                  o.insert(QStringLiteral("skipped"), skipped);
                              }
                              printJson(s.out, o);
                              return partial ? kExitFailed : kExitOk;
                          });
}

int runRestore(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    if (wantsImage(args))
        return runImageRestore(device, args, out, err, interactive);
    const CardCommandShape shape{QStringLiteral("restore"), {QStringLiteral("only")}, {}, 1, 1};
    const auto check = [&](const CliArgs& a) { return restoreChoice(a, err) ? kExitOk : kExitUsage; };
    return runCardSession(
        device, shape, args, out, err, interactive,
        [](CardSession& s) {
            const QString path = s.args.positional().first();
            const std::optional<RestoreChoice> choice = restoreChoice(s.args, s.err);
            if (!choice)
                return kExitUsage;
            BackupOperations operations(s.sim, s.prompter, s.progress, BackupPacing::unpaced());
            if (!operations.RestoreCard(path, *choice).ok)
                return kExitFailed;
            QJsonObject o = done(QStringLiteral("restore"), s.prompter);
            o.insert(QStringLiteral("file"), path);
            o.insert(QStringLiteral("restored"), restoredParts(*choice));
            printJson(s.out, o);
            return kExitOk;
        },
        check);
}

int runDump(const QStringList& words, QTextStream& out, QTextStream& err)
{
    CliArgs args;
    if (!args.parse(words, {kAll}))
        return usage(err, args.error());
    if (const QStringList unknown = args.unknown({kAll}); !unknown.isEmpty())
        return usage(err, StringTable::text(sid::DumpUnknownOption_10068).arg(unknown.first()));
    if (args.positional().size() != 1)
        return usage(err, StringTable::text(sid::DumpNeedsOneBackupFile_10069));
    auto contents = std::make_unique<BackupContents>();
    if (const Result loaded = loadBackupFile(args.positional().first(), *contents); !loaded) {
        err << QStringLiteral("kestrel-cli: ") << oneLine(loaded.text()) << QLatin1Char('\n');
        return kExitFailed;
    }
    printJson(out, backupJson(*contents, args.has(kAll)));
    return kExitOk;
}

namespace {

const QString kText = QStringLiteral("text");

// The record lines of the repair: the ones that end "->Repaired", or all with the detailed report.
QString repairedLines(const SimCheckCommand& command, bool detailed)
{
    QString repaired;
    for (const QString& line : plainText(command.detailed()).split(u'\n')) {
        if (detailed || line.endsWith(StringTable::text(sid::Repaired_2317))) // "->Repaired"
            repaired += line + QLatin1Char('\n');
    }
    return repaired;
}

} // namespace

int runCheck(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const CardCommandShape shape{
        QStringLiteral("check"), {}, {QStringLiteral("repair"), QStringLiteral("detailed"), kText}, 0, 0};
    return runCardSession(device, shape, args, out, err, interactive, [](CardSession& s) {
        const bool detailed = s.args.has(QStringLiteral("detailed"));
        const bool text = s.args.has(kText);
        SimCheckCommand command(s.sim, s.prompter, s.progress);
        if (!command.check())
            return kExitFailed;
        const QString report = plainText(detailed ? command.detailed() : command.brief());
        QJsonObject o{{QStringLiteral("command"), QStringLiteral("check")},
                      {QStringLiteral("errorsFound"), command.errorsFound()},
                      {QStringLiteral("pin2Needed"), command.errorsFound() && command.pin2Needed()},
                      {QStringLiteral("report"), lineArray(report)}};
        if (text) {
            s.out << report;
            s.out.flush();
        }
        const auto finish = [&](bool repaired) {
            o.insert(QStringLiteral("repaired"), repaired);
            if (!text)
                printJson(s.out, o);
            return kExitOk;
        };
        if (!s.args.has(QStringLiteral("repair")))
            return finish(false);
        if (!command.errorsFound()) {
            s.err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::CheckNothingToRepair_10070)
                  << QLatin1Char('\n');
            return finish(false);
        }
        if (!command.repair())
            return kExitFailed;
        // The repair's brief report holds no record lines: the records mended are listed instead.
        const QString repaired = repairedLines(command, detailed);
        o.insert(QStringLiteral("repairReport"), lineArray(repaired));
        if (text)
            s.out << QLatin1Char('\n') << repaired;
        return finish(true);
    });
}

} // namespace kestrel::cli
