// Check and Repair SIM from the main window on the virtual card: the report dialog, its brief and
// detailed reports, its printout and the repair.

#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QRegularExpression>

#include "GuiTest.h"
#include "ModalDriver.h"
#include "SimBench.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "ui/DesktopWiring.h"
#include "ui/KestrelApp.h"
#include "ui/ReportPrinter.h"
#include "ui/check/CheckAndRepairCommand.h"

namespace kestrel {
namespace {

constexpr int kLinkByte = 27; // last byte of the standard card's 28-byte dialling-number records

// What one showing of the report dialog held: the brief and the detailed report with button 3's
// caption beside each, and whether "Repair Errors" was enabled.
struct Shown
{
    QString brief, briefCaption, detailed, detailedCaption;
    bool repairEnabled = false;
};

// Reads the brief report, prints the detailed one, goes back to the brief one and presses `last`.
test::ModalDriver::Action readReports(Shown& shown, const char* last)
{
    return [&shown, last](QWidget* d) {
        auto* report = d->findChild<QPlainTextEdit*>(QStringLiteral("report1012"));
        auto button = [d](const char* name) { return d->findChild<QAbstractButton*>(QLatin1String(name)); };
        shown.brief = report->toPlainText();
        shown.briefCaption = button("button3")->text();
        shown.repairEnabled = button("button1")->isEnabled();
        button("button3")->click();
        shown.detailed = report->toPlainText();
        shown.detailedCaption = button("button3")->text();
        button("button1116")->click();
        button("button3")->click();
        EXPECT_EQ(report->toPlainText(), shown.brief);
        button(last)->click();
    };
}

using CheckAndRepairDialogTest = test::GuiTest;

// Broken links in EF_ADN and EF_FDN: the report offers the repair and prints, the repair asks for
// PIN2 and mends both records, and the next check finds nothing.
TEST_F(CheckAndRepairDialogTest, RepairErrorsMendsTheLinksAndTheNextCheckIsClean)
{
    // The desktop program on a card with PIN1 off, the command wired as the integrator wires it.
    emulator::SimCardData card = test::standardCardWith([](emulator::SimCardData& d) {
        test::fileRecord(d, gsm::fid::kEfAdn, 7)[kLinkByte] = 0x20;
        test::fileRecord(d, gsm::fid::kEfFdn, 2)[kLinkByte] = 0x00;
    });
    card.chv1.enabled = false;
    const QString cardPath = tempPath(QStringLiteral("card.json"));
    QString error;
    ASSERT_TRUE(emulator::CardFile::save(card, cardPath, error)) << error.toStdString();
    auto app = std::make_unique<KestrelApp>(std::make_unique<AppState>(
        std::make_unique<QSettings>(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat)));
    wireDesktop(*app);
    StartOptions options;
    options.showInformation = false;
    options.device = QStringLiteral("VIRTUAL:") + cardPath;
    ASSERT_TRUE(app->start(options));
    MainWindow& main = *app->mainWindow();
    main.setCommandHook(CommandId::kCheckAndRepair, [](MainWindow& w) { checkAndRepair(w); });
    ASSERT_TRUE(main.action(CommandId::kCheckAndRepair)->isEnabled());
    const auto linkOf = [&cardPath](uint16_t file, int n) {
        emulator::SimCardData now = emulator::CardFile::load(cardPath).card;
        return test::fileRecord(now, file, n)[kLinkByte];
    };
    const QString pdf = tempPath(QStringLiteral("check.pdf"));
    ReportPrinter::setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });

    // The progress window keeps the caption of the last card operation.
    const auto progressCaption = [&main] {
        return main.findChild<QDialog*>(QStringLiteral("dialog170"))->windowTitle();
    };
    Shown found;
    QString checking, repairing;
    test::ModalDriver driver;
    driver.expect(QStringLiteral("dialog179"), [&](QWidget* d) {
        checking = progressCaption();
        readReports(found, "button1")(d);
    });
    driver.expect(QStringLiteral("dialog172"), [&](QWidget* d) {
        repairing = progressCaption();
        test::fillAndOk({{QStringLiteral("field1013"), QStringLiteral("5678")}})(d);
    });
    main.runCommand(CommandId::kCheckButton);
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(checking, QStringLiteral("Kestrel! - Checking SIM Card"));
    EXPECT_EQ(repairing, QStringLiteral("Kestrel! - Repairing SIM Card"));
    EXPECT_TRUE(found.repairEnabled);
    EXPECT_EQ(found.briefCaption, QStringLiteral("Full Details"));
    EXPECT_EQ(found.detailedCaption, QStringLiteral("Brief Details"));
    EXPECT_TRUE(found.brief.startsWith(QStringLiteral("SIM Card Report\nSerial Number: 8942")));
    EXPECT_TRUE(found.brief.contains(
        QStringLiteral("Dialing Numbers: \n 7\tLink to invalid extension->Remove Link to Extension\n"
                       "Fixed Dialing Numbers:\n 2\tLink to invalid extension->Remove Link to Extension\n")))
        << found.brief.toStdString();
    EXPECT_TRUE(found.detailed.startsWith(QStringLiteral("SIM Card Detailed Report\n")));
    EXPECT_TRUE(found.detailed.contains(QStringLiteral(" 1\tOK\n")));
    EXPECT_EQ(linkOf(gsm::fid::kEfAdn, 7), 0xFF);
    EXPECT_EQ(linkOf(gsm::fid::kEfFdn, 2), 0xFF);

    // The printout: the detailed report under the "Check-up finished:" line and its time.
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000)) << "pdftotext is needed";
    // pdftotext gives the "fi" of the font as its ligature.
    const QString text =
        QString::fromUtf8(pdftotext.readAllStandardOutput()).replace(QChar(0xFB01), QStringLiteral("fi"));
    EXPECT_TRUE(text.contains(
        QRegularExpression(QStringLiteral("Check-up finished: \\d\\d-\\d\\d-20\\d\\d \\d\\d:\\d\\d:\\d\\d"))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("SIM Card Detailed Report")));
    EXPECT_TRUE(text.contains(QStringLiteral("Link to invalid extension->Remove Link to Extension")));

    Shown clean;
    driver.expect(QStringLiteral("dialog179"), readReports(clean, "button2"));
    main.runCommand(CommandId::kCheckAndRepair);
    ASSERT_TRUE(driver.done());
    EXPECT_FALSE(clean.repairEnabled);
    EXPECT_TRUE(clean.brief.contains(QStringLiteral("Dialing Numbers: \nOK\nFixed Dialing Numbers:\nOK\n")))
        << clean.brief.toStdString();
    EXPECT_FALSE(clean.detailed.contains(QStringLiteral("->")));
    ReportPrinter::setPrinterChooser({});
}

} // namespace
} // namespace kestrel
