#include "cli/TerminalPrompter.h"

#include <algorithm>
#include <array>
#include <csignal>

#include <termios.h>
#include <unistd.h>

#include <string.h>

#include <QStringList>

#include "base/CardStatus.h"
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

// One line as typed (echo on), UTF-8; nullopt at end of input with nothing read.
std::optional<QString> readPlainLine()
{
    std::string line;
    bool any = false;
    for (;;) {
        char c = 0;
        if (read(STDIN_FILENO, &c, 1) <= 0)
            break;
        any = true;
        if (c == '\n')
            break;
        if (c != '\r')
            line += c;
    }
    if (!any)
        return std::nullopt;
    return QString::fromStdString(line);
}

// "PIN1 needed: give --pin" and its kind, by CodeSlot.
constexpr int kNeededText[kCodeSlots] = {strId(sid::Pin1NeededGivePin_9700),    strId(sid::Pin2NeededGivePin2_9701),
                                         strId(sid::Puk1NeededGivePuk_9702),    strId(sid::Puk2NeededGivePuk2_9703),
                                         strId(sid::NewPin1NeededGiveNew_9704), strId(sid::NewPin2NeededGiveNew_9705)};

// One line: a line break becomes a blank, or ". " after a line that does not end in punctuation
// ("No valid PIN entered", "2 tries left.").
QString plain(const QString& text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QString out = lines.front();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const bool ends = out.isEmpty() || QStringLiteral(":.!?").contains(out.back());
        out += (ends ? QStringLiteral(" ") : QStringLiteral(". ")) + lines[i];
    }
    return out;
}

} // namespace

TerminalPrompter::TerminalPrompter(TerminalAnswers answers, QTextStream& err, bool interactive)
    : m_answers(std::move(answers)), m_err(err), m_interactive(interactive)
{
    for (std::size_t i = 0; i < kCodeSlots; ++i)
        m_given[i] = m_answers.codes[i].has_value();
}

PromptAnswer TerminalPrompter::question(int textId, PromptButtons, PromptIcon)
{
    return ask(StringTable::text(textId));
}

PromptAnswer TerminalPrompter::questionText(const QString& text, PromptButtons, PromptIcon)
{
    QString lines = text;
    return ask(lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

PromptAnswer TerminalPrompter::ask(const QString& text)
{
    if (m_answers.yes) {
        line() << text << QLatin1Char(' ') << StringTable::text(sid::Yes_10048) << QLatin1Char('\n');
        m_err.flush();
        return PromptAnswer::Yes;
    }
    if (!m_interactive) {
        line() << text << QLatin1Char(' ') << StringTable::text(sid::NoGiveYesToAnswer_10049) << QLatin1Char('\n');
        m_err.flush();
        return PromptAnswer::No;
    }
    line() << text << QStringLiteral(" [y/N] ");
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
    line() << StringTable::text(textId) << QLatin1Char('\n');
    m_err.flush();
}

void TerminalPrompter::messageText(const QString& text, PromptIcon)
{
    line() << plain(text) << QLatin1Char('\n');
    m_err.flush();
}

void TerminalPrompter::showCardError(const QString& text)
{
    // A code that could not be asked is the reason; the prompt that was closed for want of it
    // adds nothing.
    const QString cancelled = StringTable::text(sid::CommunicationError_5301) + QStringLiteral("\r\n") +
                              cardStatusMessage(CardStatus::OperationCancelled);
    if (reportNeededCodes() && text == cancelled)
        return;
    line() << QStringLiteral("kestrel-cli: ") << plain(text) << QLatin1Char('\n');
    m_err.flush();
}

void TerminalPrompter::setBeforeOutput(std::function<void()> beforeOutput)
{
    m_beforeOutput = std::move(beforeOutput);
}

void TerminalPrompter::freshLine()
{
    if (m_beforeOutput)
        m_beforeOutput();
}

QTextStream& TerminalPrompter::line()
{
    freshLine();
    return m_err;
}

bool TerminalPrompter::reportNeededCodes()
{
    for (; m_neededReported < m_needed.size(); ++m_neededReported) {
        const auto slot = static_cast<std::size_t>(m_needed[m_neededReported]);
        line() << QStringLiteral("kestrel-cli: ") << StringTable::text(kNeededText[slot]) << QLatin1Char('\n');
    }
    m_err.flush();
    return !m_needed.empty();
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

std::optional<SecretText> TerminalPrompter::readPipedSecret()
{
    return readLine();
}

std::optional<SecretText> TerminalPrompter::take(CodeSlot slot)
{
    std::optional<SecretText>& given = m_answers[slot];
    std::optional<SecretText> code = std::move(given);
    given.reset();
    return code;
}

void TerminalPrompter::noteNeeded(CodeSlot slot)
{
    // A code given once and used up is not asked for again: the card refused it.
    if (m_given[static_cast<std::size_t>(slot)])
        return;
    if (std::find(m_needed.begin(), m_needed.end(), slot) == m_needed.end())
        m_needed.push_back(slot);
}

std::optional<SecretText> TerminalPrompter::code(CodeSlot slot, const QString& label)
{
    if (std::optional<SecretText> given = take(slot))
        return given;
    if (m_interactive) {
        freshLine();
        return readSecret(m_err, label);
    }
    noteNeeded(slot);
    return std::nullopt;
}

std::optional<SecretText> TerminalPrompter::askPin(int chv)
{
    return chv == 2 ? code(CodeSlot::Pin2, QStringLiteral("PIN2: ")) : code(CodeSlot::Pin, QStringLiteral("PIN: "));
}

std::optional<Prompter::PinFields> TerminalPrompter::fields(CodeSlot first, const QString& firstLabel, CodeSlot newCode,
                                                            const QString& newLabel, const QString& againLabel,
                                                            const PinFields* previous)
{
    // Asked again after a failed check: only a person at the terminal can give other codes.
    if (previous && !m_interactive)
        return std::nullopt;
    const bool keepFirst = previous && !previous->first.empty();
    if (!m_interactive && !m_answers[newCode]) {
        // Every code this dialog lacks is said, not only the first.
        if (!keepFirst && !m_answers[first])
            noteNeeded(first);
        noteNeeded(newCode);
        return std::nullopt;
    }
    PinFields f;
    if (keepFirst) {
        f.first = previous->first;
    } else {
        std::optional<SecretText> a = code(first, firstLabel);
        if (!a)
            return std::nullopt;
        f.first = *a;
    }
    if (std::optional<SecretText> given = take(newCode)) {
        f.newPin = *given;
        f.again = *given;
        return f;
    }
    freshLine();
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
        return fields(CodeSlot::Pin2, StringTable::text(sid::OldPin2_10053), CodeSlot::NewPin2,
                      StringTable::text(sid::NewPin2_10054), StringTable::text(sid::ReEnterNewPin2_10055), previous);
    return fields(CodeSlot::Pin, StringTable::text(sid::OldPin_10050), CodeSlot::NewPin,
                  StringTable::text(sid::NewPin_10051), StringTable::text(sid::ReEnterNewPin_10052), previous);
}

std::optional<Prompter::PinFields> TerminalPrompter::enterUnblock(int chv, const PinFields* previous)
{
    if (chv == 2)
        return fields(CodeSlot::Puk2, QStringLiteral("PUK2: "), CodeSlot::NewPin2,
                      StringTable::text(sid::NewPin2_10054), StringTable::text(sid::ReEnterNewPin2_10055), previous);
    return fields(CodeSlot::Puk, QStringLiteral("PUK: "), CodeSlot::NewPin, StringTable::text(sid::NewPin_10051),
                  StringTable::text(sid::ReEnterNewPin_10052), previous);
}

void TerminalPrompter::setToolkitAnswers(std::optional<uint8_t> item, std::optional<QString> input)
{
    m_toolkitItem = item;
    m_toolkitInput = std::move(input);
}

std::optional<uint8_t> TerminalPrompter::selectToolkitItem(const QString& title,
                                                           const std::vector<ToolkitChoice>& entries)
{
    if (m_toolkitItem) {
        const uint8_t item = *m_toolkitItem;
        m_toolkitItem.reset();
        return item;
    }
    if (!m_interactive)
        return std::nullopt;
    // The select dialog's caption has no string-table entry yet.
    line() << StringTable::text(sid::SimApplicationSelectItem_9021) << QLatin1Char('\n');
    if (!title.isEmpty())
        line() << title << QLatin1Char('\n');
    for (const ToolkitChoice& entry : entries)
        line() << QStringLiteral("  ") << entry.text << QLatin1Char('\n');
    line() << StringTable::text(sid::ItemEmptyToCancel_10056);
    m_err.flush();
    const std::optional<QString> line = readPlainLine();
    bool ok = false;
    const uint id = line ? line->trimmed().toUInt(&ok) : 0;
    if (!ok || id > 0xFF)
        return std::nullopt;
    return static_cast<uint8_t>(id);
}

std::optional<QString> TerminalPrompter::inputToolkitText(const QString& prompt)
{
    if (m_toolkitInput) {
        std::optional<QString> given = std::move(m_toolkitInput);
        m_toolkitInput.reset();
        return given;
    }
    if (!m_interactive)
        return std::nullopt;
    line() << StringTable::text(sid::SimApplicationInputText_238) << QLatin1Char('\n') << prompt
           << QStringLiteral(": ");
    m_err.flush();
    return readPlainLine();
}

void TerminalPrompter::showToolkitText(const QString& text)
{
    m_toolkitTexts.push_back(text);
    if (m_interactive) {
        line() << text << QLatin1Char('\n');
        m_err.flush();
    }
}

} // namespace kestrel::cli
