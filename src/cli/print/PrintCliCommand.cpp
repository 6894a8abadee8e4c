#include "cli/print/PrintCliCommand.h"

#include <cstdio>
#include <vector>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryFile>

#include "app/AppState.h"
#include "app/CheckReportForm.h"
#include "app/SimCheckCommand.h"
#include "base/StringTable.h"
#include "cli/CardCliCommands.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "info/SimInformationReader.h"
#include "info/SimInformationReport.h"
#include "networks/NetworkListModel.h"
#include "sim/SimCard.h"
#include "ui/ReportPrinter.h"

namespace kestrel::cli {

namespace {

constexpr int kCannotWrite = strId(sid::ThePdfFileCouldNot_9774); // "The PDF file %1 could not be written."

const QString kPdf = QStringLiteral("pdf");
const QString kDetailed = QStringLiteral("detailed");
const QStringList kKinds{QStringLiteral("info"),     QStringLiteral("check"), QStringLiteral("phonebook"),
                         QStringLiteral("fdn"),      QStringLiteral("sms"),   QStringLiteral("networks"),
                         QStringLiteral("forbidden")};

int usage(QTextStream& err, const QString& message)
{
    err << QStringLiteral("kestrel-cli: ") << message << QLatin1Char('\n');
    return kExitUsage;
}

// Reads what `kind` prints and prints it; the number of pages, 0 when the printer wrote nothing,
// -1 when the card could not be read (the error was shown).
int readAndPrint(const QString& kind, CardSession& s, ReportPrinter& printer)
{
    if (kind == QLatin1String("info")) {
        SimInformation info;
        SimInformationReader reader(s.sim, s.prompter, s.progress);
        if (!reader.readAll(info))
            return -1;
        const SimInformationReport report = SimInformationReport::build(info);
        return printer.PrintReport(report.text, report.title, report.tabStops);
    }
    if (kind == QLatin1String("check")) {
        SimCheckCommand command(s.sim, s.prompter, s.progress);
        if (!command.check())
            return -1;
        return printer.PrintReport(s.args.has(kDetailed) ? command.detailed() : command.brief(),
                                   CheckReportForm::printTitle(QDateTime::currentDateTime()));
    }
    if (kind == QLatin1String("phonebook") || kind == QLatin1String("fdn")) {
        std::vector<DialEntry> entries;
        if (!readDialEntries(s, kind == QLatin1String("fdn") ? gsm::fid::kEfFdn : gsm::fid::kEfAdn, entries))
            return -1;
        return printer.PrintPhoneBook(QList<DialEntry>(entries.begin(), entries.end()));
    }
    if (kind == QLatin1String("sms")) {
        std::vector<SmsEntry> entries;
        if (!readSmsEntries(s, entries))
            return -1;
        return printer.PrintMessages(QList<SmsEntry>(entries.begin(), entries.end()));
    }
    NetworkListModel model(s.sim, s.prompter, s.progress, kind == QLatin1String("forbidden"));
    if (!model.readFromCard())
        return -1;
    return printer.PrintReport(model.printText(), StringTable::text(model.printHeadingId()),
                               NetworkListModel::printTabStops());
}

} // namespace

int runPrint(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString kind = args.value(0);
    if (!kKinds.contains(kind))
        return usage(err, StringTable::text(sid::PrintNeeds_10117).arg(kKinds.join(QStringLiteral(", "))));
    const CardCommandShape shape{QStringLiteral("print ") + kind, {kPdf}, {kDetailed}, 0, 0};
    const auto check = [&](const CliArgs& a) {
        if (!a.value(kPdf) || a.value(kPdf)->isEmpty())
            return usage(err, StringTable::text(sid::PrintGivePdfFilePdf_10118).arg(kind));
        if (a.has(kDetailed) && kind != QLatin1String("check"))
            return usage(err, StringTable::text(sid::PrintDetailedIsForPrint_10119).arg(kind));
        return kExitOk;
    };
    return runCardSession(
        device, shape, args.mid(1), out, err, interactive,
        [&kind](CardSession& s) {
            const QString path = QFileInfo(*s.args.value(kPdf)).absoluteFilePath();
            // The printout goes into a file of its own beside the target, which replaces the target
            // once it is complete.
            QTemporaryFile part(path + QStringLiteral(".XXXXXX"));
            if (!part.open()) {
                s.err << QStringLiteral("kestrel-cli: ") << StringTable::text(kCannotWrite).arg(path)
                      << QLatin1Char('\n');
                return kExitFailed;
            }
            part.close();
            std::unique_ptr<AppState> state = sessionState(s);
            ReportPrinter printer(*state, nullptr);
            printer.printToPdf(part.fileName());
            const int pages = readAndPrint(kind, s, printer);
            if (pages < 0)
                return kExitFailed;
            QFile::setPermissions(part.fileName(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            if (pages == 0 ||
                std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
                s.err << QStringLiteral("kestrel-cli: ") << StringTable::text(kCannotWrite).arg(path)
                      << QLatin1Char('\n');
                return kExitFailed;
            }
            part.setAutoRemove(false);
            printJson(s.out, QJsonObject{{QStringLiteral("command"), QStringLiteral("print ") + kind},
                                         {QStringLiteral("file"), path},
                                         {QStringLiteral("pages"), pages}});
            return kExitOk;
        },
        check);
}

void installPrintCommand()
{
    setPrintCommand(&runPrint);
}

} // namespace kestrel::cli
