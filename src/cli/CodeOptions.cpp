#include "cli/CodeOptions.h"

#include <cstdlib>
#include <string_view>

#include <string.h>

#include "base/StringTable.h"
#include "cli/CliCommands.h"

namespace kestrel::cli {

namespace {

struct CodeOption
{
    const char* name;
    CodeSlot slot;
    const char* variable; // nullptr: none
};

constexpr CodeOption kCodeOptions[] = {
    {"pin", CodeSlot::Pin, "KESTREL_PIN"},  {"pin2", CodeSlot::Pin2, "KESTREL_PIN2"},
    {"puk", CodeSlot::Puk, "KESTREL_PUK"},  {"puk2", CodeSlot::Puk2, "KESTREL_PUK2"},
    {"new-pin", CodeSlot::NewPin, nullptr}, {"new-pin2", CodeSlot::NewPin2, nullptr},
};

const CodeOption* findOption(const QString& name)
{
    for (const CodeOption& option : kCodeOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

// The variable's value, which is then overwritten in place and removed; nullopt when it is unset
// or empty.
std::optional<SecretText> takeVariable(const char* name)
{
    char* value = std::getenv(name);
    if (!value)
        return std::nullopt;
    std::optional<SecretText> code;
    const std::size_t length = strlen(value);
    if (length > 0)
        code.emplace(std::string_view(value, length));
    explicit_bzero(value, length);
    unsetenv(name);
    return code;
}

} // namespace

const QStringList& codeOptionNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (const CodeOption& option : kCodeOptions)
            n.append(QLatin1String(option.name));
        return n;
    }();
    return names;
}

int gatherCodes(const CliArgs& args, bool interactive, QTextStream& err, TerminalAnswers& answers)
{
    bool warned = false;
    for (const QString& name : args.optionOrder()) {
        const CodeOption* option = findOption(name);
        if (!option)
            continue;
        const QString value = *args.value(name);
        if (value != QLatin1String("-")) {
            if (!warned)
                err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::WarningACodeGivenOn_9706)
                    << QLatin1Char('\n');
            warned = true;
            answers[option->slot] = SecretText::fromText(value);
            continue;
        }
        // On a terminal the prompter asks when the code is needed, the new codes twice.
        if (interactive)
            continue;
        std::optional<SecretText> line = TerminalPrompter::readPipedSecret();
        if (!line) {
            err << QStringLiteral("kestrel-cli: ")
                << StringTable::text(sid::StandardInputEndedBeforeIts_10047).arg(name) << QLatin1Char('\n');
            return kExitUsage;
        }
        answers[option->slot] = std::move(line);
    }
    for (const CodeOption& option : kCodeOptions) {
        if (!option.variable)
            continue;
        std::optional<SecretText> code = takeVariable(option.variable);
        if (code && !args.value(QLatin1String(option.name)))
            answers[option.slot] = std::move(code);
    }
    err.flush();
    return kExitOk;
}

} // namespace kestrel::cli
