// The desktop program's frame on the virtual card: where message boxes and new windows go, the
// state panel and the status line, and a cancelled PIN prompt.

#include <memory>

#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "GuiTest.h"
#include "ModalAnswer.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "ui/DesktopWiring.h"
#include "ui/KestrelApp.h"
#include "ui/StatePanel.h"
#include "ui/phonebook/PhoneBookWindow.h"

namespace kestrel {
namespace {

using test::ModalDriver;

class DesktopFrameTest : public test::GuiTest
{
protected:
    void TearDown() override
    {
        if (app && app->mainWindow())
            app->mainWindow()->CloseAllEditors();
        app.reset();
    }

    // The desktop program on the standard card (PIN1 on, 1234).
    MainWindow& start()
    {
        const QString card = tempPath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), card, error));
        app = std::make_unique<KestrelApp>(std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat)));
        wireDesktop(*app);
        StartOptions options;
        options.showInformation = false;
        options.device = QStringLiteral("VIRTUAL:") + card;
        EXPECT_TRUE(app->start(options));
        return *app->mainWindow();
    }
    // Edit Phone Book with the automatic read, PIN1 typed into its prompt (or the prompt closed).
    PhoneBookWindow* readPhoneBook(MainWindow& main, const char* pin)
    {
        ModalDriver driver;
        if (pin)
            driver.expect(QStringLiteral("dialog109"),
                          test::fillAndOk({{QStringLiteral("field1013"), QString::fromLatin1(pin)}}));
        else
            driver.expect(QStringLiteral("dialog109"), test::clickButton(QStringLiteral("cancelButton")));
        main.runCommand(40001);
        EXPECT_TRUE(driver.done());
        return dynamic_cast<PhoneBookWindow*>(main.currentEditor(EditorKind::PhoneBook));
    }
    static QString line(QWidget* w, const char* name)
    {
        auto* label = w->findChild<QLabel*>(QLatin1String(name));
        return label && label->isVisibleTo(w) ? label->text() : QString();
    }

    std::unique_ptr<KestrelApp> app;
};

TEST_F(DesktopFrameTest, StatePanelAfterAPhoneBookRead)
{
    MainWindow& main = start();
    StatePanel* panel = main.statePanel();
    EXPECT_EQ(line(panel, "stateCard"), QStringLiteral("Card: not read yet"));
    EXPECT_EQ(line(panel, "stateIccid"), QString());
    EXPECT_EQ(main.statusLine()->text(), QStringLiteral("Ready"));
    auto* bookButton = panel->findChild<QToolButton*>(QStringLiteral("start40001"));
    ASSERT_NE(bookButton, nullptr);
    EXPECT_EQ(bookButton->text(), QStringLiteral("Edit Phone Book\nCtrl+E"));
    EXPECT_NE(panel->findChild<QToolButton*>(QStringLiteral("start40024")), nullptr);

    ASSERT_NE(readPhoneBook(main, "1234"), nullptr);
    EXPECT_TRUE(line(panel, "stateReader").startsWith(QStringLiteral("Reader: VIRTUAL:")));
    EXPECT_EQ(line(panel, "stateCard"), QStringLiteral("Card: in the reader"));
    EXPECT_TRUE(line(panel, "stateIccid").startsWith(QStringLiteral("ICCID: 8942001234567890123")));
    EXPECT_EQ(line(panel, "statePhase"), QStringLiteral("SIM phase: 2+"));
    EXPECT_EQ(line(panel, "statePin1"), QStringLiteral("PIN1: on, entered"));
    EXPECT_EQ(line(panel, "stateLast"), QStringLiteral("Last operation: Reading Phone Book: O.K."));
    EXPECT_EQ(main.statusLine()->text(), QStringLiteral("Reading Phone Book: O.K."));
}

TEST_F(DesktopFrameTest, CancelledPinPromptShowsNoErrorBox)
{
    MainWindow& main = start();
    test::ModalGuard noErrorBox(3000);
    ASSERT_NE(readPhoneBook(main, nullptr), nullptr);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(main.statusLine()->text(), QStringLiteral("Operation cancelled by user"));
    EXPECT_EQ(line(main.statePanel(), "stateLast"),
              QStringLiteral("Last operation: Reading Phone Book: Operation cancelled by user"));
}

TEST_F(DesktopFrameTest, QuestionOfAPhoneBookWindowIsShownOverIt)
{
    MainWindow& main = start();
    PhoneBookWindow* book = readPhoneBook(main, "1234");
    ASSERT_NE(book, nullptr);
    main.state().settings().confirm = 1;
    book->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(book));

    QWidget* parent = nullptr;
    ModalDriver driver;
    driver.expect(QStringLiteral("messageBox"), [&](QWidget* box) {
        parent = box->parentWidget();
        test::answerBox(QMessageBox::No)(box);
    });
    // Clear All asks before it empties a list holding entries.
    QTest::mouseClick(book->findChild<QWidget*>(QStringLiteral("clearAllButton")), Qt::LeftButton);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(parent, book);
}

TEST_F(DesktopFrameTest, NewWindowsCascadeInsteadOfCoveringEachOther)
{
    MainWindow& main = start();
    main.state().settings().autoRead = 0;
    main.runCommand(40001);
    main.runCommand(40007); // New Phone Book
    main.runCommand(40004); // Edit Messages
    const std::vector<EditorWindow*> books = main.editors(EditorKind::PhoneBook);
    ASSERT_EQ(books.size(), 2U);
    EditorWindow* sms = main.currentEditor(EditorKind::Sms);
    ASSERT_NE(sms, nullptr);
    EXPECT_NE(books[0]->pos(), books[1]->pos());
    EXPECT_EQ((books[0]->pos() - books[1]->pos()).manhattanLength(), 40);
    EXPECT_NE(sms->pos(), books[0]->pos());
    EXPECT_NE(sms->pos(), books[1]->pos());
}

} // namespace
} // namespace kestrel
