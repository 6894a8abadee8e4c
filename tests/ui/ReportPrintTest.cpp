// The three printers as the user gets their output: PDF files read back with poppler-utils. The
// page layout itself is tested on a recording canvas in tests/report.

#include "ui/ReportPrinter.h"

#include <memory>

#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPrinter>
#include <QSettings>

#include "GuiTest.h"
#include "ModalDriver.h"
#include "PdfText.h"
#include "app/AppState.h"
#include "base/StringTable.h"
#include "codec/FixedText.h"
#include "ui/report/PrintFontDialog.h"
#include "ui/report/ReportHeaderDialog.h"

namespace kestrel {
namespace {

using test::pdfLines;

class ReportPrintTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        state = makeState();
    }
    void TearDown() override { ReportPrinter::setPrinterChooser({}); }

    std::unique_ptr<AppState> makeState() const
    {
        auto s = std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("settings.ini")), QSettings::IniFormat));
        s->loadSettings();
        return s;
    }
    // A report printed into name.pdf; the number of pages.
    int printReport(const QString& name, const QString& text, const QString& title = QStringLiteral("Title"))
    {
        ReportPrinter printer(*state, nullptr);
        printer.printToPdf(tempPath(name));
        return printer.PrintReport(text, title);
    }
    static QString rows(int from, int to)
    {
        QString text;
        for (int i = from; i <= to; ++i)
            text += QStringLiteral("Row %1\r\n").arg(i);
        return text;
    }

    std::unique_ptr<AppState> state;
};

// Each header line only when its value is set; the print-time line always, then the title.
TEST_F(ReportPrintTest, HeaderLinesFollowTheSettings)
{
    struct Case
    {
        const char* name;
        QString AppSettings::*setting;
        QStringList lines; // the first words of the lines above the title
    };
    const Case cases[] = {
        {"empty", nullptr, {StringTable::text(9029)}},
        {"shop", &AppSettings::provozovna, {StringTable::text(9022).trimmed(), StringTable::text(9029)}},
        {"fax", &AppSettings::fax, {StringTable::text(9025), StringTable::text(9029)}},
        {"comment", &AppSettings::poznamka, {StringTable::text(9027), StringTable::text(9029)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state->settings() = AppSettings::defaults();
        if (c.setting)
            state->settings().*c.setting = QStringLiteral("Value of %1").arg(QLatin1String(c.name));
        const QString pdf = QStringLiteral("%1.pdf").arg(QLatin1String(c.name));
        ASSERT_EQ(printReport(pdf, QStringLiteral("Body line")), 1);
        const QStringList lines = pdfLines(tempPath(pdf), 1);
        ASSERT_EQ(lines.size(), c.lines.size() + 2) << lines.join(u'|').toStdString();
        for (qsizetype i = 0; i < c.lines.size(); ++i)
            EXPECT_TRUE(lines[i].startsWith(c.lines[i])) << lines[i].toStdString();
        if (c.setting) {
            EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Value of %1").arg(QLatin1String(c.name))));
        }
        // No card was read: no ICCID.
        EXPECT_TRUE(lines[c.lines.size() - 1].endsWith(StringTable::text(9028))) << lines.join(u'|').toStdString();
        EXPECT_TRUE(lines[c.lines.size()].startsWith(QStringLiteral("Title")));
        EXPECT_TRUE(lines[c.lines.size()].endsWith(QStringLiteral("<1>")));
        EXPECT_EQ(lines.last(), QStringLiteral("Body line"));
    }
}

TEST_F(ReportPrintTest, LineLongerThanThePageEndsInDots)
{
    const QString longLine = QStringLiteral("Start ") + QString(300, u'W');
    ASSERT_EQ(printReport(QStringLiteral("long.pdf"), longLine), 1);
    const QString last = pdfLines(tempPath(QStringLiteral("long.pdf")), 1).last();
    EXPECT_TRUE(last.startsWith(QStringLiteral("Start WWWW"))) << last.toStdString();
    EXPECT_TRUE(last.endsWith(QStringLiteral("W..."))) << last.toStdString();
    EXPECT_LT(last.size(), longLine.size());
}

// A full page is measured on the printer itself: the rows page 1 takes from a longer report.
TEST_F(ReportPrintTest, OneLineMoreThanAPageGoesAloneOnPageTwo)
{
    ASSERT_GE(printReport(QStringLiteral("many.pdf"), rows(1, 300)), 2);
    const QString lastOfPage1 = pdfLines(tempPath(QStringLiteral("many.pdf")), 1).last();
    ASSERT_TRUE(lastOfPage1.startsWith(QStringLiteral("Row "))) << lastOfPage1.toStdString();
    const int full = lastOfPage1.mid(4).toInt();
    ASSERT_GT(full, 10);

    EXPECT_EQ(printReport(QStringLiteral("full.pdf"), rows(1, full)), 1);
    EXPECT_EQ(test::pdfPageCount(tempPath(QStringLiteral("full.pdf"))), 1);
    ASSERT_EQ(printReport(QStringLiteral("plus.pdf"), rows(1, full + 1)), 2);
    const QStringList page2 = pdfLines(tempPath(QStringLiteral("plus.pdf")), 2);
    ASSERT_EQ(page2.size(), 3) << page2.join(u'|').toStdString();
    EXPECT_TRUE(page2[0].startsWith(StringTable::text(9029)));
    EXPECT_TRUE(page2[1].startsWith(QStringLiteral("Title")));
    EXPECT_TRUE(page2[1].endsWith(QStringLiteral("<2>")));
    EXPECT_EQ(page2[2], QStringLiteral("Row %1").arg(full + 1));
}

// With PrnHdrAdj on, the message printer too asks for this job's salesperson first (the text-report
// and phone book printers are tested with their windows); the answer is printed, the setting stays.
TEST_F(ReportPrintTest, AdjustStepComesBeforeTheMessagePrinter)
{
    state->settings().prnHdrAdj = 1;
    state->settings().prodejce = QStringLiteral("Eva");
    const QString pdf = tempPath(QStringLiteral("messages.pdf"));
    ReportPrinter::setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    test::ModalDriver driver;
    driver.expect(QStringLiteral("printAdjustDialog"), [](QWidget* w) {
        auto* seller = w->findChild<QLineEdit*>(QStringLiteral("salesperson"));
        ASSERT_NE(seller, nullptr);
        EXPECT_EQ(seller->text(), QStringLiteral("Eva"));
        seller->setText(QStringLiteral("Adam"));
        test::clickButton(QStringLiteral("okButton"))(w);
    });
    SmsEntry sms;
    sms.valid = true;
    setFixedText(sms.text, "Hello");
    EXPECT_EQ(ReportPrinter(*state, nullptr).PrintMessages({sms}), 1);
    EXPECT_TRUE(driver.done());
    const QStringList lines = pdfLines(pdf, 1);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith(StringTable::text(9024).trimmed())) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Adam"))) << lines[0].toStdString();
    EXPECT_EQ(state->settings().prodejce, QStringLiteral("Eva"));
}

TEST_F(ReportPrintTest, HeaderDialogSavesItsSettingsOnOkOnly)
{
    state->settings().provozovna = QStringLiteral("Old shop");
    const std::pair<const char*, QString AppSettings::*> fields[] = {
        {"shopName", &AppSettings::provozovna}, {"address", &AppSettings::address},
        {"phone", &AppSettings::phone},         {"fax", &AppSettings::fax},
        {"email", &AppSettings::email},         {"salesperson", &AppSettings::prodejce},
        {"comment", &AppSettings::poznamka},
    };
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        ReportHeaderDialog dialog(*state, nullptr);
        auto* shop = dialog.findChild<QLineEdit*>(QStringLiteral("shopName"));
        ASSERT_NE(shop, nullptr);
        EXPECT_EQ(shop->text(), QStringLiteral("Old shop"));
        for (const auto& [name, setting] : fields) {
            auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
            ASSERT_NE(edit, nullptr) << name;
            edit->setText(QStringLiteral("New %1").arg(QLatin1String(name)));
        }
        test::clickButton(ok ? QStringLiteral("okButton") : QStringLiteral("cancelButton"))(&dialog);
        // What the settings file holds, read by a program started afresh.
        const std::unique_ptr<AppState> saved = makeState();
        for (const auto& [name, setting] : fields) {
            const QString entered = QStringLiteral("New %1").arg(QLatin1String(name));
            const QString kept = setting == &AppSettings::provozovna ? QStringLiteral("Old shop") : QString();
            EXPECT_EQ(saved->settings().*setting, ok ? entered : QString()) << name;
            EXPECT_EQ(state->settings().*setting, ok ? entered : kept) << name;
        }
    }
}

// The families chosen in "Select Font for Printing" are what the PDF is drawn in: bold lines in
// the heading font, the rest in the normal one, message texts in the text message font.
TEST_F(ReportPrintTest, ChosenFontsReachThePrinter)
{
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"DejaVu Serif", "DejaVu Sans Mono"}) {
        if (!families.contains(QLatin1String(family)))
            GTEST_SKIP() << family << " is not installed";
    }
    PrintFontDialog dialog(*state, nullptr);
    const std::pair<const char*, const char*> choices[] = {{"headingFont", "DejaVu Serif"},
                                                           {"normalFont", "DejaVu Sans Mono"}};
    for (const auto& [list, family] : choices) {
        auto* box = dialog.findChild<QComboBox*>(QLatin1String(list));
        ASSERT_NE(box, nullptr) << list;
        box->setCurrentIndex(box->findText(QLatin1String(family)));
        ASSERT_GE(box->currentIndex(), 0) << family;
    }
    test::clickButton(QStringLiteral("okButton"))(&dialog);
    // The text message list was left alone: its face stays, italic.
    EXPECT_EQ(state->printFonts(), (QStringList{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("DejaVu Serif"),
                                                QStringLiteral("Arial Italic")}));

    const QString pdf = tempPath(QStringLiteral("fonts.pdf"));
    ReportPrinter printer(*state, nullptr);
    printer.printToPdf(pdf);
    SmsEntry sms;
    sms.valid = true;
    setFixedText(sms.text, "Hello");
    ASSERT_EQ(printer.PrintMessages({sms}), 1);
    const QString fonts = test::pdfFonts(pdf);
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSerif-Bold"))) << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSansMono"))) << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(QStringLiteral("Oblique")) || fonts.contains(QStringLiteral("Italic")))
        << fonts.toStdString();
}

} // namespace
} // namespace kestrel
