#include "ui/QtPrompter.h"

#include <memory>

#include <QListWidget>
#include <QSettings>
#include <QValidator>

#include "GuiStateTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "ui/UiText.h"

namespace kestrel {
namespace {

using test::ModalDriver;

const QString kField1 = QStringLiteral("field1013");
const QString kField2 = QStringLiteral("field1014");
const QString kField3 = QStringLiteral("field1015");

std::string digits(const SecretText& s)
{
    return std::string(s.view());
}

QLineEdit* field(QWidget* dialog, const QString& name)
{
    return dialog->findChild<QLineEdit*>(name);
}

using QtPrompterTest = test::GuiStateTest;

TEST_F(QtPrompterTest, QuestionsAndMessagesCarryTheCaptionButtonsAndIcons)
{
    struct Case
    {
        PromptButtons buttons;
        QMessageBox::StandardButton press; // NoButton: Escape
        PromptAnswer answer;
    };
    for (const Case c : {Case{PromptButtons::YesNo, QMessageBox::Yes, PromptAnswer::Yes},
                         Case{PromptButtons::YesNo, QMessageBox::No, PromptAnswer::No},
                         Case{PromptButtons::YesNo, QMessageBox::NoButton, PromptAnswer::No},
                         Case{PromptButtons::YesNoCancel, QMessageBox::Cancel, PromptAnswer::Cancel},
                         Case{PromptButtons::YesNoCancel, QMessageBox::NoButton, PromptAnswer::Cancel}}) {
        ModalDriver driver;
        driver.expect(QStringLiteral("messageBox"), [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Kestrel!"));
            EXPECT_EQ(box->text(), uiText(5607));
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->button(QMessageBox::Cancel) != nullptr, c.buttons == PromptButtons::YesNoCancel);
            if (c.press == QMessageBox::NoButton)
                box->reject();
            else
                box->button(c.press)->click();
        });
        EXPECT_EQ(prompter->question(strId(5607), c.buttons, PromptIcon::Question), c.answer);
        EXPECT_TRUE(driver.done());
    }

    struct IconCase
    {
        PromptIcon icon;
        QMessageBox::Icon shown;
    };
    for (const IconCase c :
         {IconCase{PromptIcon::Stop, QMessageBox::Critical}, IconCase{PromptIcon::Exclamation, QMessageBox::Warning},
          IconCase{PromptIcon::Information, QMessageBox::Information}}) {
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalDriver driver;
        driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Ok, &text, &icon));
        prompter->message(strId(57840), c.icon);
        EXPECT_EQ(icon, c.shown);
        EXPECT_EQ(text, QStringLiteral("By closing these windows you will lose all changes.\nClose all windows?"));
    }
}

TEST_F(QtPrompterTest, PinPromptsAreMaskedShortAndPin2TakesDigitsOnly)
{
    struct Case
    {
        int chv;
        QString dialog;
        QString caption;
        QString label;
        bool digitsOnly;
    };
    for (const Case& c : {Case{1, QStringLiteral("dialog109"), QStringLiteral("Kestrel! - Enter PIN"),
                               QStringLiteral("Please enter PIN:"), false},
                          Case{2, QStringLiteral("dialog172"), QStringLiteral("Kestrel! - Enter PIN2"),
                               QStringLiteral("Please enter PIN2:"), true}}) {
        SCOPED_TRACE(c.dialog.toStdString());
        ModalDriver driver;
        driver.expect(c.dialog, [&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), c.caption);
            QLineEdit* edit = field(w, kField1);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
            EXPECT_EQ(edit->maxLength(), 8);
            EXPECT_EQ(edit->validator() != nullptr, c.digitsOnly);
            if (edit->validator()) {
                QString bad = QStringLiteral("12a4");
                int pos = 0;
                EXPECT_EQ(edit->validator()->validate(bad, pos), QValidator::Invalid);
            }
            bool labelled = false;
            for (QLabel* l : w->findChildren<QLabel*>())
                labelled = labelled || l->text() == c.label;
            EXPECT_TRUE(labelled);
            test::fillAndOk({{kField1, QStringLiteral("24681357")}})(w);
        });
        const std::optional<SecretText> pin = prompter->askPin(c.chv);
        ASSERT_TRUE(pin.has_value());
        EXPECT_EQ(digits(*pin), "24681357");

        driver.expect(c.dialog, test::clickButton(QStringLiteral("cancelButton")));
        EXPECT_FALSE(prompter->askPin(c.chv).has_value());
    }
}

// The change dialogs check on OK and stay open: 5600 when the new code was not entered alike
// twice, 5601 when the old or new code is shorter than 4.
TEST_F(QtPrompterTest, ChangeDialogChecksWhileItStaysOpen)
{
    struct Case
    {
        const char* oldPin;
        const char* newPin;
        const char* again;
        int message;
    };
    for (const Case c : {Case{"1234", "4321", "4322", 5600}, Case{"123", "4321", "4321", 5601},
                         Case{"1234", "432", "432", 5601}, Case{"1234", "43", "4321", 5600}}) {
        SCOPED_TRACE(c.message);
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalDriver driver;
        const auto fill = [&](const char* a, const char* b, const char* d) {
            return test::fillAndOk({{kField1, QString::fromLatin1(a)},
                                    {kField2, QString::fromLatin1(b)},
                                    {kField3, QString::fromLatin1(d)}});
        };
        driver.expect(QStringLiteral("dialog174"), fill(c.oldPin, c.newPin, c.again));
        driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Ok, &text, &icon));
        // Still the same dialog, with what was typed: put it right.
        driver.expect(QStringLiteral("dialog174"), [&](QWidget* w) {
            EXPECT_EQ(field(w, kField2)->text(), QString::fromLatin1(c.newPin));
            fill("5678", "8765", "8765")(w);
        });
        const std::optional<PinChange> change = prompter->askPinChange(2);
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(text, uiText(c.message));
        EXPECT_EQ(icon, QMessageBox::Critical);
        ASSERT_TRUE(change.has_value());
        EXPECT_EQ(digits(change->oldPin), "5678");
        EXPECT_EQ(digits(change->newPin), "8765");
    }
}

TEST_F(QtPrompterTest, UnblockDialogEmptiesBothNewFieldsAfterAMismatch)
{
    for (const char* again : {"2222", "111"}) {
        SCOPED_TRACE(again);
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalDriver driver;
        driver.expect(QStringLiteral("dialog163"),
                      test::fillAndOk({{kField1, QStringLiteral("12345678")},
                                       {kField2, QString::fromLatin1(again).left(3) == QStringLiteral("111")
                                                     ? QStringLiteral("111")
                                                     : QStringLiteral("1111")},
                                       {kField3, QString::fromLatin1(again)}}));
        driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Ok, &text, &icon));
        driver.expect(QStringLiteral("dialog163"), [&](QWidget* w) {
            EXPECT_EQ(field(w, kField1)->text(), QStringLiteral("12345678")) << "the PUK stays";
            EXPECT_TRUE(field(w, kField2)->text().isEmpty());
            EXPECT_TRUE(field(w, kField3)->text().isEmpty());
            EXPECT_EQ(w->focusWidget(), field(w, kField2));
            test::fillAndOk({{kField2, QStringLiteral("1111")}, {kField3, QStringLiteral("1111")}})(w);
        });
        const std::optional<PinUnblock> unblock = prompter->askUnblock(1);
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(text, StringTable::text(59025));
        EXPECT_EQ(icon, QMessageBox::Warning);
        ASSERT_TRUE(unblock.has_value());
        EXPECT_EQ(digits(unblock->puk), "12345678");
        EXPECT_EQ(digits(unblock->newPin), "1111");
    }

    // The PUK2 dialog, closed.
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog175"), [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Kestrel! - Enter PUK2"));
        test::clickButton(QStringLiteral("cancelButton"))(w);
    });
    EXPECT_FALSE(prompter->askUnblock(2).has_value());
}

TEST_F(QtPrompterTest, ToolkitChoiceAndInput)
{
    ModalDriver driver;
    driver.expect(QStringLiteral("toolkitSelectDialog"), [](QWidget* w) {
        auto* list = w->findChild<QListWidget*>(QStringLiteral("items"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentRow(), 0) << "the first entry is selected";
        list->setCurrentRow(2);
        test::clickButton(QStringLiteral("okButton"))(w);
    });
    const std::vector<ToolkitChoice> entries = {
        {3, QStringLiteral("3\tNews")}, {7, QStringLiteral("7\tWeather")}, {9, QStringLiteral("9\tGames")}};
    EXPECT_EQ(prompter->selectToolkitItem(QStringLiteral("Services"), entries), std::optional<uint8_t>(9));

    // With no entry selected, Select leaves the dialog open.
    bool stayed = false;
    driver.expect(QStringLiteral("toolkitSelectDialog"), [&](QWidget* w) {
        auto* list = w->findChild<QListWidget*>(QStringLiteral("items"));
        list->clearSelection();
        test::clickButton(QStringLiteral("okButton"))(w);
        stayed = w->isVisible();
        list->setCurrentRow(1);
        test::clickButton(QStringLiteral("okButton"))(w);
    });
    EXPECT_EQ(prompter->selectToolkitItem(QStringLiteral("Services"), entries), std::optional<uint8_t>(7));
    EXPECT_TRUE(stayed);

    driver.expect(QStringLiteral("toolkitSelectDialog"), test::clickButton(QStringLiteral("cancelButton")));
    EXPECT_FALSE(prompter->selectToolkitItem(QStringLiteral("Services"), entries).has_value());

    driver.expect(QStringLiteral("toolkitInputDialog"), [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), StringTable::text(238));
        EXPECT_EQ(test::labelText(w, QStringLiteral("prompt")), QStringLiteral("Your name?"));
        test::fillAndOk({{QStringLiteral("inputText"), QStringLiteral("Jana")}})(w);
    });
    EXPECT_EQ(prompter->inputToolkitText(QStringLiteral("Your name?")), std::optional<QString>(QStringLiteral("Jana")));
    EXPECT_TRUE(driver.done());
}

} // namespace
} // namespace kestrel
