#include <cstdio>

#include <QCoreApplication>
#include <QTextStream>

#include "cli/CliCommands.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrel-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = kestrel::cli::runCli(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
