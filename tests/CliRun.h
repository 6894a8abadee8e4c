#pragma once

// Runs kestrel-cli command lines in process for the command-line tests.

#include <cstdlib>

#include <unistd.h>

#include <QByteArray>
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

// Standard input (file descriptor 0) reads `input` and then ends, for the object's lifetime: a pipe
// holds the text in place of whatever standard input was.
class StdinFeed
{
public:
    explicit StdinFeed(const QByteArray& input)
    {
        int fds[2];
        if (pipe(fds) != 0 || write(fds[1], input.constData(), static_cast<size_t>(input.size())) != input.size())
            std::abort();
        close(fds[1]);
        m_saved = dup(STDIN_FILENO);
        if (m_saved < 0 || dup2(fds[0], STDIN_FILENO) < 0)
            std::abort();
        close(fds[0]);
    }
    ~StdinFeed()
    {
        dup2(m_saved, STDIN_FILENO);
        close(m_saved);
    }
    StdinFeed(const StdinFeed&) = delete;
    StdinFeed& operator=(const StdinFeed&) = delete;

private:
    int m_saved = -1;
};

// As above, with `input` on standard input (a pipe: no terminal).
inline CliOutput runCliCommand(const QStringList& args, const QByteArray& input)
{
    StdinFeed feed(input);
    return runCliCommand(args);
}

} // namespace kestrel::test
