#include "cli/NetworkCliCommands.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "codec/PlmnCodec.h"
#include "networks/NetworkListModel.h"

namespace kestrel::cli {

namespace {

const QString kAll = QStringLiteral("all");
const QString kForbidden = QStringLiteral("forbidden");
// "networks write" takes the networks of one file; no card's file has this many slots.
constexpr int kMostNetworks = 1000;

int usage(QTextStream& err, const QString& message)
{
    err << QStringLiteral("kestrel-cli: ") << message << QLatin1Char('\n');
    return kExitUsage;
}

// A refusal that depends on the card's file: said on standard error, nothing written.
int refused(CardSession& s, const QString& message)
{
    s.err << QStringLiteral("kestrel-cli: ") << message << QLatin1Char('\n');
    return kExitFailed;
}

QString fileName(bool forbidden)
{
    return forbidden ? StringTable::text(sid::ForbiddenNetworksFileEfFplmn_10099)
                     : StringTable::text(sid::PreferredNetworksFileEfPLMNsel_10100);
}

struct Network
{
    uint32_t mcc = 0;
    uint32_t mnc = 0;
};

// The MCC-MNC words of "networks write"; false with the first word that is none.
bool networks(const QStringList& words, std::vector<Network>& out, QString& bad)
{
    out.clear();
    for (const QString& word : words) {
        Network n;
        if (!parsePlmn(word.toStdString(), n.mcc, n.mnc)) {
            bad = word;
            return false;
        }
        out.push_back(n);
    }
    return true;
}

// The entry number of "networks delete", from 1; 0 when the word is no such number.
int entryNumber(const QString& word)
{
    bool ok = false;
    const int n = word.toInt(&ok);
    return ok && n > 0 ? n : 0;
}

int printList(CardSession& s, const NetworkListModel& model)
{
    printJson(s.out, plmnListJson(model.entries(), s.args.has(kAll)));
    return kExitOk;
}

// After a write, the list as the card now holds it (an MNC of three digits keeps two).
int printWritten(CardSession& s, NetworkListModel& model)
{
    return model.readFromCard() ? printList(s, model) : kExitFailed;
}

int writeList(CardSession& s)
{
    std::vector<Network> given;
    QString bad;
    networks(s.args.positional(), given, bad);
    const bool forbidden = s.args.has(kForbidden);
    NetworkListModel model(s.sim, s.prompter, s.progress, forbidden);
    if (!model.readFromCard())
        return kExitFailed;
    if (static_cast<int>(given.size()) > model.count())
        return refused(s, StringTable::text(sid::NetworksWriteNetworksGivenBut_10101)
                              .arg(given.size())
                              .arg(fileName(forbidden))
                              .arg(model.count()));
    for (int row = 0; row < model.count(); ++row) {
        if (row < static_cast<int>(given.size()))
            model.setNetwork(row, given[static_cast<std::size_t>(row)].mcc, given[static_cast<std::size_t>(row)].mnc);
        else
            model.removeEntry(row);
    }
    if (!model.writeToCard())
        return kExitFailed;
    return printWritten(s, model);
}

int deleteEntry(CardSession& s)
{
    const int number = entryNumber(s.args.positional().first());
    const bool forbidden = s.args.has(kForbidden);
    NetworkListModel model(s.sim, s.prompter, s.progress, forbidden);
    if (!model.readFromCard())
        return kExitFailed;
    if (number > model.count())
        return refused(s, StringTable::text(sid::NetworksDeleteTheHasEntries_10102)
                              .arg(fileName(forbidden))
                              .arg(model.count())
                              .arg(number));
    // An entry already free is left as it is: there is nothing to write.
    if (!model.removeEntry(number - 1))
        return printList(s, model);
    return model.writeToCard() ? printWritten(s, model) : kExitFailed;
}

} // namespace

int runNetworks(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString verb = args.value(0);
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("read")) {
        const CardCommandShape shape{QStringLiteral("networks read"), {}, {kForbidden, kAll}, 0, 0};
        return runCardSession(device, shape, rest, out, err, interactive, [](CardSession& s) {
            NetworkListModel model(s.sim, s.prompter, s.progress, s.args.has(kForbidden));
            return model.readFromCard() ? printList(s, model) : kExitFailed;
        });
    }
    if (verb == QLatin1String("write")) {
        const CardCommandShape shape{QStringLiteral("networks write"), {}, {kForbidden, kAll}, 1, kMostNetworks};
        const auto check = [&](const CliArgs& a) {
            std::vector<Network> given;
            QString bad;
            return networks(a.positional(), given, bad)
                       ? kExitOk
                       : usage(err, StringTable::text(sid::NetworksWriteIsNotA_10121).arg(bad));
        };
        return runCardSession(device, shape, rest, out, err, interactive, writeList, check);
    }
    if (verb == QLatin1String("delete")) {
        const CardCommandShape shape{QStringLiteral("networks delete"), {}, {kForbidden, kAll}, 1, 1};
        const auto check = [&](const CliArgs& a) {
            return entryNumber(a.positional().first()) > 0
                       ? kExitOk
                       : usage(err, StringTable::text(sid::NetworksDeleteIsNotAn_10122).arg(a.positional().first()));
        };
        return runCardSession(device, shape, rest, out, err, interactive, deleteEntry, check);
    }
    return usage(err, StringTable::text(sid::NetworksNeedsReadWriteOr_10103));
}

} // namespace kestrel::cli
