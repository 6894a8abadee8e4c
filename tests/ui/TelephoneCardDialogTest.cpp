#include "ui/TelephoneCardDialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "GuiTest.h"
#include "ModalAnswer.h"
#include "ScriptedPrompter.h"
#include "StubReaders.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

namespace kestrel {
namespace {

class TelephoneCardDialogTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        plan = std::make_shared<test::ReaderPlan>();
        plan->working = {QStringLiteral("PCSC:Reader")};
        state = std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("kestrel.conf")), QSettings::IniFormat),
            test::stubReaderManager(plan));
    }

    // The virtual reader with a telephone card in it (50 units, 12 used, Czech Republic).
    void insertTelephoneCard(uint8_t mark = 0x83)
    {
        emulator::SimCardData card = emulator::StandardCard::telephoneCard();
        card.memory[1] = mark;
        const QString path = tempPath(QStringLiteral("telephone.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(card, path, error)) << error.toStdString();
        ASSERT_EQ(state->readers().selectDevice(QStringLiteral("VIRTUAL:") + path), CardStatus::Ok);
        bytes = card.memory;
    }

    static QString field(QWidget* d, const char* name)
    {
        auto* edit = d->findChild<QLineEdit*>(QLatin1String(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit ? edit->text() : QString();
    }
    static QString rawData(QWidget* d)
    {
        return d->findChild<QPlainTextEdit*>(QStringLiteral("rawData"))->toPlainText();
    }

    std::shared_ptr<test::ReaderPlan> plan;
    std::unique_ptr<AppState> state;
    test::ScriptedPrompter prompter;
    std::array<uint8_t, 32> bytes{};
};

TEST_F(TelephoneCardDialogTest, NoReaderNoDialog)
{
    ASSERT_EQ(state->readers().selectDevice(QStringLiteral("NOTHING")), CardStatus::Ok);
    test::ModalGuard guard;
    TelephoneCardDialog::open(*state, prompter, nullptr);
    EXPECT_EQ(prompter.messages, std::vector<int>{9017});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Stop});
}

TEST_F(TelephoneCardDialogTest, AReaderWithoutMemoryCardsClosesTheDialog)
{
    ASSERT_EQ(state->readers().selectDevice(QStringLiteral("PCSC:Reader")), CardStatus::Ok);
    test::ModalGuard guard;
    TelephoneCardDialog::open(*state, prompter, nullptr); // returns once the dialog closed itself
    ASSERT_EQ(prompter.texts.size(), 1U);
    EXPECT_EQ(prompter.texts[0].text,
              QStringLiteral("Error during card operation:\r\nInvalid smartcard reader identification"));
    EXPECT_EQ(prompter.texts[0].icon, PromptIcon::Stop);
}

TEST_F(TelephoneCardDialogTest, ShowsTheCardAndReadsItAgain)
{
    insertTelephoneCard();
    bool answered = false;
    test::answerModal<TelephoneCardDialog>([&](TelephoneCardDialog* d) {
        answered = true;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Telephone Card"));
        EXPECT_EQ(field(d, "unitsRemaining"), QStringLiteral("38"));
        EXPECT_EQ(field(d, "totalUnits"), QStringLiteral("50"));
        EXPECT_EQ(field(d, "country"), QStringLiteral("Czech Republic"));
        const QString shown = rawData(d);
        EXPECT_EQ(shown, TelephoneCard::rawDataText(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        EXPECT_EQ(shown.count(QLatin1Char('\n')), 3);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("0000\t")));
        EXPECT_TRUE(d->findChild<QPlainTextEdit*>(QStringLiteral("rawData"))->isReadOnly());
        EXPECT_EQ(d->findChild<QGroupBox*>()->title(), QStringLiteral("Binary data"));

        // Re-Read clears and reads the same card again.
        d->findChild<QLineEdit*>(QStringLiteral("country"))->setText(QStringLiteral("stale"));
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("reread")), Qt::LeftButton);
        EXPECT_EQ(field(d, "country"), QStringLiteral("Czech Republic"));
        EXPECT_EQ(field(d, "unitsRemaining"), QStringLiteral("38"));
        EXPECT_TRUE(d->isVisible());
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
    });
    TelephoneCardDialog::open(*state, prompter, nullptr);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(prompter.texts.empty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TelephoneCardDialogTest, AnInvalidCardIsToldAndStaysShown)
{
    insertTelephoneCard(0x82);
    bool answered = false;
    test::answerModal<TelephoneCardDialog>([&](TelephoneCardDialog* d) {
        answered = true;
        ASSERT_EQ(prompter.texts.size(), 1U);
        EXPECT_EQ(prompter.texts[0].text, QStringLiteral("Not a valid telephone card"));
        EXPECT_EQ(prompter.texts[0].icon, PromptIcon::Exclamation);
        EXPECT_EQ(field(d, "totalUnits"), QStringLiteral("0"));
        EXPECT_TRUE(rawData(d).startsWith(QStringLiteral("0000\t")));
        EXPECT_TRUE(rawData(d).contains(QStringLiteral("\t82\t")));
        d->findChild<QPushButton*>(QStringLiteral("close"))->click();
    });
    TelephoneCardDialog::open(*state, prompter, nullptr);
    EXPECT_TRUE(answered);
}

} // namespace
} // namespace kestrel
