#include "ui/sms/SmsWindow.h"

#include <cstring>
#include <vector>

#include <QClipboard>
#include <QFileDialog>
#include <QJsonArray>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "CliRun.h"
#include "GuiTest.h"
#include "ModalDriver.h"
#include "TestEditorHost.h"
#include "cli/JsonOutput.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "report/ReportLayout.h"
#include "ui/DesktopWiring.h"
#include "ui/KestrelApp.h"
#include "ui/PainterCanvas.h"
#include "ui/ReportPrinter.h"
#include "ui/phonebook/CSezEdDlg.h"
#include "ui/sms/SmsPhoneBookPick.h"

namespace kestrel {
namespace {

using test::ModalDriver;
using test::pickFile;
using test::TestEditorHost;

const QString kEditDialog = QStringLiteral("smsEditDialog");
const QString kFileDialog = QStringLiteral("smsFileDialog");

// Fills the edit dialog's two fields and presses OK.
ModalDriver::Action composeAndOk(const QString& text, const QString& number)
{
    return [=](QWidget* d) {
        d->findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->setPlainText(text);
        d->findChild<QLineEdit*>(QStringLiteral("phoneNumber"))->setText(number);
        test::clickButton(QStringLiteral("okButton"))(d);
    };
}

class SmsWindowTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        test::GuiTest::SetUp();
        host = std::make_unique<TestEditorHost>(tempPath(QStringLiteral("settings.ini")));
    }

    void TearDown() override
    {
        ReportPrinter::setPrinterChooser({});
        for (auto& w : windows)
            if (w)
                w->closeWithoutAsking();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        windows.clear();
    }

    // The standard virtual card in a file.
    QString saveCard()
    {
        const QString path = tempPath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), path, error)) << error.toStdString();
        return path;
    }
    // ... opened as the host's reader.
    void useCard()
    {
        cardPath = saveCard();
        ASSERT_EQ(host->app.openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
        host->app.createSimCard();
        host->prompts.pins = {std::string("1234"), std::string("1234")};
    }

    SmsWindow* open(int number, int readMode)
    {
        auto* w = new SmsWindow(*host);
        windows.emplace_back(w);
        w->create(number, readMode);
        return w;
    }

    void printToPdf(const QString& path)
    {
        ReportPrinter::setPrinterChooser([path](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
    }

    static void put(SmsWindow* w, int row, const char* text, const char* number = "420777000111")
    {
        SmsEntry& e = w->model().entry(row);
        e.valid = 1;
        e.status = static_cast<int32_t>(SmsStatus::ToBeSent);
        std::strncpy(e.text, text, sizeof e.text - 1);
        std::strncpy(e.number, number, sizeof e.number - 1);
        std::strncpy(e.when, "7 days", sizeof e.when - 1);
    }

    static QString cell(SmsWindow* w, int row, int column)
    {
        QAbstractItemModel* m = w->list()->model();
        return m->data(m->index(row, column)).toString();
    }

    static QPoint rowPoint(SmsWindow* w, int row)
    {
        return w->list()->visualRect(w->list()->model()->index(row, 0)).center();
    }

    static void clickRow(SmsWindow* w, int row, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mouseClick(w->list()->viewport(), Qt::LeftButton, keys, rowPoint(w, row));
    }

    std::unique_ptr<TestEditorHost> host;
    std::vector<QPointer<SmsWindow>> windows;
    QString cardPath;
};

TEST_F(SmsWindowTest, CardReadEditComposeWriteAndReadBackAgreeWithTheCommandLine)
{
    useCard();
    SmsWindow* w = open(0, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kestrel! - Edit SMS Messages - [1]"));
    EXPECT_TRUE(host->prompts.errors.empty());
    ASSERT_EQ(w->list()->model()->rowCount(), 20);
    EXPECT_EQ(cell(w, 0, 0), QStringLiteral("  1  "));
    EXPECT_EQ(cell(w, 0, 1), QStringLiteral("12.03.24 18:45"));
    EXPECT_EQ(cell(w, 0, 4), QStringLiteral("Dinner at seven?"));
    EXPECT_EQ(cell(w, 5, 4), QStringLiteral("----"));

    // Focus on a row fills the details under the list.
    clickRow(w, 1);
    EXPECT_EQ(w->findChild<QPlainTextEdit*>(QStringLiteral("detailText"))->toPlainText(),
              QStringLiteral("Your parcel is waiting at the post office."));
    EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("detailStatus"))->text(), QStringLiteral("Received"));

    // A message edited through the edit dialog (double click), then a new one composed on a free row.
    ModalDriver driver;
    driver.expect(kEditDialog, composeAndOk(QStringLiteral("Parcel collected"), QStringLiteral("+420731000111")));
    QTest::mouseDClick(w->list()->viewport(), Qt::LeftButton, Qt::NoModifier, rowPoint(w, 1));
    clickRow(w, 5);
    driver.expect(kEditDialog, composeAndOk(QStringLiteral("New one"), QStringLiteral("5551234")));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("editButton")), Qt::LeftButton);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(cell(w, 1, 0), QStringLiteral("  2 *"));
    EXPECT_EQ(cell(w, 1, 4), QStringLiteral("Parcel collected"));
    EXPECT_EQ(cell(w, 5, 3), QStringLiteral("5551234"));
    EXPECT_TRUE(w->hasUnsavedChanges());

    host->prompts.answers = {PromptAnswer::Yes};
    w->findChild<QPushButton*>(QStringLiteral("writeButton"))->click();
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57821});
    EXPECT_TRUE(host->prompts.errors.empty());
    EXPECT_FALSE(w->hasUnsavedChanges());
    EXPECT_EQ(cell(w, 1, 0), QStringLiteral("  2  "));

    SmsWindow* again = open(1, 1);
    const SmsListModel& read = again->model();
    EXPECT_FALSE(read.anyModified());
    EXPECT_EQ(read.usedCount(), 5);
    EXPECT_STREQ(read.entry(1).text, "Parcel collected");
    EXPECT_STREQ(read.entry(5).text, "New one");

    const test::CliOutput cli =
        test::runCliCommand(test::onCardFile(cardPath) + QStringList{QStringLiteral("sms"), QStringLiteral("read"),
                                                                     QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
    EXPECT_EQ(cli.array(), cli::smsListJson(std::span(read.entries().data(), 20), false));
}

TEST_F(SmsWindowTest, DeleteKeyMovesLaterRowsUpAndADragWithoutCtrlMoves)
{
    SmsWindow* w = open(0, -1);
    SmsListModel& m = w->model();
    m.setRowCount(10);
    const char* texts[] = {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"};
    for (int row = 0; row < 10; ++row)
        put(w, row, texts[row]);
    m.redraw();

    clickRow(w, 2);
    host->prompts.answers = {PromptAnswer::Yes};
    QTest::keyClick(w->list(), Qt::Key_Delete);
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57697});
    for (int row = 2; row < 9; ++row) {
        EXPECT_EQ(cell(w, row, 4), QLatin1String(texts[row + 1])) << row;
        EXPECT_EQ(m.entry(row).position, row);
        EXPECT_EQ(cell(w, row, 0), QStringLiteral("%1 *").arg(row + 1, 3));
    }
    EXPECT_EQ(cell(w, 9, 4), QStringLiteral("----"));
    EXPECT_EQ(m.entry(9).position, 9);

    // Drag rows 1-2 ("two", "four") onto rows 2-3 of the same list (row 3 made free): they move,
    // and row 2, both source and target, is not asked about.
    m.entry(3).valid = 0;
    clickRow(w, 1);
    clickRow(w, 2, Qt::ShiftModifier);
    const std::optional<QByteArray> payload = m.startDrag();
    ASSERT_TRUE(payload);
    QMimeData data;
    data.setData(smsMimeType(), *payload);
    QWidget* viewport = w->list()->viewport();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    // Entering below the last row is followed, so that the moves over rows that follow arrive.
    QDragEnterEvent below(QPoint(5, viewport->height() - 30), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &below);
    EXPECT_TRUE(below.isAccepted());
    for (const auto& [keys, action] :
         {std::pair{Qt::ControlModifier, Qt::CopyAction}, std::pair{Qt::NoModifier, Qt::MoveAction}}) {
        QDragMoveEvent over(rowPoint(w, 2), offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(viewport, &over);
        EXPECT_EQ(over.dropAction(), action);
        EXPECT_EQ(w->list()->dropRow(), 2);
    }
    QDropEvent drop(QPointF(rowPoint(w, 2)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    m.endDrag(DropEffect::Move);
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57697});
    EXPECT_EQ(cell(w, 1, 4), QStringLiteral("----"));
    EXPECT_EQ(cell(w, 2, 4), QStringLiteral("two"));
    EXPECT_EQ(cell(w, 3, 4), QStringLiteral("four"));
    EXPECT_EQ(cell(w, 4, 4), QStringLiteral("six"));
}

TEST_F(SmsWindowTest, ListColumnsMenuAndClipboard)
{
    SmsWindow* from = open(0, -1);
    QTreeView* list = from->list();
    const int widths[] = {35, 70, 45, 80};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(list->columnWidth(c), widths[c]) << c;
    EXPECT_EQ(list->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Tel. number"));
    EXPECT_EQ(list->model()->rowCount(), 99);
    QStringList menu;
    for (QAction* a : from->findChild<QMenu*>(QStringLiteral("contextMenu"))->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(menu, (QStringList{QStringLiteral("&Edit"), QStringLiteral("Clea&r"), QStringLiteral("-"),
                                 QStringLiteral("&Copy"), QStringLiteral("Cu&t"), QStringLiteral("&Paste"),
                                 QStringLiteral("-"), QStringLiteral("&Undo"), QStringLiteral("&Redo")}));

    put(from, 0,
        "Ahoj \xC5\xA1"
        "efe"); // PC text is UTF-8
    put(from, 2, "Second");
    from->model().redraw();
    clickRow(from, 0);
    clickRow(from, 2, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("Kestrel_SMS")));
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("Ahoj \xC5\xA1"
                                                                   "efe\r\nSecond\r\n"));

    SmsWindow* to = open(1, -1);
    clickRow(to, 10);
    QTest::keyClick(to->list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell(to, 10, 4), QStringLiteral("Ahoj šefe"));
    EXPECT_EQ(cell(to, 12, 4), QStringLiteral("Second"));
}

TEST_F(SmsWindowTest, FileCommandsRunTheirDialogs)
{
    SmsWindow* w = open(0, -1);
    put(w, 1, "Kept in a file", "123");
    put(w, 4, "And another", "456");
    w->model().redraw();

    const QString file = tempPath(QStringLiteral("messages"));
    const struct
    {
        int command;
        QString title;
        QStringList filters;
        QString suffix;
        QFileDialog::AcceptMode mode;
    } dialogs[] = {
        {40009,
         QStringLiteral("Write Messages to File"),
         {QStringLiteral("File with Messages (.sms) (*.sms *.SMS)"), QStringLiteral("All files (*.*) (*)")},
         QStringLiteral("sms"),
         QFileDialog::AcceptSave},
        {40010,
         QStringLiteral("Write Messages to Archive File"),
         {QStringLiteral("Archive File with Messages (.sma) (*.sma *.SMA)"), QStringLiteral("All files (*.*) (*)")},
         QStringLiteral("sma"),
         QFileDialog::AcceptOpen},
    };
    ModalDriver driver;
    for (const auto& d : dialogs) {
        driver.expect(kFileDialog, [&d, file](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), d.title);
            EXPECT_EQ(dialog->nameFilters(), d.filters);
            EXPECT_EQ(dialog->defaultSuffix(), d.suffix);
            EXPECT_EQ(dialog->acceptMode(), d.mode);
            pickFile(dialog, file); // without a suffix: the dialog's own is added
        });
        w->handleCommand(d.command);
        EXPECT_TRUE(driver.done());
    }
    EXPECT_TRUE(QFile::exists(file + QStringLiteral(".sms")));
    EXPECT_TRUE(QFile::exists(file + QStringLiteral(".sma")));
    EXPECT_TRUE(host->prompts.messages.empty());

    // Cancel ends the command without a message; read mode 2 opens the dialog at once.
    driver.expect(kFileDialog, [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    w->handleCommand(40008);
    driver.expect(kFileDialog, [file](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Read Messages from File"));
        EXPECT_EQ(dialog->nameFilters().size(), 4);
        pickFile(dialog, file + QStringLiteral(".sms"));
    });
    SmsWindow* other = open(1, 2);
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(host->prompts.messages.empty());
    EXPECT_EQ(cell(other, 1, 4), QStringLiteral("Kept in a file"));
    EXPECT_EQ(cell(other, 4, 3), QStringLiteral("456"));
}

// A long message on the printed page: the text, wrapped between x = 300 and the right edge, comes
// out whole on the PDF printer with its real font.
TEST_F(SmsWindowTest, PrintedMessagesWrapALongTextOnThePdfPage)
{
    SmsWindow* w = open(0, -1);
    QString text;
    while (text.size() < 150)
        text += QStringLiteral("lorem ipsum dolor ");
    put(w, 3, text.toLatin1().constData());

    // The layout's texts on the canvas of a PDF printer.
    class Tap final : public ReportCanvas
    {
    public:
        explicit Tap(ReportCanvas& inner) : m_inner(inner) {}
        int pageWidth() const override { return m_inner.pageWidth(); }
        int pageHeight() const override { return m_inner.pageHeight(); }
        int textWidth(const QString& t, bool bold) const override { return m_inner.textWidth(t, bold); }
        int lineHeight(bool bold) const override { return m_inner.lineHeight(bold); }
        void beginPage() override { m_inner.beginPage(); }
        void endPage() override { m_inner.endPage(); }
        void drawText(int x, int y, const QString& t, bool bold) override
        {
            if (x == 300 && !bold)
                lines << t;
            m_inner.drawText(x, y, t, bold);
        }
        void drawLine(int x1, int y1, int x2, int y2) override { m_inner.drawLine(x1, y1, x2, y2); }
        QStringList lines;

    private:
        ReportCanvas& m_inner;
    };
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(tempPath(QStringLiteral("layout.pdf")));
    QPainter painter(&printer);
    PainterCanvas canvas(printer, painter, QStringLiteral("Arial"));
    Tap tap(canvas);
    ReportLayout layout(tap, ReportHeader{});
    const auto& entries = w->model().entries();
    EXPECT_EQ(layout.printMessages(QList<SmsEntry>(entries.begin(), entries.begin() + 10)), 1);
    painter.end();
    ASSERT_GE(tap.lines.size(), 2);
    EXPECT_EQ(tap.lines.join(QString()), text.left(199));
    for (const QString& line : tap.lines)
        EXPECT_LE(300 + canvas.textWidth(line, false), layout.rightEdge()) << line.toStdString();
}

// The desktop with its windows wired in: the SMS menu makes an SMS window on the main window, its
// dialogs pick from the current phone book window, and Print Messages prints it.
TEST_F(SmsWindowTest, MainWindowMakesPlacesAndPrintsSmsWindows)
{
    KestrelApp app(std::make_unique<AppState>(
        std::make_unique<QSettings>(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat)));
    wireDesktop(app);
    StartOptions options;
    options.showInformation = false;
    options.device = QStringLiteral("VIRTUAL:") + saveCard();
    ASSERT_TRUE(app.start(options));
    MainWindow& main = *app.mainWindow();
    main.state().settings().autoRead = 0;
    EXPECT_TRUE(main.action(40004)->isEnabled());
    EXPECT_FALSE(currentPhoneBookPick(main));

    main.runCommand(40001); // an empty phone book window
    auto* book = dynamic_cast<CSezEdDlg*>(main.currentEditor(EditorKind::PhoneBook));
    ASSERT_NE(book, nullptr);
    DialEntry& entry = book->model().entry(3);
    entry.valid = 1;
    std::strcpy(entry.number, "420602111222");
    book->model().setSelected(2, true); // free rows are passed over
    book->model().setSelected(3, true);

    main.runCommand(40004);
    auto* sms = dynamic_cast<SmsWindow*>(main.currentEditor(EditorKind::Sms));
    ASSERT_NE(sms, nullptr);
    // Cascaded from the phone book window opened before it, inside the screen.
    EXPECT_EQ(book->pos(), main.mapToGlobal(QPoint(0, 0)) + QPoint(150, 50));
    EXPECT_NE(sms->pos(), book->pos());
    EXPECT_TRUE(main.screen()->availableGeometry().contains(sms->pos()));
    EXPECT_EQ(main.activeEditor(), sms);
    const PhoneBookPick pick = currentPhoneBookPick(main);
    ASSERT_TRUE(pick);
    const std::optional<DialEntry> picked = pick();
    ASSERT_TRUE(picked);
    EXPECT_STREQ(picked->number, "420602111222");

    main.runCommand(2008); // "Another Window for SMS Messages"
    auto* second = dynamic_cast<SmsWindow*>(main.currentEditor(EditorKind::Sms));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->pos(), sms->pos());
    EXPECT_NE(second->pos(), book->pos());

    const QString pdf = tempPath(QStringLiteral("desk.pdf"));
    printToPdf(pdf);
    main.runCommand(40097);
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF-"));
    main.CloseAllEditors();
}

} // namespace
} // namespace kestrel
