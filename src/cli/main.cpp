#include <cstdio>
#include <cstring>

#include <string.h>

#include <QCoreApplication>
#include <QTextStream>

#include "cli/CliCommands.h"
#include "cli/CodeOptions.h"

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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrel-cli"));
    const QStringList args = QCoreApplication::arguments().mid(1);
    blankCodes(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = kestrel::cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return code;
}
