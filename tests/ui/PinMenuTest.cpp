// The PIN menu of the main window on a virtual card kept in a card file.
#include <memory>

#include <QSettings>

#include "CardFileDoubles.h"
#include "GuiTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "sim/SimCard.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/UiText.h"

namespace kestrel {
namespace {

using namespace CommandId;
using test::ModalDriver;

const QString kField1 = QStringLiteral("field1013");
const QString kField2 = QStringLiteral("field1014");
const QString kField3 = QStringLiteral("field1015");

class PinMenuTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        const QString card = tempPath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), card, error)) << error.toStdString();
        state = std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("settings.ini")), QSettings::IniFormat));
        ASSERT_EQ(state->openReader(QStringLiteral("VIRTUAL:") + card), CardStatus::Ok);
        state->createSimCard();
        prompter = std::make_unique<QtPrompter>(*state);
        window = std::make_unique<MainWindow>(*state, *prompter);
        prompter->setParent(window.get());
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        prompter.reset();
        state.reset();
    }

    // Opens the card verifying PIN1 with `pin` (and nothing remembered); true when it was taken.
    bool verifies(const char* pin)
    {
        SimCard& sim = state->sim();
        sim.forgetPin(1);
        test::QueuedPinPrompt codes;
        codes.answers.push_back(std::string(pin));
        PinPrompt* before = sim.pinPrompt();
        sim.setPinPrompt(&codes);
        const bool ok = sim.openCard(true, false, true, false);
        sim.closeCard();
        sim.setPinPrompt(before);
        return ok;
    }

    // CHV1 enabled, and its attempts left, from the MF response.
    std::pair<bool, int> chv1State()
    {
        SimCard& sim = state->sim();
        EXPECT_TRUE(sim.openCard(false, false, true, false));
        DirectoryInfo mf;
        EXPECT_TRUE(sim.selectFile(0x3F00, 0, &mf));
        const std::pair<bool, int> out{sim.isChv1Enabled(), mf.chv1.attemptsLeft};
        sim.closeCard();
        return out;
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<QtPrompter> prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(PinMenuTest, ChangePinAsksAgainOnAWrongReentryThenChangesTheCardsPin)
{
    QString first;
    QString last;
    QMessageBox::Icon firstIcon = QMessageBox::NoIcon;
    QMessageBox::Icon lastIcon = QMessageBox::NoIcon;
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog173"), test::fillAndOk({{kField1, QStringLiteral("1234")},
                                                                {kField2, QStringLiteral("4321")},
                                                                {kField3, QStringLiteral("4322")}}));
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Ok, &first, &firstIcon));
    driver.expect(QStringLiteral("dialog173"), test::fillAndOk({{kField3, QStringLiteral("4321")}}));
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Ok, &last, &lastIcon));
    window->runCommand(kChangePin);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(first, QStringLiteral("New PIN was not entered correctly"));
    EXPECT_EQ(firstIcon, QMessageBox::Critical);
    EXPECT_EQ(last, QStringLiteral("PIN successfuly changed"));
    EXPECT_EQ(lastIcon, QMessageBox::Information);
    EXPECT_FALSE(window->progressDialog().window()->isVisible());

    EXPECT_TRUE(verifies("4321")) << "the card takes the new PIN";
}

TEST_F(PinMenuTest, EnableDisablePinWithThePromptClosedFailsAndLeavesTheCard)
{
    QString question;
    QString error;
    ModalDriver driver;
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Yes, &question));
    driver.expect(QStringLiteral("dialog109"), test::clickButton(QStringLiteral("cancelButton")));
    driver.expect(QStringLiteral("dialog239"), [&](QWidget* w) {
        error = test::labelText(w, QStringLiteral("errorText"));
        test::clickButton(QStringLiteral("closeButton"))(w);
    });
    window->runCommand(kEnableDisablePin);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(question, QStringLiteral("PIN is activated.  Deactivate it?"));
    EXPECT_EQ(error, QStringLiteral("Communication error:\nWrong PIN!"));
    EXPECT_EQ(chv1State(), (std::pair<bool, int>{true, 3})) << "still enabled, no attempt spent";
}

TEST_F(PinMenuTest, EnterPinAsksForThePinAndStaysQuietOnSuccess)
{
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog109"), test::fillAndOk({{kField1, QStringLiteral("1234")}}));
    window->runCommand(kEnterPinButton);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(driver.seen().size(), 1U) << "no message after a success";
    EXPECT_EQ(std::string(state->sim().rememberedPin(1).view()), "1234");

    // PIN2 with a wrong code: the card's refusal in the error dialog.
    QString error;
    driver.expect(QStringLiteral("dialog172"), test::fillAndOk({{kField1, QStringLiteral("0000")}}));
    driver.expect(QStringLiteral("dialog239"), [&](QWidget* w) {
        error = test::labelText(w, QStringLiteral("errorText"));
        test::clickButton(QStringLiteral("closeButton"))(w);
    });
    window->runCommand(kEnterPin2);
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(error.startsWith(QStringLiteral("Communication error:\n"))) << error.toStdString();
}

// A wrong PIN says how many tries the card has left; before the last one the program asks, and No
// sends nothing and shows no error.
TEST_F(PinMenuTest, WrongPinShowsTheTriesLeftAndTheLastTryIsAskedFirst)
{
    for (const char* left : {"2 tries left.", "One try left."}) {
        QString error;
        ModalDriver driver;
        driver.expect(QStringLiteral("dialog109"), test::fillAndOk({{kField1, QStringLiteral("0000")}}));
        driver.expect(QStringLiteral("dialog239"), [&](QWidget* w) {
            error = test::labelText(w, QStringLiteral("errorText"));
            test::clickButton(QStringLiteral("closeButton"))(w);
        });
        window->runCommand(kEnterPinButton);
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(error, QStringLiteral("Communication error:\nNo valid PIN entered\n") + QString::fromLatin1(left));
    }

    QString question;
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog109"), test::fillAndOk({{kField1, QStringLiteral("0000")}}));
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::No, &question));
    window->runCommand(kEnterPinButton);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(question, uiText(9843));
    EXPECT_EQ(driver.seen().size(), 2U) << "no error after No";
    EXPECT_EQ(chv1State(), (std::pair<bool, int>{true, 1})) << "nothing sent";
}

TEST_F(PinMenuTest, ActivateFdnDeclinedAsksForNoPin2)
{
    QString question;
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog109"), test::fillAndOk({{kField1, QStringLiteral("1234")}}));
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::No, &question));
    window->runCommand(kActivateFdn);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(question, uiText(5606));
    EXPECT_EQ(driver.seen().size(), 2U);
}

TEST_F(PinMenuTest, UnblockCardOnAnUnblockedCardAnsweredNoSendsNothing)
{
    QString question;
    ModalDriver driver;
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::No, &question));
    window->runCommand(kUnblockCard);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(question, uiText(6220));
    EXPECT_EQ(driver.seen().size(), 1U) << "no PUK dialog and no message";
    EXPECT_EQ(chv1State(), (std::pair<bool, int>{true, 3}));
}

} // namespace
} // namespace kestrel
