#include "ui/ProgressDialog.h"

#include <memory>

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSettings>

#include "GuiStateTest.h"
#include "ModalAnswer.h"
#include "ModalDriver.h"
#include "SimBench.h"
#include "app/AppState.h"
#include "app/CardOperation.h"
#include "sim/DialFiles.h"
#include "ui/CardErrorDialog.h"
#include "ui/QtPrompter.h"
#include "ui/ReportPrinter.h"
#include "ui/UiText.h"

namespace kestrel {
namespace {

using test::ModalDriver;

constexpr uint16_t kAdn = 0x6F3A;

class ProgressDialogTest : public test::GuiStateTest
{
protected:
    void TearDown() override { ReportPrinter::setPrinterChooser({}); }

    // Prints every job into `path` as PDF, without a dialog.
    void printTo(const QString& path)
    {
        ReportPrinter::setPrinterChooser([path](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
    }
    // The number of pages of a PDF file Qt wrote.
    static int pdfPages(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray pdf = f.readAll();
        if (!pdf.startsWith("%PDF-"))
            return -1;
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        return static_cast<int>(QString::fromLatin1(pdf).count(page));
    }
};

// Abort pressed while the 3rd of 10 phone book records is being read: the read stops before the
// 4th record, the window goes, and the status line tells why.
TEST_F(ProgressDialogTest, AbortDuringATenRecordReadStopsBeforeTheFourthRecord)
{
    test::SimBench bench(test::standardCardWith([](emulator::SimCardData& d) {
        emulator::SimFile* adn = test::findFile(d, kAdn);
        adn->data.resize(static_cast<std::size_t>(10 * adn->recordLength));
    }));
    ProgressDialog progress;

    ModalDriver driver;
    driver.expect(QStringLiteral("dialog109"),
                  test::fillAndOk({{QStringLiteral("field1013"), QStringLiteral("1234")}}));
    driver.expect(QStringLiteral("dialog170"), test::clickButton(QStringLiteral("abortButton")), [](QWidget* w) {
        return test::labelText(w, QStringLiteral("progressText")).contains(QStringLiteral("Reading item 3 (total 10)"));
    });
    test::ModalGuard noErrorBox(3000);

    CardOperation op(*bench.sim, *prompter, &progress);
    const bool ok = op.run(strId(5100), OpenFlags{true, false, true, false, false}, [&] {
        std::vector<DialEntry> entries(250);
        DialListSize size;
        return DialFiles(*bench.sim).readDialList(kAdn, entries, size);
    });
    EXPECT_TRUE(driver.done());
    EXPECT_FALSE(ok);
    // No card-error dialog for what the user cancelled: the status line says it.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(state->mainStatus().statusLine(), QStringLiteral("Operation cancelled by user"));
    EXPECT_EQ(op.errorText(), QStringLiteral("Communication error:\r\nOperation cancelled by user"));
    EXPECT_FALSE(progress.window()->isVisible());
    EXPECT_FALSE(bench.sim->image(CachedFile::Adn).has_value()) << "the images are dropped";

    // READ RECORDs after the last SELECT of EF_ADN: fewer than 4.
    const std::vector<std::string>& log = bench.recorder->log;
    std::size_t lastSelect = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == "A0 A4 00 00 02 6F 3A")
            lastSelect = i;
    }
    ASSERT_GT(lastSelect, 0U);
    int reads = 0;
    for (std::size_t i = lastSelect; i < log.size(); ++i)
        reads += log[i].rfind("A0 B2", 0) == 0 ? 1 : 0;
    EXPECT_GE(reads, 2);
    EXPECT_LT(reads, 4);
}

TEST_F(ProgressDialogTest, NestedProgressSharesTheWindowAndPercentAboveHundredLeavesTheBar)
{
    test::SimBench bench;
    ProgressDialog progress;
    SimCard& sim = *bench.sim;
    ASSERT_TRUE(sim.beginProgress(&progress, strId(5000), strId(5100)));
    ProgressWindow* w = progress.window();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModal());
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(w->windowTitle(), StringTable::text(5100));
    EXPECT_TRUE(sim.showProgress(QStringLiteral("one\ntwo"), 40));
    EXPECT_EQ(w->bar()->value(), 40);

    ASSERT_TRUE(sim.beginProgress(&progress, strId(5008), strId(5105)));
    EXPECT_EQ(w->windowTitle(), StringTable::text(5105));
    EXPECT_EQ(w->textLabel()->text(), StringTable::text(5008));
    EXPECT_EQ(w->bar()->value(), 40) << "a text alone does not move the bar";
    sim.endProgress(false);
    EXPECT_TRUE(w->isVisible()) << "the outer level still shows";
    EXPECT_EQ(w->windowTitle(), StringTable::text(5105));

    EXPECT_TRUE(sim.showProgress(QStringLiteral("last"), 101));
    EXPECT_EQ(w->textLabel()->text(), QStringLiteral("last"));
    EXPECT_EQ(w->bar()->value(), 40);
    EXPECT_TRUE(sim.showProgressItem(strId(5001), 1, 1, false));
    EXPECT_EQ(w->bar()->value(), 100) << "one record: the bar is full at once";
    sim.endProgress(false);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ProgressDialogTest, EscapeAndTheCloseBoxOnlyRaiseTheCancelFlag)
{
    ProgressDialog progress;
    ASSERT_TRUE(progress.open());
    EXPECT_FALSE(progress.processEvents());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(progress.window(), &escape);
    EXPECT_TRUE(progress.processEvents());
    EXPECT_TRUE(progress.window()->isVisible()) << "it waits for the operation to close it";
    progress.close();
    EXPECT_FALSE(progress.window()->isVisible());

    // Opened again, the flag starts lowered.
    ASSERT_TRUE(progress.open());
    EXPECT_FALSE(progress.processEvents());
    progress.window()->reject();
    EXPECT_TRUE(progress.processEvents());
    progress.close();
}

TEST_F(ProgressDialogTest, CardErrorDialogPrintsItsCaptionAndTextToPdf)
{
    const QString pdf = tempPath(QStringLiteral("error.pdf"));
    printTo(pdf);
    const QString text = QStringLiteral("Communication error:\r\nCard not inserted");
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog239"), [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), StringTable::text(239));
        EXPECT_EQ(test::labelText(w, QStringLiteral("errorText")),
                  QStringLiteral("Communication error:\nCard not inserted"));
        test::clickButton(QStringLiteral("printButton"))(w);
        test::clickButton(QStringLiteral("closeButton"))(w);
    });
    prompter->showCardError(text);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(pdfPages(pdf), 1);
}

TEST_F(ProgressDialogTest, PrintHeaderAdjustmentCanCancelThePrint)
{
    state->settings().prnHdrAdj = 1;
    state->settings().prodejce = QStringLiteral("Eva");
    struct Case
    {
        const char* button;
        int pages;
    };
    for (const Case c : {Case{"cancelButton", 0}, Case{"okButton", 1}}) {
        SCOPED_TRACE(c.button);
        const QString pdf = tempPath(QStringLiteral("%1.pdf").arg(QString::fromLatin1(c.button)));
        printTo(pdf);
        ModalDriver driver;
        driver.expect(QStringLiteral("printAdjustDialog"), [&](QWidget* w) {
            auto* seller = w->findChild<QLineEdit*>(QStringLiteral("salesperson"));
            ASSERT_NE(seller, nullptr);
            EXPECT_EQ(seller->text(), QStringLiteral("Eva"));
            test::clickButton(QString::fromLatin1(c.button))(w);
        });
        CardErrorDialog dialog(*state, QStringLiteral("Communication error:\r\nWrong PIN!"), nullptr);
        EXPECT_EQ(dialog.print(), c.pages);
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(QFile::exists(pdf), c.pages > 0);
    }
}

} // namespace
} // namespace kestrel
