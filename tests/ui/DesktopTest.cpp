// The desktop program as a user meets it: start-up with the real Setup dialog, and the phone book
// opened from the main window's menu on a virtual card.
#include "ui/DesktopWiring.h"

#include <memory>

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>

#include "GuiTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "phonebook/PhoneBookModel.h"
#include "reader/ReaderManager.h"
#include "ui/KestrelApp.h"
#include "ui/phonebook/CSezEdDlg.h"

namespace kestrel {
namespace {

class DesktopTest : public test::GuiTest
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
};

TEST_F(DesktopTest, FirstStartWithoutAReaderOpensSetupAndConfirmingItStoresEverything)
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
    EXPECT_EQ(stored.allKeys().size(), 22);
}

TEST_F(DesktopTest, EditPhoneBookFromTheMenuReadsTheCardIntoAWindow)
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
