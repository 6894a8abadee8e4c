#include "ui/KestrelApp.h"

#include <memory>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QToolBar>

#include "GuiTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "app/StartFile.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "phonebook/PhoneBookModel.h"
#include "reader/ReaderManager.h"
#include "ui/AboutDialog.h"
#include "ui/DesktopWiring.h"
#include "ui/phonebook/CSezEdDlg.h"

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
        {{k, QStringLiteral("one.dia"), QStringLiteral("two.dia")}, 2, std::nullopt, true},
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
    EXPECT_EQ(KestrelApp::parseArguments({k, QStringLiteral("book.vcf")}).options.file, QStringLiteral("book.vcf"));
    const QString kinds[] = {QStringLiteral("a.DIA"), QStringLiteral("a.csv"),  QStringLiteral("b.sma"),
                             QStringLiteral("c.SIM"), QStringLiteral("d.json"), QStringLiteral("e.txt")};
    const StartFileKind expected[] = {StartFileKind::PhoneBook, StartFileKind::PhoneBook, StartFileKind::Messages,
                                      StartFileKind::Backup,    StartFileKind::CardImage, StartFileKind::Unknown};
    for (std::size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(startFileKind(kinds[i]), expected[i]) << kinds[i].toStdString();
}

// `kestrel FILE`, as the desktop entry starts it for a double-clicked file: a contact file in a
// new phone book window, a message file in a new SMS window (a missing one says so), a card image
// as the card of the run, another kind refused with a message.
TEST_F(KestrelAppTest, FileGivenOnTheCommandLineOpensByItsKind)
{
    const QString vcf = tempPath(QStringLiteral("book.vcf"));
    {
        QFile f(vcf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ji\xc5\x99\xc3\xad Nov\xc3\xa1k\r\nTEL:+420603123456\r\nEND:VCARD\r\n");
    }
    const QString image = cardFile();
    struct Case
    {
        QString file;
        QString message; // the message box shown, empty when none
    };
    const Case cases[] = {
        {vcf, {}},
        {tempPath(QStringLiteral("missing.sms")), StringTable::text(sid::CannotOpenFileForReading_57687)},
        {image, {}},
        {tempPath(QStringLiteral("old.sim")), StringTable::text(sid::CannotOpenBackupFileRestore_57426)},
        {tempPath(QStringLiteral("notes.txt")), QStringLiteral("notes.txt cannot be opened")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        KestrelApp app(newState());
        wireDesktop(app);
        StartOptions options = quiet();
        options.device = QStringLiteral("NOTHING");
        options.file = c.file;
        test::ModalDriver driver;
        QString shown;
        if (!c.message.isEmpty()) {
            driver.expect(QStringLiteral("messageBox"), [&shown](QWidget* w) {
                shown = static_cast<QMessageBox*>(w)->text();
                static_cast<QMessageBox*>(w)->accept();
            });
        }
        ASSERT_TRUE(app.start(options));
        EXPECT_TRUE(driver.done());
        EXPECT_TRUE(shown.startsWith(c.message)) << shown.toStdString();
        MainWindow& main = *app.mainWindow();
        const StartFileKind kind = startFileKind(c.file);
        auto* book = dynamic_cast<CSezEdDlg*>(main.currentEditor(EditorKind::PhoneBook));
        EXPECT_EQ(book != nullptr, kind == StartFileKind::PhoneBook);
        if (book) {
            EXPECT_EQ(QString::fromUtf8(book->model().entry(0).name), QStringLiteral(u"Jiří Novák"));
        }
        EXPECT_EQ(main.currentEditor(EditorKind::Sms) != nullptr, kind == StartFileKind::Messages);
        EXPECT_EQ(app.state().readers().currentDevice(),
                  kind == StartFileKind::CardImage ? cardImageDevice(image) : QStringLiteral("NOTHING"));
    }
}

// The desktop as a user meets it, with the real windows wired in: the Setup dialog at a first
// start without a reader, and the phone book opened from the menu on a virtual card.
TEST_F(KestrelAppTest, FirstStartWithoutAReaderOpensSetupAndConfirmingItStoresEverything)
{
    const QString device = QStringLiteral("VIRTUAL");
    KestrelApp app(newState());
    wireDesktop(app);
    test::ModalDriver driver;
    driver.expect(QStringLiteral("setupDialog"), [&](QWidget* w) {
        auto* combo = w->findChild<QComboBox*>(QStringLiteral("device"));
        ASSERT_NE(combo, nullptr);
        // COM2 could not be opened, so no reader is open; the user picks the virtual card.
        EXPECT_EQ(combo->currentText(), QStringLiteral("NOTHING"));
        const int virtualCard = combo->findText(QStringLiteral("VIRTUAL"));
        ASSERT_GE(virtualCard, 0);
        combo->setCurrentIndex(virtualCard);
        w->findChild<QLineEdit*>(QStringLiteral("intNumber"))->setText(QStringLiteral("+420"));
        test::clickButton(QStringLiteral("ok"))(w);
    });
    ASSERT_TRUE(app.start(quiet()));
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(app.state().readers().currentDevice(), device);

    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/scrFree")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("SMSData/intNumber")).toString(), QStringLiteral("420"));
    EXPECT_EQ(stored.value(QStringLiteral("commData/device")).toString(), device);
    EXPECT_EQ(stored.allKeys().size(), 24);
}

TEST_F(KestrelAppTest, EditPhoneBookFromTheMenuReadsTheCardIntoAWindow)
{
    KestrelApp app(newState());
    wireDesktop(app);
    StartOptions options = quiet();
    options.device = QStringLiteral("VIRTUAL:") + cardFile();
    ASSERT_TRUE(app.start(options));
    ASSERT_EQ(app.readerStatus(), 102);

    test::ModalDriver driver;
    driver.expect(QStringLiteral("dialog109"), [](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("field1013"))->setText(QStringLiteral("1234"));
        test::clickButton(QStringLiteral("okButton"))(w);
    });
    app.mainWindow()->runCommand(40001); // "&Edit Phone Book": a new window reads the card at once
    EXPECT_TRUE(driver.done());

    auto* window = dynamic_cast<CSezEdDlg*>(app.mainWindow()->currentEditor(EditorKind::PhoneBook));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowNumber(), 0);
    const PhoneBookModel& model = window->model();
    EXPECT_EQ(model.capacity(), 250);
    EXPECT_STREQ(model.entry(0).name, "Mother");
    EXPECT_STREQ(model.entry(0).number, "420602111222");
    EXPECT_EQ(model.entry(0).ton, 1);
    EXPECT_FALSE(model.anyModified());

    // The same command again only activates it; "&New Phone Book" makes Window 2, left empty.
    app.mainWindow()->runCommand(40001);
    EXPECT_EQ(app.mainWindow()->currentEditor(EditorKind::PhoneBook), window);
    app.mainWindow()->runCommand(40007);
    auto* second = dynamic_cast<CSezEdDlg*>(app.mainWindow()->currentEditor(EditorKind::PhoneBook));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, window);
    EXPECT_EQ(second->windowNumber(), 1);
    EXPECT_EQ(second->model().entry(0).valid, 0);
}

} // namespace
} // namespace kestrel
