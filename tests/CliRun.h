#pragma once

// Runs kestrel-cli command lines in process for the command-line tests.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include "cli/CliCommands.h"

namespace kestrel::test {

// What one run gave: the exit code, standard output and standard error.
struct CliOutput
{
    int code = -1;
    QString out;
    QString err;

    QJsonDocument json() const { return QJsonDocument::fromJson(out.toUtf8()); }
    QJsonObject object() const { return json().object(); }
    QJsonArray array() const { return json().array(); }
    QStringList lines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
};

// One command line, run as a script runs it: nothing is asked on a terminal.
inline CliOutput runCliCommand(const QStringList& args)
{
    CliOutput r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::runCli(args, out, err, false);
    out.flush();
    err.flush();
    return r;
}

} // namespace kestrel::test
