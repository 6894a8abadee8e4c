#pragma once

#include <QString>
#include <QStringList>

namespace kestrel::cli {

// The options every command takes wherever they stand on the command line: --device D, the code
// options (--pin P ...), --yes and --text, and --help and --version.
struct GlobalOptions
{
    QString device;
    bool deviceGiven = false;
    bool help = false;    // --help or -h: the help of the command named (all of it without one)
    bool version = false; // --version
    // The command line with --device, --help and --version taken out and the other options given
    // before the command moved after its words, where the command's own parser takes them.
    QStringList words;
    QString error; // a usage error; empty when the line is well formed
};

GlobalOptions parseGlobalOptions(const QStringList& commandLine);

// The command word of a command line ("print" in "--device D --pin - print info"); empty when
// there is none.
QString commandWord(const QStringList& commandLine);

} // namespace kestrel::cli
