// kestrel-guide-shots OUTPUT-DIR [NAME ...]: the user guide's screenshots, taken of the desktop
// program's own windows on a virtual card, under the offscreen platform and in a temporary XDG
// folder (settings, the virtual card), so nothing of the user's is read or changed. Each shot
// carries out its steps through the program's commands and saves the window it reaches as
// NAME.png; a shot whose window does not come within its time limit fails with its name.

#include <cstdio>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include "ShotRunner.h"
#include "SimBench.h"
#include "TempXdg.h"
#include "base/StringTable.h"
#include "emulator/StandardCard.h"
#include "gsm/FileIds.h"
#include "phonebook/PhoneBookFiles.h"
#include "ui/CommandIcons.h"
#include "ui/ProgressDialog.h"
#include "ui/ReportPrinter.h"
#include "ui/phonebook/PhoneBookCommands.h"
#include "ui/phonebook/PhoneBookListView.h"
#include "ui/phonebook/PhoneBookWindow.h"

namespace kestrel::shots {
namespace {

using test::answerBox;
using test::clickButton;
using test::ModalDriver;

constexpr int kEditorWidth = 760;
constexpr int kEditorHeight = 460;
constexpr int kPrintWidth = 700; // pixels of the printed page's picture

const QString kMessageBox = QStringLiteral("messageBox");

// The standard card (a dozen phone book entries, four messages) with PIN1 off, so that no PIN
// dialog comes between the steps of a shot.
emulator::SimCardData openCard(emulator::SimCardData card = emulator::StandardCard::simCard())
{
    card.chv1.enabled = false;
    return card;
}

ModalDriver::Action pick(const QString& path)
{
    return [path](QWidget* w) { test::pickFile(w, path); };
}

// "Edit Phone Book": a new window reads the card's phone book.
PhoneBookWindow* readPhoneBook(ShotRunner& runner, Session& session)
{
    session.main().runCommand(CommandId::kEditPhoneBook);
    auto* window = dynamic_cast<PhoneBookWindow*>(session.main().currentEditor(EditorKind::PhoneBook));
    if (!window || window->model().entry(0).valid == 0) {
        runner.fail(QStringLiteral("the phone book window did not read the card"));
        return nullptr;
    }
    ShotRunner::settleWindow(window, kEditorWidth, kEditorHeight);
    return window;
}

void firstStart(ShotRunner& runner)
{
    // The card as it comes, PIN1 on: what a new user sees before anything is read.
    if (auto session = runner.start(emulator::StandardCard::simCard()))
        runner.save(&session->main(), QStringLiteral("first-start.png"));
}

void firstStartCzech(ShotRunner& runner)
{
    if (!installLanguage(QStringLiteral("cs"))) {
        runner.fail(QStringLiteral("the Czech texts could not be loaded"));
        return;
    }
    if (auto session = runner.start(emulator::StandardCard::simCard()))
        runner.save(&session->main(), QStringLiteral("first-start-cs.png"));
    installLanguage(QStringLiteral("en"));
}

void setup(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    ModalDriver driver;
    driver.expect(QStringLiteral("setupDialog"), grabThen(runner, QStringLiteral("setup.png")));
    session->main().runCommand(CommandId::kSetup);
    runner.reached(driver, QStringLiteral("the Setup dialog"));
}

void phoneBook(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    if (PhoneBookWindow* window = readPhoneBook(runner, *session))
        runner.save(window, QStringLiteral("phonebook.png"));
}

void phoneBookEdit(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    PhoneBookWindow* window = readPhoneBook(runner, *session);
    if (!window)
        return;
    constexpr int kRow = 6; // "Hotel Vienna", an international number
    QTreeView* list = window->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(list->model()->index(kRow, 0)).center());
    ModalDriver driver;
    driver.expect(QStringLiteral("editEntryDialog"), grabThen(runner, QStringLiteral("phonebook-edit.png")));
    auto* edit = window->findChild<QAbstractButton*>(QStringLiteral("editButton"));
    if (!edit) {
        runner.fail(QStringLiteral("the phone book window has no Edit button"));
        return;
    }
    edit->click();
    runner.reached(driver, QStringLiteral("the entry's edit dialog"));
}

void sms(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    session->main().runCommand(CommandId::kEditSms);
    EditorWindow* window = session->main().currentEditor(EditorKind::Sms);
    if (!window) {
        runner.fail(QStringLiteral("the SMS window did not open"));
        return;
    }
    ShotRunner::settleWindow(window, kEditorWidth, kEditorHeight);
    runner.save(window, QStringLiteral("sms.png"));
}

// Backup Card into `path`; the progress window, once its bar is a third of the way, saved as
// `progressShot` unless that is empty.
void backUp(ShotRunner& runner, Session& session, const QString& path, const QString& progressShot)
{
    ModalDriver driver;
    if (!progressShot.isEmpty()) {
        driver.expect(QStringLiteral("dialog170"), grabThen(runner, progressShot, [](QWidget*) {}), [](QWidget* w) {
            auto* progress = qobject_cast<ProgressWindow*>(w);
            return progress && progress->bar()->value() >= 30;
        });
    }
    driver.expect(QStringLiteral("backupFileDialog"), pick(path));
    driver.expect(kMessageBox, answerBox(QMessageBox::Ok));
    session.main().runCommand(CommandId::kBackupCard);
    runner.reached(driver, QStringLiteral("a window of Backup Card"));
}

void backup(ShotRunner& runner)
{
    const QString path = runner.work(QStringLiteral("my-card.SIM"));
    QFile::remove(path);
    if (auto session = runner.start(openCard()))
        backUp(runner, *session, path, QStringLiteral("backup.png"));
}

void restore(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    // A backup of its own: a file left by the backup shot would bring the overwrite question.
    const QString path = runner.work(QStringLiteral("card-to-restore.SIM"));
    QFile::remove(path);
    backUp(runner, *session, path, QString());
    ModalDriver driver;
    driver.expect(QStringLiteral("backupFileDialog"), pick(path));
    driver.expect(QStringLiteral("restoreChoiceDialog"),
                  grabThen(runner, QStringLiteral("restore.png"), clickButton(QStringLiteral("cancelButton"))));
    session->main().runCommand(CommandId::kRestoreCard);
    runner.reached(driver, QStringLiteral("the Restore choice dialog"));
}

// A contact file as phones and address books write it: a name longer than the card's names,
// several numbers of one contact, one number no card can dial.
bool writeContacts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text = QStringLiteral(u"BEGIN:VCARD\r\nVERSION:3.0\r\n"
                                           u"N:Procházková;Kateřina;;;\r\nFN:Kateřina Procházková\r\n"
                                           u"TEL;TYPE=CELL:+420 777 123 456\r\n"
                                           u"TEL;TYPE=WORK:+420 224 987 654\r\n"
                                           u"TEL;TYPE=HOME:+420 (0) 541 222 333\r\nEND:VCARD\r\n"
                                           u"BEGIN:VCARD\r\nVERSION:3.0\r\n"
                                           u"N:Fitzgerald-Worthington;Bartholomew;;;\r\n"
                                           u"FN:Bartholomew Fitzgerald-Worthington\r\n"
                                           u"TEL;TYPE=CELL:+44 7700 900123\r\n"
                                           u"TEL;TYPE=WORK:+44 20 7946 0958 ext. 12\r\nEND:VCARD\r\n"
                                           u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Novák;Pavel;;;\r\nFN:Pavel Novák\r\n"
                                           u"TEL:+420 603 555 111\r\nEND:VCARD\r\n")
                                .toUtf8();
    return file.write(text) == text.size();
}

void contactImport(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    PhoneBookWindow* window = readPhoneBook(runner, *session);
    if (!window)
        return;
    const QString contacts = runner.work(QStringLiteral("contacts.vcf"));
    if (!writeContacts(contacts)) {
        runner.fail(contacts + QStringLiteral(" could not be written"));
        return;
    }
    ModalDriver driver;
    driver.expect(QStringLiteral("rangeDialog%1").arg(kAddFromFileCaption), clickButton(QStringLiteral("okButton")));
    driver.expect(QStringLiteral("diaFileDialog"), pick(contacts));
    driver.expect(kMessageBox, grabThen(runner, QStringLiteral("contact-import.png"), answerBox(QMessageBox::Yes)));
    window->handleCommand(PhoneBookCommand::kAddFromFile);
    runner.reached(driver, QStringLiteral("the question of Add from File"));
}

void cardImage(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session)
        return;
    ModalDriver driver;
    const QString path = runner.work(QStringLiteral("my-card.json"));
    QFile::remove(path);
    driver.expect(QStringLiteral("cardImageDialog"), pick(path));
    driver.expect(kMessageBox, grabThen(runner, QStringLiteral("card-image.png"), answerBox(QMessageBox::Ok)));
    session->main().runCommand(CommandId::kBackupCardImage);
    runner.reached(driver, QStringLiteral("the closing message of Backup Card Image"));
}

void checkRepair(ShotRunner& runner)
{
    // EF_ADN record 7 and EF_FDN record 2 point at extension records that do not exist (the
    // extension record identifier is the last byte of a dialling-number record).
    emulator::SimCardData card = openCard();
    const auto breakLink = [&card](uint16_t file, int record, uint8_t link) {
        std::span<uint8_t> bytes = test::fileRecord(card, file, record);
        bytes.back() = link;
    };
    breakLink(gsm::fid::kEfAdn, 7, 0x20);
    breakLink(gsm::fid::kEfFdn, 2, 0x00);
    auto session = runner.start(card);
    if (!session)
        return;
    ModalDriver driver;
    driver.expect(QStringLiteral("dialog179"),
                  grabThen(runner, QStringLiteral("check-repair.png"), clickButton(QStringLiteral("button2"))));
    session->main().runCommand(CommandId::kCheckAndRepair);
    runner.reached(driver, QStringLiteral("the Check and Repair report"));
}

// The first page of a PDF file as OUTPUT-DIR/file, kPrintWidth pixels wide (pdftoppm, of
// poppler-utils).
void pdfPageToPng(ShotRunner& runner, const QString& pdf, const QString& png)
{
    QString prefix = png;
    prefix.chop(4); // ".png", which pdftoppm adds
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                   QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-scale-to-x"),
                   QString::number(kPrintWidth), QStringLiteral("-scale-to-y"), QStringLiteral("-1"), pdf, prefix});
    if (!process.waitForStarted(10000)) {
        runner.fail(QStringLiteral("pdftoppm (poppler-utils) is needed to draw the printed page"));
        return;
    }
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        !QFileInfo::exists(png)) {
        runner.fail(QStringLiteral("pdftoppm could not draw the printed page: ") +
                    QString::fromLocal8Bit(process.readAllStandardError()));
        return;
    }
    std::printf("%s\n", qPrintable(png));
    std::fflush(stdout);
}

void print(ShotRunner& runner, const QString& outputDir)
{
    auto session = runner.start(openCard());
    if (!session || !readPhoneBook(runner, *session))
        return;
    const QString pdf = runner.work(QStringLiteral("phonebook.pdf"));
    QFile::remove(pdf);
    ReportPrinter::setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    session->main().runCommand(CommandId::kPrintPhoneBook);
    ReportPrinter::setPrinterChooser({});
    if (!QFileInfo::exists(pdf)) {
        runner.fail(QStringLiteral("Print Phone Book printed nothing"));
        return;
    }
    pdfPageToPng(runner, pdf, QDir(outputDir).filePath(QStringLiteral("print.png")));
}

void printDialog(ShotRunner& runner)
{
    auto session = runner.start(openCard());
    if (!session || !readPhoneBook(runner, *session))
        return;
    ReportPrinter::setPrinterChooser({});
    ModalDriver driver;
    driver.expect(QString(), grabThen(runner, QStringLiteral("print-dialog.png")),
                  [](QWidget* w) { return qobject_cast<QPrintDialog*>(w) != nullptr; });
    session->main().runCommand(CommandId::kPrintPhoneBook);
    runner.reached(driver, QStringLiteral("the print dialog"));
}

struct Shot
{
    const char* name; // the picture is NAME.png
    const char* what;
    std::function<void(ShotRunner&)> take;
};

std::vector<Shot> shots(const QString& outputDir)
{
    return {
        {"first-start", "the main window after the first start on the virtual card", firstStart},
        {"first-start-cs", "the same in Czech", firstStartCzech},
        {"setup", "the Setup dialog with its reader choice", setup},
        {"phonebook", "the phone book window after reading the card", phoneBook},
        {"phonebook-edit", "the edit dialog of one entry", phoneBookEdit},
        {"sms", "the SMS window after reading the card", sms},
        {"backup", "Backup Card's progress window while it reads the card", backup},
        {"restore", "Restore Card's choice of the parts to restore", restore},
        {"contact-import", "the question of a vCard file added to the phone book", contactImport},
        {"card-image", "the closing message of Backup Card Image", cardImage},
        {"check-repair", "the Check and Repair report of a card with broken links", checkRepair},
        {"print", "the first page of the printed phone book", [outputDir](ShotRunner& r) { print(r, outputDir); }},
        {"print-dialog", "the print dialog of Print Phone Book", printDialog},
    };
}

constexpr int kShotLimitMs = 60000;

int usage(const std::vector<Shot>& table)
{
    std::fprintf(stderr, "usage: kestrel-guide-shots OUTPUT-DIR [NAME ...]\nshots:\n");
    for (const Shot& shot : table)
        std::fprintf(stderr, "  %-15s %s\n", shot.name, shot.what);
    return 2;
}

int run(const QStringList& arguments, const QString& workDir)
{
    const QString outputDir = arguments.size() > 1 ? arguments[1] : QString();
    const std::vector<Shot> table = shots(outputDir);
    if (outputDir.isEmpty() || outputDir.startsWith(u'-'))
        return usage(table);
    std::vector<const Shot*> chosen;
    for (const QString& name : arguments.mid(2)) {
        const auto it =
            std::find_if(table.begin(), table.end(), [&name](const Shot& s) { return name == QLatin1String(s.name); });
        if (it == table.end()) {
            std::fprintf(stderr, "kestrel-guide-shots: no shot named %s\n", qPrintable(name));
            return usage(table);
        }
        chosen.push_back(&*it);
    }
    if (chosen.empty()) {
        for (const Shot& shot : table)
            chosen.push_back(&shot);
    }
    if (!QDir().mkpath(outputDir)) {
        std::fprintf(stderr, "kestrel-guide-shots: cannot make %s\n", qPrintable(outputDir));
        return 1;
    }

    ShotRunner runner(outputDir, workDir);
    QStringList failed;
    for (const Shot* shot : chosen) {
        const QStringList failures = runner.run(shot->take, kShotLimitMs);
        if (!failures.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", shot->name, qPrintable(failures.join(QStringLiteral("; "))));
            failed.append(QLatin1String(shot->name));
        }
    }
    if (!failed.isEmpty()) {
        std::fprintf(stderr, "kestrel-guide-shots: failed: %s\n", qPrintable(failed.join(u' ')));
        return 1;
    }
    return 0;
}

} // namespace
} // namespace kestrel::shots

namespace {

// The offscreen platform says of every raise() and size hint that it has none: only the program's
// own warnings and errors are let through.
QtMessageHandler g_qtMessages = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_qtMessages)
        g_qtMessages(type, context, text);
}

} // namespace

int main(int argc, char** argv)
{
    // Never on the desktop: the windows are drawn offscreen, in the same style wherever it runs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The print dialog proposes a file in the home folder: a neutral one, not the developer's.
    qputenv("HOME", "/home/user");
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "kestrel-guide-shots: no temporary folder\n");
        return 1;
    }
    kestrel::test::useTemporaryXdg(scratch);
    qputenv("XDG_CACHE_HOME", scratch.filePath(QStringLiteral("cache")).toLocal8Bit());
    const QString runtime = scratch.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    g_qtMessages = qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrel"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(kestrel::CommandIcons::appIcon());
    kestrel::installLanguage(QStringLiteral("en"));
    return kestrel::shots::run(QApplication::arguments(), scratch.path());
}
