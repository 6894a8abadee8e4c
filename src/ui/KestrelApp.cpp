#include "ui/KestrelApp.h"

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "app/AppState.h"
#include "app/MainCommands.h"
#include "app/Prompter.h"
#include "app/StartFile.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "ui/AboutDialog.h"
#include "ui/QtPrompter.h"
#include "ui/UiText.h"

namespace kestrel {

KestrelApp::KestrelApp(std::unique_ptr<AppState> state)
    : m_state(state ? std::move(state) : std::make_unique<AppState>()),
      m_prompter(std::make_unique<QtPrompter>(*m_state))
{}

KestrelApp::~KestrelApp()
{
    // The main window and its editor windows first; AppState's destructor then ends the SimCard
    // before the reader.
    if (m_prompter)
        m_prompter->setEditorSource({});
    m_main.reset();
    m_prompter.reset();
    m_state.reset();
}

void KestrelApp::setEditorFactory(EditorKind kind, MainWindow::EditorFactory factory)
{
    if (m_main)
        m_main->setEditorFactory(kind, factory);
    m_factories[kind] = std::move(factory);
}

void KestrelApp::setCommandHook(int id, MainWindow::CommandHook hook)
{
    if (m_main)
        m_main->setCommandHook(id, hook);
    m_hooks[id] = std::move(hook);
}

bool KestrelApp::start(const StartOptions& options)
{
    // The defaults (intNumber and intSelector from the string table) are in place; the stored
    // values replace them.
    m_state->loadSettings();

    m_main = std::make_unique<MainWindow>(*m_state, *m_prompter);
    m_prompter->setParent(m_main.get());
    m_prompter->setEditorSource([main = m_main.get()]() -> QWidget* { return main->activeEditor(); });
    for (const auto& [kind, factory] : m_factories)
        m_main->setEditorFactory(kind, factory);
    if (m_setupHook)
        m_main->setCommandHook(CommandId::kSetup, m_setupHook);
    for (const auto& [id, hook] : m_hooks)
        m_main->setCommandHook(id, hook);

    if (m_state->settings().startWMin != 0)
        m_main->enterToolbarMode();
    m_main->show();
    m_main->updateCommandState();
    if (options.showInformation)
        (new AboutDialog(m_main.get()))->showForStartup(options.informationMilliseconds);

    // A card image given as FILE is the card of this run, as the virtual card.
    std::optional<QString> device = options.device;
    const bool image = options.file && startFileKind(*options.file) == StartFileKind::CardImage;
    if (image) {
        const emulator::CardFileResult loaded = emulator::CardFile::load(*options.file);
        if (loaded.ok)
            device = cardImageDevice(*options.file);
        else
            m_prompter->messageText(StringTable::text(sid::TheFileIsNotA_9969).arg(loaded.error),
                                    PromptIcon::Exclamation);
    }
    m_readerStatus = toInt(m_state->openReader(device));
    if (m_readerStatus != toInt(CardStatus::Ok) && m_setupHook)
        m_setupHook(*m_main);

    m_state->createSimCard();
    if (!m_state->simCard())
        return false;
    m_main->updateCommandState();
    if (options.file && !image && m_fileOpener)
        m_fileOpener(*m_main, *options.file);
    return true;
}

KestrelApp::Parsed KestrelApp::parseArguments(const QStringList& arguments)
{
    Parsed out;
    QCommandLineParser parser;
    parser.setApplicationDescription(uiText(strId(sid::DesktopEditorForGsmSim_9338)));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption device(QStringList{QStringLiteral("device")}, uiText(strId(sid::UseTheReaderDevFor_9339)),
                                    uiText(strId(sid::Dev_9340)));
    const QCommandLineOption noInfo(QStringList{QStringLiteral("no-info")},
                                    uiText(strId(sid::DoNotShowTheProgram_9341)));
    parser.addOption(device);
    parser.addOption(noInfo);
    parser.addPositionalArgument(QStringLiteral("file"), uiText(strId(sid::AFileToOpenA_9912)),
                                 QStringLiteral("[file]"));
    // Read before the application object exists, so the program's name is put in by hand.
    const auto helpText = [&parser] {
        return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("kestrel"));
    };
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(parser.errorText()), qPrintable(helpText()));
        out.exitStatus = 2;
        return out;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(helpText()), stdout);
        out.exitStatus = 0;
        return out;
    }
    if (parser.isSet(version)) {
        std::printf("kestrel %s\n", qPrintable(AboutDialog::version()));
        out.exitStatus = 0;
        return out;
    }
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "%s\n", qPrintable(helpText()));
        out.exitStatus = 2;
        return out;
    }
    if (parser.isSet(device))
        out.options.device = parser.value(device);
    out.options.showInformation = !parser.isSet(noInfo);
    if (!parser.positionalArguments().isEmpty())
        out.options.file = parser.positionalArguments().front();
    return out;
}

} // namespace kestrel
