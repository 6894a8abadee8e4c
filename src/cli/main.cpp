#include <cstdio>
#include <cstring>

#include <string.h>

#include <memory>

#include <QCoreApplication>
#include <QTextStream>

#include "app/AppSettings.h"
#include "cli/CliCommands.h"
#include "cli/CliGlobals.h"
#include "cli/CodeOptions.h"

#ifdef KESTREL_CLI_PRINT
#include <QGuiApplication>

#include "cli/print/PrintCliCommand.h"
#endif

namespace {

// A code given as an option's value is blanked in the process's own arguments once they are
// taken, so that ps and /proc/<pid>/cmdline show it only while the program starts.
void blankCodes(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        const char* word = argv[i];
        if (std::strncmp(word, "--", 2) != 0 || !kestrel::cli::codeOptionNames().contains(QLatin1String(word + 2)))
            continue;
        char* value = argv[++i];
        if (std::strcmp(value, "-") != 0)
            explicit_bzero(value, std::strlen(value));
    }
}

#ifdef KESTREL_CLI_PRINT
// The command word, wherever the global options before it leave it.
bool isCommand(int argc, char* argv[], const char* command)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return kestrel::cli::commandWord(words) == QLatin1String(command);
}
#endif

// "print" lays its pages out with fonts, which need a QGuiApplication; every other command does
// with QtCore. The printout goes to a file, so no display is needed: the offscreen platform is
// used unless QT_QPA_PLATFORM names another.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
#ifdef KESTREL_CLI_PRINT
    if (isCommand(argc, argv, "print")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        kestrel::cli::installPrintCommand();
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrel-cli"));
    kestrel::AppSettings::installStoredLanguage();
    const QStringList args = QCoreApplication::arguments().mid(1);
    blankCodes(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = kestrel::cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return code;
}
