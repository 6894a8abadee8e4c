#include "ShotRunner.h"

#include <cstdio>

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QPixmap>
#include <QSettings>

#include "app/AppState.h"
#include "base/StringIds.h"
#include "emulator/CardFile.h"
#include "reader/VirtualReader.h"
#include "ui/DesktopWiring.h"

namespace kestrel::shots {
namespace {

// The failures GoogleTest's assertions in the modal driver noted outside of any test.
int driverFailures()
{
    const testing::TestResult& result = testing::UnitTest::GetInstance()->ad_hoc_test_result();
    int failed = 0;
    for (int i = 0; i < result.total_part_count(); ++i)
        failed += result.GetTestPartResult(i).failed() ? 1 : 0;
    return failed;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

} // namespace

Session::Session(const QString& settingsPath)
    : m_app(std::make_unique<KestrelApp>(
          std::make_unique<AppState>(std::make_unique<QSettings>(settingsPath, QSettings::IniFormat))))
{
    wireDesktop(*m_app);
    StartOptions options;
    options.showInformation = false;
    options.device = QStringLiteral("VIRTUAL");
    m_started = m_app->start(options) && m_app->readerStatus() == sid::OK_102;
    if (m_started) {
        main().resize(680, 520);
        settle();
    }
}

Session::~Session() = default;

ShotRunner::ShotRunner(const QString& outputDir, const QString& workDir) : m_output(outputDir), m_work(workDir)
{
    m_watchdog.setInterval(250);
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] { watch(); });
}

std::unique_ptr<Session> ShotRunner::start(const emulator::SimCardData& card)
{
    const QString cardPath = VirtualReader::userCardPath();
    QString error;
    if (!QDir().mkpath(QFileInfo(cardPath).absolutePath()) || !emulator::CardFile::save(card, cardPath, error)) {
        fail(QStringLiteral("the virtual card could not be written: ") + error);
        return nullptr;
    }
    auto session = std::make_unique<Session>(work(QStringLiteral("settings-%1.ini").arg(++m_sessions)));
    if (!session->started()) {
        fail(QStringLiteral("the program did not start on the virtual card"));
        return nullptr;
    }
    return session;
}

bool ShotRunner::save(QWidget* widget, const QString& file)
{
    QCoreApplication::sendPostedEvents();
    const QPixmap picture = widget->grab();
    const QString path = m_output.filePath(file);
    if (picture.isNull() || !picture.save(path, "PNG")) {
        fail(path + QStringLiteral(" could not be written"));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    return true;
}

void ShotRunner::settleWindow(QWidget* window, int width, int height)
{
    window->resize(width, height);
    settle();
}

bool ShotRunner::reached(const test::ModalDriver& driver, const QString& what)
{
    const int failures = driverFailures();
    const bool ok = driver.done() && failures == m_driverFailures;
    m_driverFailures = failures;
    if (!ok)
        fail(what + QStringLiteral(" was not reached"));
    return ok;
}

void ShotRunner::fail(const QString& why)
{
    m_failures.append(why);
}

QStringList ShotRunner::run(const std::function<void(ShotRunner&)>& shot, int limitMs)
{
    m_failures.clear();
    m_timedOut = false;
    m_driverFailures = driverFailures();
    m_limitMs = limitMs;
    m_clock.start();
    m_watchdog.start();
    shot(*this);
    m_watchdog.stop();
    if (driverFailures() != m_driverFailures)
        fail(QStringLiteral("a step went wrong (see above)"));
    return m_failures;
}

void ShotRunner::watch()
{
    if (m_clock.elapsed() < m_limitMs)
        return;
    if (!m_timedOut) {
        m_timedOut = true;
        fail(QStringLiteral("the time limit of %1 s ran out").arg(m_limitMs / 1000));
    }
    // Every modal window still open is closed, one a turn, so that the shot's commands return.
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
}

test::ModalDriver::Action grabThen(ShotRunner& runner, const QString& file, test::ModalDriver::Action then)
{
    return [&runner, file, then](QWidget* w) {
        runner.save(w, file);
        if (then)
            then(w);
        else if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
    };
}

} // namespace kestrel::shots
