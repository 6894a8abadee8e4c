#include "ui/phonebook/AddCodeDialog.h"
#include "ui/phonebook/EditEntryDialog.h"
#include "ui/phonebook/FindReplaceDialog.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/phonebook/RangeDialog.h"
#include "ui/phonebook/ReplaceEntryDialog.h"

#include <cstdio>
#include <cstring>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "GuiTest.h"
#include "app/PinCommands.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "report/ReportLayout.h"
#include "sim/SimCard.h"
#include "ui/ReportPrinter.h"
#include "ModalScript.h"
#include "TestEditorHost.h"

namespace kestrel {
namespace {

using test::child;
using test::ModalScript;

class PhoneBookDialogsTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        test::GuiTest::SetUp();
        host = std::make_unique<test::TestEditorHost>(tempPath(QStringLiteral("settings.ini")));
        model = std::make_unique<PhoneBookModel>(DialBook::Adn, host->app, host->prompts);
    }
    void TearDown() override { setCountryChooser({}); }

    std::unique_ptr<test::TestEditorHost> host;
    std::unique_ptr<PhoneBookModel> model;
};

TEST_F(PhoneBookDialogsTest, RangeDialogStaysOpenWhileItsCheckRefuses)
{
    std::vector<RangeDialog::Values> checked;
    RangeDialog dialog(
        {strId(160), true, strId(1080)}, {3, 7, false},
        [&checked](const RangeDialog::Values& v) {
            checked.push_back(v);
            return v.from >= 1;
        },
        nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kestrel! - Select Items"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "fromItem")->text(), QStringLiteral("3"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "toItem")->text(), QStringLiteral("7"));

    ModalScript script;
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "fromItem")->clear(); // an empty field is 0
        child<QPushButton>(d, "okButton")->click();
    });
    script.then([](QWidget* d) {
        EXPECT_TRUE(d->isVisible());
        QLineEdit* from = child<QLineEdit>(d, "fromItem");
        from->clear();
        QTest::keyClicks(from, QStringLiteral("2x5")); // letters are not taken
        child<QCheckBox>(d, "includeEmpty")->setChecked(true);
        child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(script.done());
    ASSERT_EQ(checked.size(), 2U);
    EXPECT_EQ(checked[0].from, 0);
    EXPECT_EQ(checked[1].from, 25);
    EXPECT_EQ(checked[1].to, 7);
    EXPECT_TRUE(checked[1].includeEmpty);

    RangeDialog fromOnly({strId(9211), false, strId(1041)}, {4, 0, false}, {}, nullptr);
    EXPECT_EQ(fromOnly.findChild<QLineEdit*>(QStringLiteral("toItem")), nullptr);
    EXPECT_EQ(fromOnly.windowTitle(), QStringLiteral("Kestrel! - Add Entries from File"));
}

TEST_F(PhoneBookDialogsTest, EditDialogsDialingCodeUsesTheCountryChooser)
{
    EditFields fields{QStringLiteral("4"), QStringLiteral("Office"), QStringLiteral("0301234"), 12};
    {
        EditEntryDialog dialog(fields, {}, nullptr);
        EXPECT_FALSE(child<QPushButton>(&dialog, "dialingCodeButton")->isEnabled());
        EXPECT_EQ(child<QLineEdit>(&dialog, "name")->maxLength(), 12);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kestrel! - Edit Phone Book Entry"));
    }
    QString answer = QStringLiteral("+49");
    int asked = 0;
    setCountryChooser([&](QWidget*) {
        ++asked;
        return answer;
    });
    EditEntryDialog dialog(fields, {}, nullptr);
    QPushButton* code = child<QPushButton>(&dialog, "dialingCodeButton");
    ASSERT_TRUE(code->isEnabled());
    code->click();
    EXPECT_EQ(dialog.number(), QStringLiteral("+490301234"));
    answer.clear(); // nothing chosen: the number stays
    code->click();
    EXPECT_EQ(dialog.number(), QStringLiteral("+490301234"));
    EXPECT_EQ(asked, 2);
}

// The edit dialog tells, as the name is typed, what the card will hold of it; a number typed with
// blanks and hyphens is taken without them.
TEST_F(PhoneBookDialogsTest, EditDialogShowsTheStoredNameAndTakesFormattedNumbers)
{
    model->setSelected(0, true);
    EditEntryDialog dialog(
        model->editFields(0),
        [this](const QString& item, const QString& name, const QString& number) {
            return model->acceptEdit(0, item, name, number).close;
        },
        nullptr);
    dialog.show();
    auto* name = child<QLineEdit>(&dialog, "name");
    QTest::keyClicks(name, QStringLiteral("Jiri"));
    EXPECT_FALSE(child<QLabel>(&dialog, "storedName")->isVisible());
    name->setText(QString::fromUtf8("Ji\u0159\u00ed Nov\u00e1k"));
    EXPECT_EQ(dialog.storedNameText(), QStringLiteral("stored as: Jiri Novak"));

    QTest::keyClicks(child<QLineEdit>(&dialog, "number"), QStringLiteral("+420 603 123-456"));
    QTest::mouseClick(child<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model->editFields(0).number, QStringLiteral("+420603123456"));
}

TEST_F(PhoneBookDialogsTest, AddCodeDialogFollowsItsForm)
{
    int checks = 0;
    AddCodeDialog dialog(
        AddCodeForm(*model),
        [this, &checks](const AddCodeForm& form) {
            ++checks;
            return form.accept(*model, host->prompts);
        },
        nullptr);
    QLineEdit* code = child<QLineEdit>(&dialog, "code");
    QCheckBox* forAll = child<QCheckBox>(&dialog, "forAllNumbers");
    QCheckBox* addToEnd = child<QCheckBox>(&dialog, "addToEnd");
    EXPECT_EQ(code->text(), QStringLiteral("+"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "toItem")->text(), QStringLiteral("250"));
    EXPECT_FALSE(child<QPushButton>(&dialog, "fromDatabase")->isEnabled());

    code->setText(QStringLiteral("+49"));
    addToEnd->setChecked(true);
    EXPECT_EQ(code->text(), QStringLiteral("49"));
    EXPECT_TRUE(forAll->isChecked());
    EXPECT_FALSE(forAll->isEnabled());
    addToEnd->setChecked(false);
    EXPECT_EQ(code->text(), QStringLiteral("+49"));
    EXPECT_FALSE(forAll->isChecked());
    EXPECT_TRUE(forAll->isEnabled());

    // A "+" typed while "Add to end" is on is refused and the dialog stays.
    ModalScript script;
    script.then([](QWidget* d) {
        child<QCheckBox>(d, "addToEnd")->setChecked(true);
        child<QLineEdit>(d, "code")->setText(QStringLiteral("+1"));
        child<QPushButton>(d, "okButton")->click();
    });
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "code")->setText(QStringLiteral("1"));
        child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(host->prompts.messages, std::vector<int>{57451});
    EXPECT_EQ(dialog.form().code, QStringLiteral("1"));
    EXPECT_TRUE(dialog.form().addToEnd());
}

TEST_F(PhoneBookDialogsTest, FindDialogActionsAndFields)
{
    const struct
    {
        const char* button;
        QString text;
        FindAction action;
        int checks;
    } cases[] = {
        {"findButton", QStringLiteral("Pizza"), FindAction::Find, 1},
        {"replaceButton", QStringLiteral("Pizza"), FindAction::Replace, 1},
        {"closeButton", QString(), FindAction::None, 0},
    };
    for (const auto& c : cases) {
        int checks = 0;
        FindReplaceDialog dialog(
            {QStringLiteral("old"), QStringLiteral("new"), 1},
            [&checks](const FindRequest& r) {
                ++checks;
                return !r.findText.isEmpty();
            },
            nullptr);
        EXPECT_EQ(child<QLineEdit>(&dialog, "findText")->text(), QStringLiteral("old"));
        EXPECT_TRUE(child<QRadioButton>(&dialog, "searchNumber")->isChecked());
        ModalScript script;
        script.then([&c](QWidget* d) {
            child<QLineEdit>(d, "findText")->setText(c.text);
            child<QRadioButton>(d, "searchCode")->setChecked(true);
            child<QPushButton>(d, c.button)->click();
        });
        dialog.exec();
        EXPECT_EQ(dialog.action(), c.action) << c.button;
        EXPECT_EQ(checks, c.checks) << c.button;
        EXPECT_EQ(dialog.request().selector, 2);
        EXPECT_EQ(dialog.request().replaceText, QStringLiteral("new"));
    }
    // An empty search text: "&Find" keeps the dialog open.
    FindReplaceDialog dialog(
        {}, [](const FindRequest& r) { return !r.findText.isEmpty(); }, nullptr);
    ModalScript script;
    script.then([](QWidget* d) { child<QPushButton>(d, "findButton")->click(); });
    script.then([](QWidget* d) {
        EXPECT_TRUE(d->isVisible());
        child<QPushButton>(d, "closeButton")->click();
    });
    dialog.exec();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(dialog.action(), FindAction::None);
}

TEST_F(PhoneBookDialogsTest, ReplaceDialogAnswers)
{
    const struct
    {
        const char* button;
        ReplaceEntryDialog::Answer answer;
    } cases[] = {
        {"yesButton", ReplaceEntryDialog::Yes}, {"noButton", ReplaceEntryDialog::No},
        {"allButton", ReplaceEntryDialog::All}, {"cancelButton", ReplaceEntryDialog::Cancel},
        {nullptr, ReplaceEntryDialog::Cancel}, // Escape
    };
    for (const auto& c : cases) {
        ModalScript script;
        script.then([&c](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Kestrel! - Replacing Entries"));
            if (c.button)
                child<QPushButton>(d, c.button)->click();
            else
                QTest::keyClick(d, Qt::Key_Escape);
        });
        EXPECT_EQ(ReplaceEntryDialog::ask(nullptr), c.answer) << (c.button ? c.button : "Escape");
    }
}

// Print Phone Book through the printed-report layout, into a PDF file instead of a printer: the
// adjust dialog's salesperson for this job only, a cancelled adjustment printing nothing, and a
// full window running over several pages.
TEST_F(PhoneBookDialogsTest, PrintPhoneBookAdjustsTheHeaderAndFillsPages)
{
    AppSettings& s = host->app.settings();
    s.provozovna = QStringLiteral("Shop");
    s.prodejce = QStringLiteral("Anna");
    s.poznamka = QStringLiteral("note");
    const QString pdf = tempPath(QStringLiteral("book.pdf"));
    ReportPrinter::setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });

    QList<DialEntry> entries;
    for (int i = 0; i < 250; ++i) {
        DialEntry e = DialEntry::emptyAt(static_cast<uint16_t>(i));
        e.valid = 1;
        std::snprintf(e.name, sizeof e.name, "Entry %d", i + 1);
        std::snprintf(e.number, sizeof e.number, "%09d", 600000000 + i);
        entries.append(e);
    }

    s.prnHdrAdj = 1;
    ModalScript script;
    script.then([](QWidget* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("printAdjustDialog"));
        EXPECT_EQ(child<QLineEdit>(d, "salesperson")->text(), QStringLiteral("Anna"));
        child<QLineEdit>(d, "salesperson")->setText(QStringLiteral("Boris"));
        child<QPushButton>(d, "okButton")->click();
    });
    EXPECT_GE(ReportPrinter(host->app, nullptr).PrintPhoneBook(entries), 3);
    EXPECT_EQ(s.prodejce, QStringLiteral("Anna")); // only this job's copy changes
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    written.close();

    script.then([](QWidget* d) { child<QPushButton>(d, "cancelButton")->click(); });
    EXPECT_EQ(ReportPrinter(host->app, nullptr).PrintPhoneBook(entries), 0);

    s.prnHdrAdj = 0;
    EXPECT_EQ(ReportPrinter(host->app, nullptr).PrintPhoneBook(QList<DialEntry>(5, DialEntry())), 1);
    ReportPrinter::setPrinterChooser({});
}

// The header of a list printed after a card read names that card: the ICCID the read found in
// EF_ICCID, where "Not accessible" stands before any card was read. A later operation that fails
// (here the PIN2 prompt cancelled) drops the cached images, not the ICCID.
TEST_F(PhoneBookDialogsTest, PrintAfterACardReadCarriesTheCardsIccid)
{
    const QString card = tempPath(QStringLiteral("card.json"));
    QString error;
    ASSERT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), card, error)) << error.toStdString();
    ASSERT_EQ(host->app.openReader(QStringLiteral("VIRTUAL:") + card), CardStatus::Ok);
    host->app.createSimCard();
    const auto printedIccid = [this] {
        return ReportLayout::iccidText(ReportPrinter(host->app, nullptr).header({}, {}).iccid).toStdString();
    };
    EXPECT_EQ(printedIccid(), "");

    host->prompts.pins = {std::string("1234")};
    ASSERT_TRUE(model->readFromCard());
    const std::string iccid = printedIccid();
    EXPECT_EQ(iccid.size(), 20U);
    EXPECT_EQ(iccid.substr(0, 19), emulator::StandardCard::kIccidDigits);

    EXPECT_NE(PinCommands(*host->app.simCard(), host->prompts, nullptr).enterPin2(), CommandResult::Done);
    EXPECT_FALSE(host->app.simCard()->identityCopy());
    EXPECT_EQ(printedIccid(), iccid);
}

} // namespace
} // namespace kestrel
