#pragma once

// Runs kestrel-cli command lines in process for the command-line tests, and the fixture they share:
// a temporary folder for the settings, the virtual card and the card files the commands run on.

#include <cstdlib>

#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include "TempXdg.h"
#include "cli/CliCommands.h"
#include "emulator/CardFile.h"

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

// Runs `command(out, err)` (a command line of kestrel-cli or of the virtual card's tool, in
// process) with both streams caught as text.
template <typename Command>
CliOutput captureOutput(Command&& command)
{
    CliOutput r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = command(out, err);
    out.flush();
    err.flush();
    return r;
}

// One command line, run as a script runs it: nothing is asked on a terminal.
inline CliOutput runCliCommand(const QStringList& args)
{
    return captureOutput([&](QTextStream& out, QTextStream& err) { return cli::runCli(args, out, err, false); });
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

// "--device VIRTUAL:<cardPath>": the start of a command line on a card file.
inline QStringList onCardFile(const QString& cardPath)
{
    return {QStringLiteral("--device"), QStringLiteral("VIRTUAL:") + cardPath};
}

// "pin verify --pin 1234" → its words (runs of spaces separate, as in a shell).
inline QStringList cliWords(const QString& line)
{
    return line.split(u' ', Qt::SkipEmptyParts);
}

// Settings, the user's virtual card and the event flags in a temporary folder that also holds
// the card files of the test.
class CliFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        useTemporaryXdg(m_dir);
    }

    // A file in the temporary folder.
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString path(const char* name) const { return path(QString::fromLatin1(name)); }

    // Writes `card` to the card file at `cardPath`; false (and a failed test) if it cannot.
    static bool saveCard(const QString& cardPath, const emulator::SimCardData& card)
    {
        QString error;
        const bool saved = emulator::CardFile::save(card, cardPath, error);
        EXPECT_TRUE(saved) << cardPath.toStdString() << ": " << error.toStdString();
        return saved;
    }

    // The card as its card file holds it now.
    static emulator::SimCardData loadCard(const QString& cardPath)
    {
        const emulator::CardFileResult loaded = emulator::CardFile::load(cardPath);
        EXPECT_TRUE(loaded.ok) << cardPath.toStdString();
        return loaded.card;
    }

    QTemporaryDir m_dir;
};

} // namespace kestrel::test
