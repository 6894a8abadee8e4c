#include "cli/ImageCliCommands.h"

#include <QJsonArray>
#include <QJsonObject>

#include "backup/CardImage.h"
#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "sim/SimCard.h"

namespace kestrel::cli {

namespace {

const QString kImage = QStringLiteral("image");

int runImage(const QString& device, const QString& command, const QStringList& args, QTextStream& out, QTextStream& err,
             bool interactive, const std::function<int(CardSession&, const QString&)>& body)
{
    const CardCommandShape shape{command, {kImage}, {}, 0, 0};
    return runCardSession(
        device, shape, args, out, err, interactive,
        [&](CardSession& s) { return body(s, s.args.value(kImage).value_or(QString())); },
        [&](const CliArgs& a) {
            if (a.value(kImage).value_or(QString()).isEmpty()) {
                err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::ImageNeedsAFileName_10098).arg(command)
                    << QLatin1Char('\n');
                return kExitUsage;
            }
            return kExitOk;
        });
}

QJsonObject head(const QString& command, const QString& path)
{
    return QJsonObject{{QStringLiteral("command"), command},
                       {QStringLiteral("result"), QStringLiteral("done")},
                       {QStringLiteral("image"), path}};
}

} // namespace

bool wantsImage(const QStringList& words)
{
    return words.contains(QStringLiteral("--image"));
}

int runImageBackup(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    return runImage(device, QStringLiteral("backup"), args, out, err, interactive,
                    [](CardSession& s, const QString& path) {
                        CardImage image(s.sim, s.prompter, s.progress);
                        const ImageOutcome outcome = image.BackupImage(path);
                        if (!outcome.ok)
                            return kExitFailed;
                        QJsonObject o = head(QStringLiteral("backup"), path);
                        o.insert(QStringLiteral("filesSaved"), outcome.filesSaved);
                        QJsonArray leftOut;
                        for (const ImageFileLeftOut& f : outcome.leftOut)
                            leftOut.append(QJsonObject{{QStringLiteral("file"), f.name},
                                                       {QStringLiteral("path"), f.path},
                                                       {QStringLiteral("reason"), f.reason}});
                        o.insert(QStringLiteral("leftOut"), leftOut);
                        printJson(s.out, o);
                        return kExitOk;
                    });
}

int runImageRestore(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err,
                    bool interactive)
{
    return runImage(
        device, QStringLiteral("restore"), args, out, err, interactive, [](CardSession& s, const QString& path) {
            CardImage image(s.sim, s.prompter, s.progress);
            const ImageOutcome outcome = image.RestoreImage(path);
            // A write that failed half-way says what the card holds now; any other failure
            // wrote nothing.
            if (!outcome.ok && !outcome.failedAt && outcome.written.empty())
                return kExitFailed;
            QJsonObject o = head(QStringLiteral("restore"), path);
            QJsonArray written;
            int records = 0;
            for (const ImageFileWritten& w : outcome.written) {
                written.append(QJsonObject{{QStringLiteral("file"), w.name}, {QStringLiteral("records"), w.records}});
                records += w.records;
            }
            o.insert(QStringLiteral("written"), written);
            o.insert(QStringLiteral("records"), records);
            if (!outcome.ok) {
                o.insert(QStringLiteral("result"), QStringLiteral("failed"));
                if (outcome.failedAt)
                    o.insert(QStringLiteral("failedAt"),
                             QJsonObject{{QStringLiteral("file"), outcome.failedAt->name},
                                         {QStringLiteral("recordsWritten"), outcome.failedAt->recordsWritten},
                                         {QStringLiteral("records"), outcome.failedAt->records}});
            }
            printJson(s.out, o);
            return outcome.ok ? kExitOk : kExitFailed;
        });
}

} // namespace kestrel::cli
