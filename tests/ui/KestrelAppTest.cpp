#include "ui/KestrelApp.h"

#include <memory>

#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QToolBar>

#include "GuiTest.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "reader/ReaderManager.h"
#include "ui/AboutDialog.h"

namespace kestrel {
namespace {

class KestrelAppTest : public test::GuiTest
{
protected:
    QString settingsPath() const { return tempPath(QStringLiteral("settings.ini")); }
    std::unique_ptr<AppState> newState() const
    {
        return std::make_unique<AppState>(std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat));
    }
    QString cardFile() const
    {
        const QString path = tempPath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), path, error));
        return path;
    }
    static StartOptions quiet()
    {
        StartOptions o;
        o.showInformation = false;
        return o;
    }
    static QWidget* topLevel(const QString& name)
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name && w->isVisible())
                return w;
        }
        return nullptr;
    }
};

TEST_F(KestrelAppTest, FirstStartTakesTheDefaultsAndOpensSetupWhenTheReaderFails)
{
    KestrelApp app(newState());
    int setupCalls = 0;
    bool cardMadeBeforeSetup = true;
    app.setSetupHook([&](MainWindow& w) {
        ++setupCalls;
        cardMadeBeforeSetup = w.state().simCard() != nullptr;
        EXPECT_TRUE(w.isVisible()) << "the main window shows first";
    });
    ASSERT_TRUE(app.start(quiet()));

    const AppSettings& s = app.state().settings();
    EXPECT_EQ(s.device, QStringLiteral("COM2"));
    EXPECT_EQ(s.autoRead, 1);
    EXPECT_EQ(s.confirm, 1);
    EXPECT_EQ(s.enCache, 1);
    EXPECT_EQ(s.startWMin, 0);
    EXPECT_EQ(s.intNumber, QStringLiteral("49"));
    EXPECT_EQ(s.intSelector, QStringLiteral("00"));

    EXPECT_NE(app.readerStatus(), 102);
    EXPECT_EQ(setupCalls, 1);
    EXPECT_FALSE(cardMadeBeforeSetup) << "the SimCard is made after the reader";
    ASSERT_NE(app.mainWindow(), nullptr);
    EXPECT_TRUE(app.mainWindow()->isVisible());
    EXPECT_EQ(app.mainWindow()->windowTitle(), QStringLiteral("Kestrel!"));
    EXPECT_NE(app.state().simCard(), nullptr);
    // The Setup menu command runs the same hook.
    app.mainWindow()->runCommand(40021);
    EXPECT_EQ(setupCalls, 2);
    // Nothing was written at start-up.
    EXPECT_TRUE(QSettings(settingsPath(), QSettings::IniFormat).allKeys().isEmpty());
}

TEST_F(KestrelAppTest, DeviceOptionIsUsedForThisRunWithoutChangingTheSetting)
{
    {
        QSettings store(settingsPath(), QSettings::IniFormat);
        store.setValue(QStringLiteral("commData/device"), QStringLiteral("COM5"));
    }
    const QString device = QStringLiteral("VIRTUAL:") + cardFile();
    KestrelApp app(newState());
    int setupCalls = 0;
    app.setSetupHook([&](MainWindow&) { ++setupCalls; });
    StartOptions options = quiet();
    options.device = device;
    ASSERT_TRUE(app.start(options));
    EXPECT_EQ(app.readerStatus(), 102);
    EXPECT_EQ(setupCalls, 0);
    EXPECT_EQ(app.state().readers().currentDevice(), device);
    EXPECT_EQ(app.state().settings().device, QStringLiteral("COM5"));
    EXPECT_EQ(QSettings(settingsPath(), QSettings::IniFormat).value(QStringLiteral("commData/device")).toString(),
              QStringLiteral("COM5"));
}

TEST_F(KestrelAppTest, AsToolbarSettingStartsWithMenuAndButtonsOnly)
{
    {
        QSettings store(settingsPath(), QSettings::IniFormat);
        store.setValue(QStringLiteral("confirmations/startWMin"), 1);
    }
    KestrelApp app(newState());
    StartOptions options = quiet();
    options.device = QStringLiteral("NOTHING");
    ASSERT_TRUE(app.start(options));
    QCoreApplication::processEvents();
    MainWindow* w = app.mainWindow();
    EXPECT_TRUE(w->inToolbarMode());
    EXPECT_EQ(w->height(), w->menuBar()->height() + w->buttonBar()->height());
}

TEST_F(KestrelAppTest, ProgramInformationShowsWithoutBlockingAndGoesAtAClick)
{
    KestrelApp app(newState());
    StartOptions options;
    options.device = QStringLiteral("NOTHING");
    ASSERT_TRUE(app.start(options)); // returns although the dialog is up
    QWidget* about = topLevel(QStringLiteral("aboutDialog"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QPointer<QWidget> guard(about);
    QTest::mouseClick(about, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());

    // Left alone, it closes itself.
    KestrelApp again(newState());
    options.informationMilliseconds = 20;
    ASSERT_TRUE(again.start(options));
    QPointer<QWidget> second(topLevel(QStringLiteral("aboutDialog")));
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.isNull() || !second->isVisible(); }, 5000));
}

TEST_F(KestrelAppTest, AboutTellsNameVersionQtAndLicence)
{
    AboutDialog about(nullptr);
    const auto text = [&](const char* name) {
        auto* l = about.findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QString();
    };
    EXPECT_EQ(text("programName"), QStringLiteral("Kestrel!"));
    EXPECT_EQ(text("version"), QStringLiteral("Version 4.0"));
    EXPECT_TRUE(text("qtVersion").contains(QString::fromLatin1(qVersion())));
    EXPECT_FALSE(text("description").isEmpty());
    EXPECT_FALSE(text("licence").isEmpty());
}

TEST_F(KestrelAppTest, CommandLine)
{
    struct Case
    {
        QStringList args;
        std::optional<int> exit;
        std::optional<QString> device;
        bool info;
    };
    const QString k = QStringLiteral("kestrel");
    const std::vector<Case> cases = {
        {{k}, std::nullopt, std::nullopt, true},
        {{k, QStringLiteral("--device"), QStringLiteral("VIRTUAL")}, std::nullopt, QStringLiteral("VIRTUAL"), true},
        {{k, QStringLiteral("--device=PCSC:Reader 0"), QStringLiteral("--no-info")},
         std::nullopt,
         QStringLiteral("PCSC:Reader 0"),
         false},
        {{k, QStringLiteral("--version")}, 0, std::nullopt, true},
        {{k, QStringLiteral("--help")}, 0, std::nullopt, true},
        {{k, QStringLiteral("--bogus")}, 2, std::nullopt, true},
        {{k, QStringLiteral("stray")}, 2, std::nullopt, true},
        {{k, QStringLiteral("--device")}, 2, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const KestrelApp::Parsed p = KestrelApp::parseArguments(c.args);
        EXPECT_EQ(p.exitStatus, c.exit);
        if (!c.exit) {
            EXPECT_EQ(p.options.device, c.device);
            EXPECT_EQ(p.options.showInformation, c.info);
        }
    }
}

} // namespace
} // namespace kestrel
