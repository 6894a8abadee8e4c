#include "cli/PhoneBookCliCommands.h"

#include <QJsonArray>
#include <QSettings>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "phonebook/PhoneBookFiles.h"
#include "phonebook/PhoneBookModel.h"
#include "sim/SimCard.h"

namespace kestrel::cli {

namespace {

// Loading a file into an empty phone book answers its questions Yes (they are about entries the
// window does not hold); messages, codes, the card error and a contact file's list of what it
// leaves out still go to the terminal prompter.
class LoadingPrompter final : public Prompter
{
public:
    explicit LoadingPrompter(Prompter& terminal) : m_terminal(terminal) {}

    PromptAnswer question(int, PromptButtons, PromptIcon) override { return PromptAnswer::Yes; }
    void message(int textId, PromptIcon icon) override
    {
        m_lastMessage = textId;
        m_terminal.message(textId, icon);
    }
    void messageText(const QString& text, PromptIcon icon) override { m_terminal.messageText(text, icon); }
    // What a contact file leaves out is asked on the terminal (--yes answers it; without a
    // terminal the import is refused).
    PromptAnswer questionText(const QString& text, PromptButtons buttons, PromptIcon icon) override
    {
        return m_terminal.questionText(text, buttons, icon);
    }
    void showCardError(const QString& text) override { m_terminal.showCardError(text); }
    std::optional<SecretText> askPin(int chv) override { return m_terminal.askPin(chv); }
    int lastMessage() const { return m_lastMessage; }

protected:
    // Loading a file never changes a code.
    std::optional<PinFields> enterPinChange(int, const PinFields*) override { return std::nullopt; }
    std::optional<PinFields> enterUnblock(int, const PinFields*) override { return std::nullopt; }

private:
    Prompter& m_terminal;
    int m_lastMessage = 0;
};

QString formatName(const QString& path)
{
    switch (phoneBookFormatOf(path)) {
    case PhoneBookFormat::VCard:
        return QStringLiteral("vcard");
    case PhoneBookFormat::Csv:
        return QStringLiteral("csv");
    case PhoneBookFormat::Dia:
        break;
    }
    return QStringLiteral("dia");
}

// What a contact file's import cut ("cut": name, to) and left out ("dropped": name, number,
// reason).
void addLosses(QJsonObject& json, const std::vector<ContactLoss>& losses)
{
    QJsonArray cut;
    QJsonArray dropped;
    for (const ContactLoss& loss : losses) {
        if (loss.cut())
            cut.append(QJsonObject{{QStringLiteral("name"), loss.name}, {QStringLiteral("to"), loss.cutTo}});
        else
            dropped.append(QJsonObject{{QStringLiteral("name"), loss.name},
                                       {QStringLiteral("number"), loss.number},
                                       {QStringLiteral("reason"), StringTable::text(loss.reasonId)}});
    }
    json.insert(QStringLiteral("cut"), cut);
    json.insert(QStringLiteral("dropped"), dropped);
}

int exportFile(CardSession& s, DialBook book, const QString& path)
{
    const std::unique_ptr<AppState> state = sessionState(s);
    PhoneBookModel model(book, *state, s.prompter, s.progress);
    if (!model.readFromCard())
        return kExitFailed;
    int valid = 0;
    for (int row = 0; row < model.capacity(); ++row)
        valid += model.entry(row).valid != 0 ? 1 : 0;
    if (!PhoneBookFiles(model).saveFile(path, 1, model.capacity()))
        return kExitFailed;
    printJson(s.out, QJsonObject{{QStringLiteral("file"), path},
                                 {QStringLiteral("format"), formatName(path)},
                                 {QStringLiteral("capacity"), model.capacity()},
                                 {QStringLiteral("entries"), valid}});
    return kExitOk;
}

int importFile(CardSession& s, DialBook book, const QString& path)
{
    const std::unique_ptr<AppState> state = sessionState(s);
    // Names the default alphabet lacks go to the card in UCS2 with --unicode-names or the setting.
    if (s.args.has(QStringLiteral("unicode-names")))
        state->settings().unicodeNames = 1;
    SimCardSettings cardSettings = s.sim.settings();
    cardSettings.unicodeNames = state->settings().unicodeNames != 0;
    s.sim.setSettings(cardSettings);
    LoadingPrompter loading(s.prompter);
    PhoneBookModel model(book, *state, loading, s.progress);
    // A contact file is fitted to the card: its record count and name length are read first, so
    // that what the card cannot hold is listed (and asked about) rather than cut by the write.
    const bool contacts = phoneBookFormatOf(path) != PhoneBookFormat::Dia;
    if (contacts) {
        PhoneBookModel card(book, *state, s.prompter, s.progress);
        if (!card.readFromCard())
            return kExitFailed;
        model.setCapacity(card.capacity());
    }
    PhoneBookFiles files(model);
    if (!files.openFile(path))
        return kExitFailed;
    int valid = 0;
    for (int row = 0; row < model.capacity(); ++row)
        valid += model.entry(row).valid != 0 ? 1 : 0;

    // Writing asks and reports through the terminal: the card's answers and the write question.
    PhoneBookModel writer(book, *state, s.prompter, s.progress);
    writer.entries() = model.entries();
    writer.setCapacity(model.capacity());
    if (!writer.writeToCard())
        return kExitFailed;
    // A write the user declined is no success either.
    if (writer.anyModified())
        return kExitFailed;
    QJsonObject json{{QStringLiteral("file"), path},
                     {QStringLiteral("format"), formatName(path)},
                     {QStringLiteral("entries"), valid}};
    if (contacts)
        addLosses(json, files.losses());
    printJson(s.out, json);
    return kExitOk;
}

} // namespace

int runPhoneBookTransfer(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err,
                         bool interactive)
{
    const QString verb = args.value(0);
    QStringList flags{QStringLiteral("fdn")};
    if (verb == QLatin1String("import"))
        flags.append(QStringLiteral("unicode-names"));
    const CardCommandShape shape{QStringLiteral("phonebook ") + verb, {}, flags, 1, 1};
    return runCardSession(device, shape, args.mid(1), out, err, interactive, [&verb](CardSession& s) {
        const DialBook book = s.args.has(QStringLiteral("fdn")) ? DialBook::Fdn : DialBook::Adn;
        const QString path = s.args.positional().value(0);
        return verb == QLatin1String("export") ? exportFile(s, book, path) : importFile(s, book, path);
    });
}

} // namespace kestrel::cli
