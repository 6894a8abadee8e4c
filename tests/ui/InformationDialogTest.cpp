// The information dialog on the virtual card: the values of the five pages, Print, and the SIM
// Application page answering the card's toolkit commands.

#include <map>
#include <memory>

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSettings>
#include <QTabWidget>
#include <QTreeWidget>

#include "GuiTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "sim/SimCard.h"
#include "ui/DesktopWiring.h"
#include "ui/KestrelApp.h"
#include "ui/MainWindow.h"
#include "ui/ReportPrinter.h"
#include "ui/info/InformationDialog.h"

namespace kestrel {
namespace {

using test::answerBox;
using test::clickButton;
using test::ModalDriver;

const QString kDialog = QStringLiteral("informationDialog");

class InformationDialogTest : public test::GuiTest
{
protected:
    void TearDown() override
    {
        ReportPrinter::setPrinterChooser({});
        app.reset();
    }

    // The desktop program on the standard card with PIN1 off, so no PIN dialog comes between.
    MainWindow& startOnCard()
    {
        emulator::SimCardData card = emulator::StandardCard::simCard();
        card.chv1.enabled = false;
        const QString path = tempPath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(card, path, error)) << error.toStdString();
        app = std::make_unique<KestrelApp>(std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat)));
        wireDesktop(*app);
        StartOptions options;
        options.showInformation = false;
        options.device = QStringLiteral("VIRTUAL:") + path;
        EXPECT_TRUE(app->start(options));
        MainWindow& main = *app->mainWindow();
        main.state().settings().autoRead = 0;
        main.state().settings().prnHdrAdj = 0;
        return main;
    }

    std::unique_ptr<KestrelApp> app;
};

QWidget* page(QWidget* dialog, const char* name)
{
    return dialog->findChild<QWidget*>(QLatin1String(name));
}

QString value(QWidget* dialog, const char* pageName, const char* name)
{
    QWidget* p = page(dialog, pageName);
    auto* label = p ? p->findChild<QLabel*>(QLatin1String(name)) : nullptr;
    return label ? label->text() : QString();
}

void showTab(QWidget* dialog, int index)
{
    dialog->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(index);
}

// The dialog is back on top with the named value filled in.
ModalDriver::Condition filled(const char* pageName, const char* name)
{
    return [=](QWidget* d) { return !value(d, pageName, name).isEmpty(); };
}

TEST_F(InformationDialogTest, EveryPageShowsTheStandardCardsValuesAndPrintMakesAPdf)
{
    MainWindow& main = startOnCard();
    const QString pdf = tempPath(QStringLiteral("info.pdf"));
    ReportPrinter::setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });

    struct Expected
    {
        const char* page;
        const char* name; // a value label, or "numbers" for the first row of a number list
        const char* text;
    };
    const Expected expected[] = {
        {"CNewInfo1", "imsi", "230011234567890"},
        {"CNewInfo1", "phase", "2+"},
        {"CNewInfo1", "pin1Supported", "Yes"},
        {"CNewInfo1", "pin1Limit", "3"},
        {"CNewInfo1", "pin1Activated", "No"},
        {"CNewInfo1", "pin2Limit", "3"},
        {"CNewInfo1", "puk1Limit", "10"},
        {"CNewInfo1", "puk2Supported", "Yes"},
        {"CNewInfo1", "puk2Limit", "10"},
        {"CNewInfo1", "currency", "CZK"},
        {"CNewInfo1", "pricePerUnit", "2.50"},
        {"CNewInfo1", "sumUsed", "105.00"},
        {"CNewInfo1", "creditRemaining", "2395.00"},
        {"CNewInfo2", "phoneBookItems", "250"},
        {"CNewInfo2", "phoneBookNameLength", "14"},
        {"CNewInfo2", "fdnItems", "10"},
        {"CNewInfo2", "fdnNameLength", "14"},
        {"CNewInfo2", "smsItems", "20"},
        {"CNewInfo3", "items", "10"},
        {"CNewInfo3", "nameLength", "14"},
        {"CNewInfo3", "numbers", "1\tOffice\t224123456"},
        {"CNewInfo4", "items", "2"},
        {"CNewInfo4", "numbers", "1\tMy number\t+420603123456"},
    };
    std::map<std::string, QString> seen;
    QString iccid;
    const auto record = [&](QWidget* d, const char* pageName) {
        for (const Expected& e : expected) {
            if (QLatin1String(e.page) != QLatin1String(pageName))
                continue;
            QString text = value(d, e.page, e.name);
            if (QLatin1String(e.name) == QLatin1String("numbers")) {
                auto* tree = page(d, e.page)->findChild<QTreeWidget*>(QStringLiteral("numbers"));
                for (int c = 0; tree && tree->topLevelItemCount() > 0 && c < tree->columnCount(); ++c)
                    text += (c ? QStringLiteral("\t") : QString()) + tree->topLevelItem(0)->text(c);
            }
            seen[std::string(e.page) + "/" + e.name] = text;
        }
    };

    // Each page once its read has filled it in; then the next, and at the last Print and Close.
    const char* const pages[] = {"CNewInfo1", "CNewInfo2", "CNewInfo3", "CNewInfo4"};
    const char* const firstValues[] = {"iccid", "phoneBookItems", "items", "items"};
    ModalDriver driver;
    for (int i = 0; i < 4; ++i) {
        driver.expect(
            kDialog,
            [&, i](QWidget* d) {
                record(d, pages[i]);
                if (i == 0) {
                    iccid = value(d, "CNewInfo1", "iccid");
                    EXPECT_TRUE(value(d, "CNewInfo2", "phoneBookItems").isEmpty()) << "read when shown";
                }
                if (i < 3)
                    return showTab(d, i + 1);
                clickButton(QStringLiteral("printButton"))(d);
                clickButton(QStringLiteral("closeButton"))(d);
            },
            filled(pages[i], firstValues[i]));
    }
    InformationDialog::open(main);
    ASSERT_TRUE(driver.done());

    EXPECT_TRUE(iccid.startsWith(QLatin1String(emulator::StandardCard::kIccidDigits))) << iccid.toStdString();
    for (const Expected& e : expected)
        EXPECT_EQ(seen[std::string(e.page) + "/" + e.name], QString::fromUtf8(e.text)) << e.page << " " << e.name;
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly)) << "Print wrote the PDF";
    EXPECT_TRUE(printed.read(5).startsWith("%PDF-"));
}

TEST_F(InformationDialogTest, SimApplicationPageShowsTheMenuAndAnswersTheCardsChoiceAndInput)
{
    MainWindow& main = startOnCard();
    const auto menuList = [](QWidget* d) {
        return page(d, "CNewInfo5")->findChild<QListWidget*>(QStringLiteral("list1103"));
    };
    const auto doubleClick = [&](QWidget* d, int row) {
        QListWidget* list = menuList(d);
        list->setCurrentRow(row);
        emit list->itemDoubleClicked(list->item(row));
    };
    QString title;
    QStringList entries;
    QString choiceTitle;
    QStringList choices;
    QString inputPrompt;
    QString displayed[2];
    QString details;
    bool detailsHidden = false;

    ModalDriver driver;
    driver.expect(
        kDialog, [&](QWidget* d) { showTab(d, 4); }, filled("CNewInfo1", "iccid"));
    driver.expect(
        kDialog,
        [&](QWidget* d) {
            title = value(d, "CNewInfo5", "static1117");
            for (int i = 0; i < menuList(d)->count(); ++i)
                entries << menuList(d)->item(i)->text();
            detailsHidden = !page(d, "CNewInfo5")->findChild<QPlainTextEdit*>(QStringLiteral("details"))->isVisible();
            doubleClick(d, 0); // Services
        },
        [&](QWidget* d) { return menuList(d)->count() == 3; });
    driver.expect(QStringLiteral("toolkitSelectDialog"), [&](QWidget* w) {
        choiceTitle = test::labelText(w, QStringLiteral("title"));
        auto* list = w->findChild<QListWidget*>(QStringLiteral("items"));
        for (int i = 0; i < list->count(); ++i)
            choices << list->item(i)->text();
        list->setCurrentRow(1); // Weather
        clickButton(QStringLiteral("okButton"))(w);
    });
    driver.expect(QStringLiteral("messageBox"), answerBox(QMessageBox::Ok, &displayed[0]));
    driver.expect(kDialog, [&](QWidget* d) { doubleClick(d, 1); }); // Greeting
    driver.expect(QStringLiteral("toolkitInputDialog"), [&](QWidget* w) {
        inputPrompt = test::labelText(w, QStringLiteral("prompt"));
        test::fillAndOk({{QStringLiteral("inputText"), QStringLiteral("Ann")}})(w);
    });
    driver.expect(QStringLiteral("messageBox"), answerBox(QMessageBox::Ok, &displayed[1]));
    driver.expect(kDialog, [&](QWidget* d) {
        clickButton(QStringLiteral("detailsButton"))(d);
        auto* view = page(d, "CNewInfo5")->findChild<QPlainTextEdit*>(QStringLiteral("details"));
        if (view->isVisible())
            details = view->toPlainText();
        clickButton(QStringLiteral("closeButton"))(d);
    });
    InformationDialog::open(main);
    ASSERT_TRUE(driver.done());

    EXPECT_EQ(title, QStringLiteral("Kestrel SIM"));
    EXPECT_EQ(entries, QStringList({QStringLiteral("<1>\tServices"), QStringLiteral("<2>\tGreeting"),
                                    QStringLiteral("<3>\tAbout")}));
    EXPECT_EQ(choiceTitle, QStringLiteral("Services"));
    EXPECT_EQ(choices.value(1), QStringLiteral("<2>\tWeather"));
    // The card shows what it took from each TERMINAL RESPONSE: the item chosen, the text typed.
    EXPECT_EQ(displayed[0], QStringLiteral("SIM Aplication Text:\nSunny, 21 C"));
    EXPECT_EQ(inputPrompt, QStringLiteral("Your name? <1 - 20 Length>"));
    EXPECT_EQ(displayed[1], QStringLiteral("SIM Aplication Text:\nAnn"));
    EXPECT_TRUE(detailsHidden) << "the descriptions show only on Details";
    EXPECT_TRUE(details.contains(QLatin1String("Type: 25 (SetUpMenu)"))) << details.toStdString();
    EXPECT_TRUE(details.contains(QLatin1String("Text String: Dcs=04, Ann"))) << details.toStdString();
    EXPECT_EQ(main.state().sim().toolkitHandler(), nullptr) << "the page went with the dialog";
}

} // namespace
} // namespace kestrel
