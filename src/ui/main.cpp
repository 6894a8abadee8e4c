// kestrel: the desktop program.
#include <sys/prctl.h>

#include <QApplication>
#include <QStringList>

#include "app/AppSettings.h"
#include "ui/CommandIcons.h"
#include "ui/DesktopWiring.h"
#include "ui/KestrelApp.h"

int main(int argc, char** argv)
{
    // The options are read before the display is opened, so --help and --version work without one;
    // the language is installed first, so that --help speaks it.
    kestrel::AppSettings::installStoredLanguage();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const kestrel::KestrelApp::Parsed parsed = kestrel::KestrelApp::parseArguments(arguments);
    if (parsed.exitStatus)
        return *parsed.exitStatus;

    // PINs and PUKs pass through this process's memory (the PIN dialogs, the remembered codes):
    // no core dump of it.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrel"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kestrel"));
    QApplication::setWindowIcon(kestrel::CommandIcons::appIcon());
    kestrel::AppSettings::installStoredLanguage();

    kestrel::KestrelApp kestrelApp;
    kestrel::wireDesktop(kestrelApp);
    if (!kestrelApp.start(parsed.options))
        return 1;
    return QApplication::exec();
}
