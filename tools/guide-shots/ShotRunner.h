#pragma once

// The machinery of kestrel-guide-shots: the desktop program started on a virtual card of its own,
// the pictures saved, and the failures of a shot collected with a time limit, so that a window
// that never comes ends the shot instead of hanging the run.

#include <functional>
#include <memory>

#include <QDir>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "ModalDriver.h"
#include "emulator/SimCardData.h"
#include "ui/KestrelApp.h"

class QWidget;

namespace kestrel::shots {

// One start of the desktop program with the windows wired as the program wires them: a settings
// store of its own (a first start) on the user's virtual card ("VIRTUAL", kept in the temporary
// XDG data folder), so the device shown is the one a user has. The main window is 680x520.
class Session
{
public:
    explicit Session(const QString& settingsPath);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool started() const { return m_started; }
    MainWindow& main() { return *m_app->mainWindow(); }

private:
    std::unique_ptr<KestrelApp> m_app;
    bool m_started = false;
};

// What a shot works with: the output folder, a scratch folder, the failures of this shot.
class ShotRunner
{
public:
    ShotRunner(const QString& outputDir, const QString& workDir);

    // A file in the scratch folder.
    QString work(const QString& name) const { return m_work.filePath(name); }

    // The program started on `card` as the user's virtual card; null (with the failure noted) when it did not start.
    std::unique_ptr<Session> start(const emulator::SimCardData& card);

    // Saves the widget as it is drawn now into OUTPUT-DIR/file (a PNG), and prints the path.
    bool save(QWidget* widget, const QString& file);
    // Gives a window its picture's size and lets it lay itself out.
    static void settleWindow(QWidget* window, int width, int height);

    // True when every step the driver was given was reached and nothing went wrong on the way;
    // otherwise the failure is noted as `what` did not get through.
    bool reached(const test::ModalDriver& driver, const QString& what);
    void fail(const QString& why);

    // Runs one shot with the time limit; the failures it noted, empty when it succeeded.
    QStringList run(const std::function<void(ShotRunner&)>& shot, int limitMs);

private:
    void watch();

    QDir m_output;
    QDir m_work;
    QStringList m_failures;
    int m_sessions = 0;
    int m_driverFailures = 0;
    bool m_timedOut = false;
    QTimer m_watchdog;
    QElapsedTimer m_clock;
    int m_limitMs = 0;
};

// Saves the modal window a driver step meets as `file`, then carries out `then` on it (without one,
// the dialog is rejected).
test::ModalDriver::Action grabThen(ShotRunner& runner, const QString& file, test::ModalDriver::Action then = {});

} // namespace kestrel::shots
