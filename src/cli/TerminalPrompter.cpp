#include "cli/TerminalPrompter.h"

#include <array>
#include <csignal>

#include <termios.h>
#include <unistd.h>

#include <string.h>

#include "base/StringTable.h"

namespace kestrel::cli {

namespace {

// The terminal settings to restore if a signal ends the program while echo is off.
struct termios g_savedTerminal;
volatile sig_atomic_t g_echoOff = 0;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

extern "C" void restoreTerminalAndReraise(int sig)
{
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    signal(sig, SIG_DFL);
    raise(sig);
}

// Echo off for its lifetime; the terminal is restored on every way out.
class EchoOff
{
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0)
            return;
        struct sigaction action
        {
        };
        action.sa_handler = restoreTerminalAndReraise;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &action, &m_previous[i]);
        struct termios quiet = g_savedTerminal;
        quiet.c_lflag &= static_cast<tcflag_t>(~(ECHO | ECHONL));
        quiet.c_lflag |= ICANON;
        g_echoOff = 1;
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        if (!m_active)
            restoreSignals();
    }
    ~EchoOff()
    {
        if (!m_active)
            return;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
        restoreSignals();
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    void restoreSignals()
    {
        g_echoOff = 0;
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &m_previous[i], nullptr);
    }

    struct sigaction m_previous[std::size(kSignals)];
    bool m_active = false;
};

// One line from standard input into a buffer that is wiped afterwards; nullopt at end of input
// with nothing read.
std::optional<SecretText> readLine()
{
    std::array<char, SecretText::kCapacity> buffer{};
    std::size_t n = 0;
    bool any = false;
    for (;;) {
        char c = 0;
        const ssize_t got = read(STDIN_FILENO, &c, 1);
        if (got <= 0)
            break;
        any = true;
        if (c == '\n')
            break;
        if (c != '\r' && n < buffer.size())
            buffer[n++] = c;
        c = 0;
    }
    std::optional<SecretText> line;
    if (any)
        line = SecretText(std::string_view(buffer.data(), n));
    explicit_bzero(buffer.data(), buffer.size());
    return line;
}

QString plain(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

} // namespace

TerminalPrompter::TerminalPrompter(TerminalAnswers answers, QTextStream& err, bool interactive)
    : m_answers(std::move(answers)), m_err(err), m_interactive(interactive)
{}

PromptAnswer TerminalPrompter::question(int textId, PromptButtons, PromptIcon)
{
    const QString text = StringTable::text(textId);
    if (m_answers.yes) {
        m_err << text << QStringLiteral(" yes\n");
        m_err.flush();
        return PromptAnswer::Yes;
    }
    if (!m_interactive) {
        m_err << text << QStringLiteral(" no (give --yes to answer yes)\n");
        m_err.flush();
        return PromptAnswer::No;
    }
    m_err << text << QStringLiteral(" [y/N] ");
    m_err.flush();
    const std::optional<SecretText> line = readLine();
    if (!line)
        return PromptAnswer::No;
    const std::string_view a = line->view();
    return a == "y" || a == "Y" || a == "yes" || a == "Yes" ? PromptAnswer::Yes : PromptAnswer::No;
}

void TerminalPrompter::message(int textId, PromptIcon)
{
    m_lastMessage = textId;
    m_err << StringTable::text(textId) << QLatin1Char('\n');
    m_err.flush();
}

void TerminalPrompter::showCardError(const QString& text)
{
    m_err << QStringLiteral("kestrel-cli: ") << plain(text) << QLatin1Char('\n');
    m_err.flush();
}

std::optional<SecretText> TerminalPrompter::readSecret(QTextStream& err, const QString& label)
{
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    err << label;
    err.flush();
    std::optional<SecretText> line;
    {
        EchoOff quiet;
        line = readLine();
    }
    err << QLatin1Char('\n');
    err.flush();
    return line;
}

std::optional<SecretText> TerminalPrompter::code(std::optional<SecretText>& option, const QString& label)
{
    if (option) {
        std::optional<SecretText> given = std::move(option);
        option.reset();
        return given;
    }
    if (!m_interactive)
        return std::nullopt;
    return readSecret(m_err, label);
}

std::optional<SecretText> TerminalPrompter::askPin(int chv)
{
    return chv == 2 ? code(m_answers.pin2, QStringLiteral("PIN2: ")) : code(m_answers.pin, QStringLiteral("PIN: "));
}

std::optional<Prompter::PinFields> TerminalPrompter::fields(std::optional<SecretText>& first, const QString& firstLabel,
                                                            std::optional<SecretText>& newCode, const QString& newLabel,
                                                            const QString& againLabel, const PinFields* previous)
{
    // Asked again after a failed check: only a person at the terminal can give other codes.
    if (previous && !m_interactive)
        return std::nullopt;
    PinFields f;
    if (previous && !previous->first.empty()) {
        f.first = previous->first;
    } else {
        std::optional<SecretText> a = code(first, firstLabel);
        if (!a)
            return std::nullopt;
        f.first = *a;
    }
    if (newCode) {
        f.newPin = *newCode;
        f.again = *newCode;
        newCode.reset();
        return f;
    }
    if (!m_interactive)
        return std::nullopt;
    std::optional<SecretText> b = readSecret(m_err, newLabel);
    if (!b)
        return std::nullopt;
    std::optional<SecretText> c = readSecret(m_err, againLabel);
    if (!c)
        return std::nullopt;
    f.newPin = *b;
    f.again = *c;
    return f;
}

std::optional<Prompter::PinFields> TerminalPrompter::enterPinChange(int chv, const PinFields* previous)
{
    if (chv == 2)
        return fields(m_answers.pin2, QStringLiteral("Old PIN2: "), m_answers.newPin2, QStringLiteral("New PIN2: "),
                      QStringLiteral("Re-enter new PIN2: "), previous);
    return fields(m_answers.pin, QStringLiteral("Old PIN: "), m_answers.newPin, QStringLiteral("New PIN: "),
                  QStringLiteral("Re-enter new PIN: "), previous);
}

std::optional<Prompter::PinFields> TerminalPrompter::enterUnblock(int chv, const PinFields* previous)
{
    if (chv == 2)
        return fields(m_answers.puk2, QStringLiteral("PUK2: "), m_answers.newPin2, QStringLiteral("New PIN2: "),
                      QStringLiteral("Re-enter new PIN2: "), previous);
    return fields(m_answers.puk, QStringLiteral("PUK: "), m_answers.newPin, QStringLiteral("New PIN: "),
                  QStringLiteral("Re-enter new PIN: "), previous);
}

} // namespace kestrel::cli
