#include "ui/sms/SmsDetailsDialog.h"
#include "ui/sms/SmsEditDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "GuiTest.h"
#include "ModalScript.h"
#include "TestEditorHost.h"
#include "codec/SmsTime.h"
#include "phonebook/EntryFields.h"
#include "sms/SmsListModel.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {
namespace {

using test::child;
using test::ModalScript;

constexpr const char* kChoices[] = {"oneHour", "oneDay", "oneWeek", "maximum"};

// The radio button checked (-1: none), and whether all four are enabled.
std::pair<int, bool> shownChoice(QWidget* d)
{
    int checked = -1;
    bool enabled = true;
    for (int i = 0; i < 4; ++i) {
        auto* radio = child<QRadioButton>(d, kChoices[i]);
        if (radio->isChecked())
            checked = checked == -1 ? i : 99; // two checked would be a fault
        enabled = enabled && radio->isEnabled();
    }
    return {checked, enabled};
}

class SmsDialogsTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        test::GuiTest::SetUp();
        host = std::make_unique<test::TestEditorHost>(tempPath(QStringLiteral("settings.ini")));
        model = std::make_unique<SmsListModel>(host->app, host->prompts);
    }
    void TearDown() override { setCountryChooser({}); }

    std::unique_ptr<test::TestEditorHost> host;
    std::unique_ptr<SmsListModel> model;
};

// Typing, an over-long paste, a refused number, the phone book pick and the details dialog on the
// working copy: the row takes all of it on OK only.
TEST_F(SmsDialogsTest, EditDialogReplacesTheRowOnAValidOk)
{
    DialEntry picked = DialEntry::emptyAt(7);
    picked.valid = 1;
    picked.ton = 1;
    setEntryField(picked.number, "777111222");
    SmsEditDialog dialog(
        *model, 3, [&picked] { return std::optional<DialEntry>(picked); }, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kestrel! - Edit SMS Message"));
    EXPECT_FALSE(child<QPushButton>(&dialog, "dialingCodeButton")->isEnabled()); // no chooser

    ModalScript script;
    script.then([this](QWidget* d) {
        QLabel* length = child<QLabel>(d, "messageLength");
        auto* text = child<QPlainTextEdit>(d, "messageText");
        EXPECT_EQ(length->text(), QStringLiteral("0"));
        QTest::keyClicks(text, QStringLiteral("Hi there"));
        EXPECT_EQ(length->text(), QStringLiteral("8"));
        text->moveCursor(QTextCursor::Start);
        text->insertPlainText(QString(200, QLatin1Char('x'))); // the paste is cut, the text stays
        EXPECT_EQ(text->toPlainText(), QString(152, QLatin1Char('x')) + QStringLiteral("Hi there"));
        EXPECT_EQ(length->text(), QStringLiteral("160"));
        text->setPlainText(QStringLiteral("Hi there"));
        child<QLineEdit>(d, "phoneNumber")->setText(QStringLiteral("12a"));
        child<QPushButton>(d, "okButton")->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host->prompts.messages, std::vector<int>{57721});
        EXPECT_EQ(model->entry(3).valid, 0);
        child<QPushButton>(d, "fromPhoneBookButton")->click();
        EXPECT_EQ(child<QLineEdit>(d, "phoneNumber")->text(), QStringLiteral("+777111222"));
        // Opened from a call of its own, so that this script answers the details dialog too.
        QTimer::singleShot(0, child<QPushButton>(d, "detailsButton"), &QPushButton::click);
    });
    script.then([](QWidget* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("smsDetailsDialog"));
        EXPECT_EQ(child<QComboBox>(d, "messageStatus")->currentIndex(), 3); // a new message: to be sent
        child<QRadioButton>(d, "oneDay")->click();
        child<QPushButton>(d, "okButton")->click();
    });
    script.then([](QWidget* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("smsEditDialog"));
        child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(script.done());
    const SmsEntry& e = model->entry(3);
    EXPECT_EQ(e.valid, 1);
    EXPECT_EQ(entryFieldText(e.text), "Hi there");
    EXPECT_EQ(entryFieldText(e.number), "777111222");
    EXPECT_EQ(e.numberTon, 1);
    EXPECT_EQ(QString::fromLatin1(entryFieldText(e.when)), SmsDetailsForm::choiceText(1));
    EXPECT_EQ(e.modified, 1);
}

TEST_F(SmsDialogsTest, DialingCodeGoesInFrontAndCancelLeavesAFreeRowFree)
{
    setCountryChooser([](QWidget*) { return QStringLiteral("+49"); });
    SmsEditDialog dialog(*model, 0, {}, nullptr);
    EXPECT_FALSE(child<QPushButton>(&dialog, "fromPhoneBookButton")->isEnabled()); // no phone book window
    ModalScript script;
    script.then([](QWidget* d) {
        QLineEdit* number = child<QLineEdit>(d, "phoneNumber");
        number->setText(QStringLiteral("+0301234"));
        child<QPushButton>(d, "dialingCodeButton")->click();
        EXPECT_EQ(number->text(), QStringLiteral("+490301234"));
        QTest::keyClicks(child<QPlainTextEdit>(d, "messageText"), QStringLiteral("draft"));
        child<QPushButton>(d, "cancelButton")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(model->entry(0).valid, 0);
    EXPECT_EQ(model->entry(0).modified, 0);

    // A received text longer than can be typed is shown whole, not cut unseen.
    SmsEntry& received = model->entry(5);
    received.valid = 1;
    setEntryField(received.text, std::string(199, 'r'));
    SmsEditDialog longText(*model, 5, {}, nullptr);
    EXPECT_EQ(child<QPlainTextEdit>(&longText, "messageText")->toPlainText().size(), 199);
}

// Status changes and radio buttons go to the form; the dialog shows what the form holds.
TEST_F(SmsDialogsTest, DetailsDialogShowsTheFormsState)
{
    SmsEntry entry;
    entry.valid = 1;
    entry.status = static_cast<int32_t>(SmsStatus::Sent);
    setEntryField(entry.when, SmsDetailsForm::choiceText(2).toStdString());
    setEntryField(entry.scNumber, "420603");
    entry.scTon = 1;
    SmsDetailsDialog dialog(entry, host->prompts, {}, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kestrel! - Edit Message Details"));
    EXPECT_EQ(shownChoice(&dialog), std::make_pair(2, true));
    EXPECT_EQ(child<QLineEdit>(&dialog, "smsCenter")->text(), QStringLiteral("+420603"));
    EXPECT_FALSE(child<QPushButton>(&dialog, "fromPhoneBookButton")->isEnabled());

    ModalScript script;
    script.then([this](QWidget* d) {
        auto* status = child<QComboBox>(d, "messageStatus");
        QLineEdit* when = child<QLineEdit>(d, "validity");
        status->setCurrentIndex(0); // read: a date (now) instead of a period
        EXPECT_EQ(shownChoice(d), std::make_pair(-1, false));
        SmsTime parsed;
        EXPECT_TRUE(ParseSmsTime(when->text().toStdString(), parsed) && parsed.isAbsolute != 0)
            << when->text().toStdString();
        status->setCurrentIndex(3); // to be sent: a week instead of the date
        EXPECT_EQ(shownChoice(d), std::make_pair(2, true));
        EXPECT_EQ(when->text(), SmsDetailsForm::choiceText(2));
        child<QRadioButton>(d, "oneHour")->click();
        EXPECT_EQ(shownChoice(d), std::make_pair(0, true));
        EXPECT_EQ(when->text(), SmsDetailsForm::choiceText(0));
        child<QLineEdit>(d, "smsCenter")->setText(QStringLiteral("12x"));
        child<QPushButton>(d, "okButton")->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(host->prompts.messages, std::vector<int>{57660});
        child<QLineEdit>(d, "smsCenter")->setText(QStringLiteral("+4219"));
        child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(entry.status, static_cast<int32_t>(SmsStatus::ToBeSent));
    EXPECT_EQ(QString::fromLatin1(entryFieldText(entry.when)), SmsDetailsForm::choiceText(0));
    EXPECT_EQ(entryFieldText(entry.scNumber), "4219");
    EXPECT_EQ(entry.scTon, 1);

    // A free entry: the dialog does not open.
    SmsEntry free;
    bool opened = false;
    ModalScript guard;
    guard.then([&opened](QWidget* d) {
        opened = true;
        qobject_cast<QDialog*>(d)->reject();
    });
    EXPECT_EQ(SmsDetailsDialog(free, host->prompts, {}, nullptr).exec(), QDialog::Rejected);
    EXPECT_FALSE(opened);
}

} // namespace
} // namespace kestrel
