#include "cli/CliGlobals.h"

#include "base/StringTable.h"
#include "cli/CodeOptions.h"

namespace kestrel::cli {

namespace {

const QString kDevice = QStringLiteral("--device");

bool isHelp(const QString& word)
{
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

bool isVersion(const QString& word)
{
    return word == QLatin1String("--version");
}

// Options that may stand before the command and are handed to it: with a value (the codes) or
// without (--yes, --text).
bool takesValueBeforeCommand(const QString& name)
{
    return codeOptionNames().contains(name);
}

bool isFlagBeforeCommand(const QString& name)
{
    return name == QLatin1String("yes") || name == QLatin1String("text");
}

bool takeDevice(GlobalOptions& g, const QStringList& words, qsizetype& i)
{
    if (i + 1 >= words.size()) {
        g.error = StringTable::text(sid::OptionNeedsAValue_10041).arg(kDevice.mid(2));
        return false;
    }
    if (g.deviceGiven) {
        g.error = StringTable::text(sid::OptionGivenTwice_10040).arg(kDevice.mid(2));
        return false;
    }
    g.device = words[i + 1];
    g.deviceGiven = true;
    ++i;
    return true;
}

} // namespace

GlobalOptions parseGlobalOptions(const QStringList& commandLine)
{
    GlobalOptions g;
    QStringList moved;
    qsizetype i = 0;
    // Before the command: only the global options.
    for (; i < commandLine.size(); ++i) {
        const QString& word = commandLine[i];
        if (isHelp(word)) {
            g.help = true;
            continue;
        }
        if (isVersion(word)) {
            g.version = true;
            continue;
        }
        if (!word.startsWith(QLatin1String("--")))
            break;
        const QString name = word.mid(2);
        if (word == kDevice) {
            if (!takeDevice(g, commandLine, i))
                return g;
        } else if (takesValueBeforeCommand(name)) {
            if (i + 1 >= commandLine.size()) {
                g.error = StringTable::text(sid::OptionNeedsAValue_10041).arg(name);
                return g;
            }
            moved << word << commandLine[i + 1];
            ++i;
        } else if (isFlagBeforeCommand(name)) {
            moved << word;
        } else {
            g.error = StringTable::text(sid::UnknownOptionBeforeTheCommand_10042).arg(word);
            return g;
        }
    }
    // After it: the command's own words, from which --device, --help and --version are taken.
    for (; i < commandLine.size(); ++i) {
        const QString& word = commandLine[i];
        if (word == kDevice) {
            if (!takeDevice(g, commandLine, i))
                return g;
        } else if (isHelp(word)) {
            g.help = true;
        } else if (isVersion(word)) {
            g.version = true;
        } else {
            g.words << word;
        }
    }
    g.words += moved;
    return g;
}

QString commandWord(const QStringList& commandLine)
{
    const GlobalOptions g = parseGlobalOptions(commandLine);
    const QString first = g.words.value(0);
    return g.error.isEmpty() && !first.startsWith(QLatin1String("--")) ? first : QString();
}

} // namespace kestrel::cli
