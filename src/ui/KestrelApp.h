#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

#include "app/AppState.h"
#include "ui/MainWindow.h"

namespace kestrel {

class QtPrompter;

// How the program was started.
struct StartOptions
{
    // --device: the reader for this run; the `device` setting stays as it is.
    std::optional<QString> device;
    // The program information at start-up (off for tests and --no-info).
    bool showInformation = true;
    // How long it stays when nobody clicks it away.
    int informationMilliseconds = 4000;
    // `kestrel FILE`: the file opened once the program has started (by its kind, StartFile.h); a
    // card image is opened as the virtual card instead of the reader.
    std::optional<QString> file;
};

// The application object: the settings, the reader and the SimCard (AppState), the Prompter and
// the main window; start-up in its fixed order, and shut-down in reverse (the main window with
// its editors, then the SimCard, then the reader).
class KestrelApp
{
public:
    // The hook's command-line parse result: options, or an exit (help, version, error) with its
    // status.
    struct Parsed
    {
        StartOptions options;
        std::optional<int> exitStatus;
    };

    // state: the application state to run on (tests give one with a store of their own); null
    // makes the user's.
    explicit KestrelApp(std::unique_ptr<AppState> state = nullptr);
    ~KestrelApp();
    KestrelApp(const KestrelApp&) = delete;
    KestrelApp& operator=(const KestrelApp&) = delete;

    // Opens the Setup dialog modally when the reader named by the settings cannot be opened at
    // start-up (and is Setup's menu command unless that has a hook of its own). Default: nothing.
    void setSetupHook(MainWindow::CommandHook hook) { m_setupHook = std::move(hook); }
    // Editor factories and command hooks to hand to the main window when it is made.
    void setEditorFactory(EditorKind kind, MainWindow::EditorFactory factory);
    void setCommandHook(int id, MainWindow::CommandHook hook);
    // Opens StartOptions::file once the program has started. Default: nothing.
    using FileOpener = std::function<void(MainWindow&, const QString&)>;
    void setFileOpener(FileOpener opener) { m_fileOpener = std::move(opener); }

    // Start-up: settings loaded, main window made (as a toolbar when startWMin is set), shown, the
    // program information shown, the reader opened (Setup when that fails), the SimCard made.
    bool start(const StartOptions& options);

    AppState& state() { return *m_state; }
    QtPrompter& prompter() { return *m_prompter; }
    // Null before start().
    MainWindow* mainWindow() { return m_main.get(); }
    // The reader's status at start-up (sid::OK_102 when it opened).
    int readerStatus() const { return m_readerStatus; }

    // --device, --no-info, --help, --version and at most one FILE.
    static Parsed parseArguments(const QStringList& arguments);

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QtPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_main;
    MainWindow::CommandHook m_setupHook;
    FileOpener m_fileOpener;
    std::map<EditorKind, MainWindow::EditorFactory> m_factories;
    std::map<int, MainWindow::CommandHook> m_hooks;
    int m_readerStatus = 0;
};

} // namespace kestrel
