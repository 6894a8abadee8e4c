// The main window's card dialogs on the virtual card: SMS parameters, and backup, restore and
// open backup file.

#include <memory>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>

#include "BackupCards.h"
#include "CardRecords.h"
#include "GuiTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "backup/BackupFile.h"
#include "emulator/CardFile.h"
#include "ui/DesktopWiring.h"
#include "ui/KestrelApp.h"
#include "ui/UiText.h"
#include "ui/phonebook/PhoneBookWindow.h"
#include "ui/sms/SmsWindow.h"

namespace kestrel {
namespace {

using test::answerBox;
using test::clickButton;
using test::ModalDriver;

const QString kBox = QStringLiteral("messageBox");
const QString kFileDialog = QStringLiteral("backupFileDialog");

// A card whose PIN1 is off, so that no PIN dialog comes between the steps.
emulator::SimCardData openCard(emulator::SimCardData card = emulator::StandardCard::simCard())
{
    card.chv1.enabled = false;
    return card;
}

class CardDialogsTest : public test::GuiTest
{
protected:
    void TearDown() override
    {
        if (app && app->mainWindow())
            app->mainWindow()->CloseAllEditors();
        app.reset();
    }

    QString saveCard(const emulator::SimCardData& card, const QString& name)
    {
        const QString path = tempPath(name);
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(card, path, error)) << error.toStdString();
        return path;
    }
    static emulator::SimCardData loadCard(const QString& path)
    {
        emulator::CardFileResult loaded = emulator::CardFile::load(path);
        EXPECT_TRUE(loaded.ok) << loaded.error.toStdString();
        return loaded.card;
    }

    // The desktop program started on `device`.
    MainWindow& start(const QString& device)
    {
        app = std::make_unique<KestrelApp>(std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat)));
        wireDesktop(*app);
        StartOptions options;
        options.showInformation = false;
        options.device = device;
        EXPECT_TRUE(app->start(options));
        MainWindow& main = *app->mainWindow();
        main.state().settings().autoRead = 0;
        main.state().settings().confirm = 0;
        return main;
    }
    MainWindow& startOn(const emulator::SimCardData& card)
    {
        cardPath = saveCard(card, QStringLiteral("card.json"));
        return start(QStringLiteral("VIRTUAL:") + cardPath);
    }

    std::unique_ptr<KestrelApp> app;
    QString cardPath;
};

QString fieldText(QWidget* w, const char* name)
{
    auto* edit = w->findChild<QLineEdit*>(QLatin1String(name));
    return edit ? edit->text() : QString();
}

TEST_F(CardDialogsTest, SmsParametersReadTheCardsCentreAndWriteMaximum)
{
    MainWindow& main = startOn(openCard());
    main.state().settings().servCenter.clear();
    // SMS parameters, backup, restore, open backup file, preferred and forbidden networks, SIM
    // information, check and repair, report header, print font.
    for (const int id : {40053, 40024, 40025, 40078, 40094, 40095, 40026, 40098, 40109, 40101})
        EXPECT_TRUE(main.action(id)->isEnabled()) << id;
    QString centre;
    bool oneDay = false;
    ModalDriver driver;
    // Once the automatic read has filled the fields.
    driver.expect(
        QStringLiteral("smsParametersDialog"),
        [&](QWidget* d) {
            centre = fieldText(d, "smsCenter");
            oneDay = d->findChild<QRadioButton*>(QStringLiteral("oneDay"))->isChecked();
            d->findChild<QRadioButton*>(QStringLiteral("maximum"))->click();
            clickButton(QStringLiteral("writeButton"))(d);
            clickButton(QStringLiteral("okButton"))(d);
        },
        [](QWidget* d) { return !fieldText(d, "smsCenter").isEmpty(); });
    main.runCommand(40053);
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(centre, QStringLiteral("+420602909909"));
    EXPECT_TRUE(oneDay) << "the card's TP-VP 167";

    // EF_SMSP record 1 (40 bytes): P = 12, TP-VP at P + 27; the indicators keep their other bits.
    emulator::SimCardData card = loadCard(cardPath);
    const std::span<uint8_t> record = test::fileRecord(card, gsm::fid::kEfSmsp, 1);
    EXPECT_EQ(record[12 + 27], 0xF4);
    EXPECT_EQ(record[12], 0xE1);
    EXPECT_EQ(main.state().settings().servCenter, QStringLiteral("+420602909909"));
    EXPECT_EQ(main.state().settings().validPer, 244);
    QSettings stored(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("SMSData/validPer")).toInt(), 244) << "OK saves the settings";
}

TEST_F(CardDialogsTest, SmsParametersWithoutAReaderSayItOnceAndKeepTheSettings)
{
    MainWindow& main = start(QStringLiteral("NOTHING"));
    main.state().settings().servCenter = QStringLiteral("+420603052000");
    main.state().settings().validPer = 0;
    QString message;
    QString centre;
    bool readEnabled = true;
    bool writeEnabled = true;
    bool oneHour = false;
    ModalDriver driver;
    driver.expect(kBox, answerBox(QMessageBox::Ok, &message));
    driver.expect(QStringLiteral("smsParametersDialog"), [&](QWidget* d) {
        readEnabled = d->findChild<QAbstractButton*>(QStringLiteral("readButton"))->isEnabled();
        writeEnabled = d->findChild<QAbstractButton*>(QStringLiteral("writeButton"))->isEnabled();
        oneHour = d->findChild<QRadioButton*>(QStringLiteral("oneHour"))->isChecked();
        centre = fieldText(d, "smsCenter");
        clickButton(QStringLiteral("cancelButton"))(d);
    });
    main.runCommand(40053);
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(driver.seen().size(), 2U) << "one message, from the automatic read";
    EXPECT_EQ(message, uiText(57740));
    EXPECT_FALSE(readEnabled);
    EXPECT_FALSE(writeEnabled);
    EXPECT_TRUE(oneHour) << "validPer 0";
    EXPECT_EQ(centre, QStringLiteral("+420603052000"));
}

TEST_F(CardDialogsTest, ABackupRestoresOnlyItsMessagesOntoAFreshCard)
{
    MainWindow& main = startOn(openCard());
    const QString backup = tempPath(QStringLiteral("card.SIM"));
    QString done;
    ModalDriver driver;
    driver.expect(kFileDialog, [&](QWidget* d) { test::pickFile(d, backup); });
    driver.expect(kBox, answerBox(QMessageBox::Ok, &done));
    main.runCommand(40024);
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(done, uiText(57424));
    EXPECT_TRUE(test::fileBytes(backup).startsWith("\x0CSECTION_DIAL"));

    // A fresh card of another identity in the reader.
    emulator::SimCardData fresh = openCard(test::blankStandardCard());
    test::findFile(fresh, gsm::fid::kEfIccid)->data[9] ^= 0x11;
    const QString freshPath = saveCard(fresh, QStringLiteral("fresh.json"));
    ASSERT_EQ(main.state().openReader(QStringLiteral("VIRTUAL:") + freshPath), CardStatus::Ok);

    bool allTicked = true;
    driver.expect(kFileDialog, [&](QWidget* d) { test::pickFile(d, backup); });
    driver.expect(QStringLiteral("restoreChoiceDialog"), [&](QWidget* d) {
        for (QCheckBox* box : d->findChildren<QCheckBox*>()) {
            allTicked = allTicked && box->isChecked();
            box->setChecked(box->objectName() == QLatin1String("smsBox"));
        }
        clickButton(QStringLiteral("okButton"))(d);
    });
    driver.expect(kBox, answerBox(QMessageBox::Ok, &done));
    main.runCommand(40025);
    ASSERT_TRUE(driver.done());
    EXPECT_TRUE(allTicked);
    EXPECT_EQ(done, uiText(57430));

    const emulator::SimCardData restored = loadCard(freshPath);
    const emulator::SimCardData original = loadCard(cardPath);
    ASSERT_EQ(restored.files.size(), fresh.files.size());
    for (std::size_t i = 0; i < fresh.files.size(); ++i) {
        const uint16_t id = fresh.files[i].id();
        if (id == gsm::fid::kEfSms)
            EXPECT_EQ(restored.files[i].data, test::fileData(original, id)) << "the messages are the backup's";
        else
            EXPECT_EQ(restored.files[i].data, fresh.files[i].data) << std::hex << id << " stays as it was";
    }
}

TEST_F(CardDialogsTest, OpenBackupFileWaitsForClosedWindowsThenFillsThreeNew)
{
    MainWindow& main = startOn(openCard());
    BackupContents contents;
    contents.phoneBookCount = 100;
    contents.phoneBook[7] = test::entry(7, "Anna", "420602111222");
    contents.fdnCount = 10;
    contents.fdn[2] = test::entry(2, "Doctor", "155");
    for (int i = 0; i < kMaxDialEntries; ++i) {
        contents.phoneBook[static_cast<std::size_t>(i)].position = static_cast<uint16_t>(i);
        contents.fdn[static_cast<std::size_t>(i)].position = static_cast<uint16_t>(i);
    }
    contents.smsCount = 30;
    SmsEntry& message = contents.sms[4];
    message.valid = 1;
    message.position = 4;
    setFixedText(message.text, "See you at eight");
    contents.serviceCentre = "+420602909909";
    contents.validity = "7 days";
    const QString path = tempPath(QStringLiteral("open.SIM"));
    ASSERT_TRUE(saveBackupFile(path, contents).isOk());
    QSettings stored(tempPath(QStringLiteral("desk.ini")), QSettings::IniFormat);
    const QVariant storedValidity = stored.value(QStringLiteral("SMSData/validPer"));

    main.runCommand(40004); // an empty SMS window
    ASSERT_EQ(main.editors(EditorKind::Sms).size(), 1U);
    QString refusal;
    ModalDriver driver;
    driver.expect(kBox, answerBox(QMessageBox::Ok, &refusal));
    main.runCommand(40078);
    ASSERT_TRUE(driver.done());
    EXPECT_EQ(refusal, uiText(57425));
    EXPECT_EQ(driver.seen().size(), 1U) << "no file dialog";
    EXPECT_EQ(main.editors(EditorKind::PhoneBook).size(), 0U);

    ASSERT_TRUE(main.CloseAllEditors());
    driver.expect(kFileDialog, [&](QWidget* d) { test::pickFile(d, path); });
    main.runCommand(40078);
    ASSERT_TRUE(driver.done());
    auto* book = qobject_cast<PhoneBookWindow*>(main.currentEditor(EditorKind::PhoneBook));
    auto* fdn = qobject_cast<PhoneBookWindow*>(main.currentEditor(EditorKind::Fdn));
    auto* sms = qobject_cast<SmsWindow*>(main.currentEditor(EditorKind::Sms));
    ASSERT_TRUE(book && fdn && sms);
    EXPECT_EQ(book->model().capacity(), 100);
    EXPECT_STREQ(book->model().entry(7).name, "Anna");
    EXPECT_EQ(fdn->model().capacity(), 10);
    EXPECT_STREQ(fdn->model().entry(2).number, "155");
    EXPECT_EQ(sms->model().rowCount(), 30);
    EXPECT_STREQ(sms->model().entry(4).text, "See you at eight");
    EXPECT_FALSE(book->hasUnsavedChanges() || sms->hasUnsavedChanges());
    EXPECT_EQ(main.state().settings().servCenter, QStringLiteral("+420602909909"));
    EXPECT_EQ(main.state().settings().validPer, 173);
    stored.sync();
    EXPECT_EQ(stored.value(QStringLiteral("SMSData/validPer")), storedValidity) << "not saved";
}

} // namespace
} // namespace kestrel
