#include "cli/SmsCliCommands.h"

#include <memory>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "sms/SmsListModel.h"
#include "sms/SmsMessageFiles.h"

namespace kestrel::cli {

namespace {

constexpr int kWriteQuestion =
    strId(sid::CurrentSmsMessagesWillBe_57821); // "Current SMS messages will be written to SIM card. ..."
constexpr int kReplaceQuestion =
    strId(sid::TheSmsMessagesOnThe_9707); // "... the card's messages are replaced by the file's ..."

// The import writes every position of the card from the file: the write question says so.
// Everything else goes to the terminal prompter as it is.
class ImportPrompter final : public Prompter
{
public:
    explicit ImportPrompter(Prompter& terminal) : m_terminal(terminal) {}

    PromptAnswer question(int textId, PromptButtons buttons, PromptIcon icon) override
    {
        return m_terminal.question(textId == kWriteQuestion ? kReplaceQuestion : textId, buttons, icon);
    }
    void message(int textId, PromptIcon icon) override { m_terminal.message(textId, icon); }
    void messageText(const QString& text, PromptIcon icon) override { m_terminal.messageText(text, icon); }
    PromptAnswer questionText(const QString& text, PromptButtons buttons, PromptIcon icon) override
    {
        return m_terminal.questionText(text, buttons, icon);
    }
    void showCardError(const QString& text) override { m_terminal.showCardError(text); }
    std::optional<SecretText> askPin(int chv) override { return m_terminal.askPin(chv); }

protected:
    // Importing messages never changes a code.
    std::optional<PinFields> enterPinChange(int, const PinFields*) override { return std::nullopt; }
    std::optional<PinFields> enterUnblock(int, const PinFields*) override { return std::nullopt; }

private:
    Prompter& m_terminal;
};

int usedCount(const SmsListModel& model)
{
    int used = 0;
    for (const SmsEntry& e : model.entries())
        used += e.valid != 0 ? 1 : 0;
    return used;
}

QJsonObject result(const QString& path, const SmsListModel& model)
{
    return QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("messages"), usedCount(model)}};
}

// Export and archive: the card's messages into the file.
int saveFile(CardSession& s, const QString& path, bool archive)
{
    const std::unique_ptr<AppState> state = sessionState(s);
    SmsListModel model(*state, s.prompter, s.progress);
    if (!model.readFromCard())
        return kExitFailed;
    SmsMessageFiles files(model);
    if (!(archive ? files.appendToArchive(path) : files.saveFile(path)))
        return kExitFailed;
    printJson(s.out, result(path, model));
    return kExitOk;
}

int importFile(CardSession& s, const QString& path)
{
    const std::unique_ptr<AppState> state = sessionState(s);
    ImportPrompter prompter(s.prompter);
    SmsListModel model(*state, prompter, s.progress);
    if (!SmsMessageFiles(model).openFile(path))
        return kExitFailed;
    // A write the user declined is no success either.
    if (!model.writeToCard() || model.anyModified())
        return kExitFailed;
    printJson(s.out, result(path, model));
    return kExitOk;
}

} // namespace

int runSmsTransfer(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString verb = args.value(0);
    const CardCommandShape shape{QStringLiteral("sms ") + verb, {}, {}, 1, 1};
    return runCardSession(device, shape, args.mid(1), out, err, interactive, [&verb](CardSession& s) {
        const QString path = s.args.positional().value(0);
        if (verb == QLatin1String("import"))
            return importFile(s, path);
        return saveFile(s, path, verb == QLatin1String("archive"));
    });
}

} // namespace kestrel::cli
