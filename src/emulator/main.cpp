#include <QCoreApplication>
#include <QTextStream>

#include "base/StringTable.h"
#include "emulator/SimTool.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrel-sim"));
    // The language of the locale (LANG): the tool has no settings of its own.
    kestrel::installLanguage(QStringLiteral("auto"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = kestrel::emulator::runSimTool(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
