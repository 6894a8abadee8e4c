#include "cli/CardSession.h"

#include <atomic>
#include <csignal>
#include <optional>

#include <sys/prctl.h>
#include <unistd.h>

#include "app/AppState.h"
#include "base/StringTable.h"
#include "cli/CliCommands.h"
#include "cli/CodeOptions.h"
#include "cli/TerminalPrompter.h"
#include "reader/ReaderManager.h"
#include "sim/ProgressSink.h"
#include "sim/SimCard.h"

namespace kestrel::cli {

namespace {

const QString kYes = QStringLiteral("yes");

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void noteInterrupt(int)
{
    g_interrupted = 1;
}

// The progress of a card operation as one line on the terminal. While it shows, Ctrl-C presses
// Abort: the work stops at its next record, cleanly, instead of the program dying in the middle
// of a card write.
class TerminalProgress final : public ProgressSink
{
public:
    explicit TerminalProgress(QTextStream& err) : m_err(err) {}
    ~TerminalProgress() override { close(); }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool open() override
    {
        if (m_open)
            return true;
        g_interrupted = 0;
        struct sigaction action
        {
        };
        action.sa_handler = noteInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previous);
        m_open = true;
        return true;
    }
    void close() override
    {
        if (!m_open)
            return;
        sigaction(SIGINT, &m_previous, nullptr);
        m_drawn = true;
        endLine();
        m_open = false;
    }
    // Clears the progress line, so that what is written next starts at the left margin; the line
    // comes back with the next update.
    void endLine()
    {
        if (!m_drawn)
            return;
        m_err << QStringLiteral("\r\033[K");
        m_err.flush();
        m_drawn = false;
    }
    void setCaption(const QString&) override {}
    void setText(const QString& text) override
    {
        m_text = text;
        m_text.replace(QStringLiteral("\r\n"), QStringLiteral(" - "));
        m_text.replace(QLatin1Char('\n'), QStringLiteral(" - "));
        draw();
    }
    void setPercent(int percent) override
    {
        m_percent = percent;
        draw();
    }
    bool processEvents() override
    {
        const bool pressed = g_interrupted != 0;
        g_interrupted = 0;
        return pressed;
    }

private:
    void draw()
    {
        m_err << QStringLiteral("\r\033[K") << m_text << QStringLiteral(" %1%").arg(m_percent);
        m_err.flush();
        m_drawn = true;
    }

    QTextStream& m_err;
    QString m_text;
    int m_percent = 0;
    bool m_open = false;
    bool m_drawn = false;
    struct sigaction m_previous
    {
    };
};

} // namespace

int runCardSession(const QString& device, const CardCommandShape& shape, const QStringList& words, QTextStream& out,
                   QTextStream& err, bool interactive, const std::function<int(CardSession&)>& body,
                   const std::function<int(const CliArgs&)>& check)
{
    CliArgs args;
    if (!args.parse(words, shape.flags + QStringList{kYes})) {
        err << QStringLiteral("kestrel-cli: ") << args.error() << QLatin1Char('\n');
        return kExitUsage;
    }
    QStringList unknown = args.unknown(codeOptionNames() + shape.options + shape.flags + QStringList{kYes});
    for (QString& option : unknown)
        option.prepend(QStringLiteral("--"));
    const auto positionals = args.positional().size();
    if (!unknown.isEmpty() || positionals > shape.maxPositional) {
        err << QStringLiteral("kestrel-cli: ")
            << StringTable::text(sid::Unexpected_10045)
                   .arg(shape.name,
                        unknown.isEmpty() ? args.positional().mid(shape.maxPositional).join(u' ') : unknown.join(u' '))
            << QLatin1Char('\n');
        return kExitUsage;
    }
    if (positionals < shape.minPositional) {
        err << QStringLiteral("kestrel-cli: ")
            << StringTable::text(sid::MissingArgumentTryKestrelCli_10046).arg(shape.name) << QLatin1Char('\n');
        return kExitUsage;
    }
    if (check) {
        if (const int code = check(args); code != kExitOk)
            return code;
    }
    // Codes are in this process's memory from here on: no core dump of it.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);

    TerminalAnswers answers;
    answers.yes = args.has(kYes);
    if (const int code = gatherCodes(args, interactive, err, answers); code != kExitOk)
        return code;

    ReaderManager manager;
    const CardStatus opened = manager.selectDevice(device);
    if (opened != CardStatus::Ok) {
        err << QStringLiteral("kestrel-cli: ") << cardStatusMessage(CardStatus::ReaderInaccessible) << device
            << QStringLiteral(": ") << cardStatusMessage(opened);
        if (!manager.lastDetail().isEmpty())
            err << QStringLiteral(" (") << manager.lastDetail() << QLatin1Char(')');
        err << QLatin1Char('\n');
        return kExitFailed;
    }

    TerminalPrompter prompter(std::move(answers), err, interactive);
    int code = kExitFailed;
    {
        std::optional<TerminalProgress> progress;
        if (interactive && isatty(STDERR_FILENO) == 1) {
            progress.emplace(err);
            prompter.setBeforeOutput([&progress] { progress->endLine(); });
        }
        SimCard sim(manager);
        CardSession session{args, sim, prompter, progress ? &*progress : nullptr, out, err};
        code = body(session);
        if (code != kExitOk)
            prompter.reportNeededCodes();
        prompter.setBeforeOutput({});
    }
    manager.selectDevice(QStringLiteral("NOTHING"));
    return code;
}

std::unique_ptr<AppState> sessionState(CardSession& s)
{
    auto state = std::make_unique<AppState>();
    state->loadSettings();
    state->useSimCard(&s.sim);
    return state;
}

} // namespace kestrel::cli
