#include "ui/SetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include "GuiTest.h"
#include "sim/SimCard.h"
#include "ModalAnswer.h"
#include "ScriptedPrompter.h"
#include "StubReaders.h"
#include "app/AppState.h"
#include "sim/SimCard.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "ui/CountryCodeDialog.h"
#include "ui/ReaderSearchDialog.h"

namespace kestrel {
namespace {

class SetupDialogTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        plan = std::make_shared<test::ReaderPlan>();
        state = std::make_unique<AppState>(std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat),
                                           test::stubReaderManager(plan));
    }

    QString settingsPath() const { return tempPath(QStringLiteral("kestrel.conf")); }
    QStringList storedKeys() const { return QSettings(settingsPath(), QSettings::IniFormat).allKeys(); }

    QString cardDevice()
    {
        const QString path = tempPath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), path, error));
        return QStringLiteral("VIRTUAL:") + path;
    }

    std::unique_ptr<SetupDialog> dialog(QStringList pcsc = {})
    {
        return std::make_unique<SetupDialog>(
            *state, prompter, [pcsc] { return pcsc; }, nullptr);
    }

    template <typename W>
    static W* child(QWidget* dialog, const char* name)
    {
        W* w = dialog->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // The device strings of the list's entries (a serial port shows its device beside its name).
    static QStringList items(QComboBox* box, int role = Qt::UserRole)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemData(i, role).toString();
        return out;
    }

    std::shared_ptr<test::ReaderPlan> plan;
    std::unique_ptr<AppState> state;
    test::ScriptedPrompter prompter;
};

TEST_F(SetupDialogTest, ShowsTheDevicesAndTheSettings)
{
    state->settings().autoRead = 0;
    state->settings().prnHdrAdj = 1;
    state->settings().intNumber = QStringLiteral("420");
    const auto d = dialog({QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Kestrel! - Setup"));

    auto* device = child<QComboBox>(d.get(), "device");
    const QStringList devices = items(device);
    ASSERT_GE(devices.size(), 5);
    EXPECT_EQ(devices.mid(0, 4), (QStringList{QStringLiteral("NOTHING"), QStringLiteral("PCSC:B"),
                                              QStringLiteral("PCSC:A"), QStringLiteral("COM1")}));
    EXPECT_EQ(device->currentData().toString(), QStringLiteral("COM2"));

    const struct
    {
        const char* name;
        const char* text;
        bool checked;
    } boxes[] = {
        {"autoRead", "A&utomatically read SIM", false},
        {"confirm", "A&sk for confirmation", true},
        {"startWMin", "Kestrel! as &toolbar", false},
        {"enCache", "&Use cache", true},
        {"prnHdrAdj", "Prompt before print", true},
        {"unicodeNames", "Keep accents and other letters on the card (Unicode names)", false},
    };
    for (const auto& b : boxes) {
        auto* box = child<QCheckBox>(d.get(), b.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(b.text));
        EXPECT_EQ(box->isChecked(), b.checked) << b.name;
    }
    EXPECT_EQ(child<QLineEdit>(d.get(), "intNumber")->text(), QStringLiteral("420"));
    EXPECT_EQ(child<QLineEdit>(d.get(), "intSelector")->text(), QStringLiteral("00"));
    EXPECT_EQ(child<QPushButton>(d.get(), "findReader")->text(), QStringLiteral("&Find Reader"));
    EXPECT_EQ(child<QPushButton>(d.get(), "fromDatabase")->text(), QStringLiteral("From &Database"));
    EXPECT_EQ(child<QPushButton>(d.get(), "ok")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(child<QPushButton>(d.get(), "close")->text(), QStringLiteral("&Close"));
    QStringList groups;
    for (const QGroupBox* g : d->findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups,
              (QStringList{QStringLiteral("Reader connection"), QStringLiteral("Internationalization settings")}));
}

TEST_F(SetupDialogTest, OkOpensTheReaderAndSavesEverySetting)
{
    const QString card = cardDevice();
    ASSERT_EQ(state->readers().selectDevice(card), CardStatus::Ok);
    state->createSimCard(); // the settings reach the card's SimCard
    const auto d = dialog();
    test::answerModal<SetupDialog>([&](SetupDialog* dlg) {
        child<QCheckBox>(dlg, "autoRead")->setChecked(false);
        child<QCheckBox>(dlg, "startWMin")->setChecked(true);
        child<QCheckBox>(dlg, "unicodeNames")->setChecked(true);
        child<QLineEdit>(dlg, "intNumber")->setText(QStringLiteral("+420"));
        child<QLineEdit>(dlg, "intSelector")->setText(QStringLiteral("00"));
        auto* language = child<QComboBox>(dlg, "language");
        EXPECT_EQ(
            items(language, Qt::DisplayRole),
            (QStringList{QStringLiteral("Automatic (system)"), QStringLiteral("English"), QStringLiteral("Čeština")}));
        EXPECT_EQ(language->currentIndex(), 0);
        language->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(dlg, "ok"), Qt::LeftButton);
    });
    ASSERT_EQ(d->exec(), QDialog::Accepted);
    EXPECT_TRUE(prompter.texts.empty());
    EXPECT_EQ(state->readers().currentDevice(), card);

    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.allKeys().size(), 24);
    EXPECT_EQ(stored.value(QStringLiteral("general/language")).toString(), QStringLiteral("cs"));
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/scrFree")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/autoRead")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/unicodeNames")).toInt(), 1);
    ASSERT_NE(state->simCard(), nullptr);
    EXPECT_TRUE(state->simCard()->settings().unicodeNames);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/startWMin")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("SMSData/intNumber")).toString(), QStringLiteral("420"));
    EXPECT_EQ(stored.value(QStringLiteral("commData/device")).toString(), card);
}

TEST_F(SetupDialogTest, RefusalsKeepTheDialogOpenAndStoreNothing)
{
    const auto d = dialog();
    test::answerModal<SetupDialog>([&](SetupDialog* dlg) {
        // A prefix with "+", then a reader that does not open, then Close.
        child<QLineEdit>(dlg, "intSelector")->setText(QStringLiteral("+00"));
        QTest::mouseClick(child<QPushButton>(dlg, "ok"), Qt::LeftButton);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(prompter.messages, std::vector<int>{57562});

        child<QLineEdit>(dlg, "intSelector")->setText(QStringLiteral("00"));
        auto* device = child<QComboBox>(dlg, "device");
        device->setCurrentIndex(device->findData(QStringLiteral("COM3")));
        QTest::mouseClick(child<QPushButton>(dlg, "ok"), Qt::LeftButton);
        EXPECT_TRUE(dlg->isVisible());
        ASSERT_EQ(prompter.texts.size(), 1U);
        EXPECT_EQ(
            prompter.texts[0].text,
            QStringLiteral("Reader inaccessible (use menu Other->Setup) via COM3\r\n  ->  Correct COM port not set"));
        EXPECT_EQ(prompter.texts[0].icon, PromptIcon::Exclamation);
        QTest::mouseClick(child<QPushButton>(dlg, "close"), Qt::LeftButton);
    });
    EXPECT_EQ(d->exec(), QDialog::Rejected);
    EXPECT_TRUE(storedKeys().isEmpty());
    EXPECT_EQ(state->settings().scrFree, 0);
    EXPECT_EQ(state->readers().currentReader(), nullptr);
}

TEST_F(SetupDialogTest, SearchShowsEachCandidateAndCloseKeepsTheReaderFound)
{
    const QString card = cardDevice();
    const auto d = dialog();
    d->model().setSearchCandidates({QStringLiteral("KVRI DRIVER"), QStringLiteral("COM4"), card});
    d->show();
    // An edit made before the search survives it.
    child<QCheckBox>(d.get(), "enCache")->setChecked(false);

    // Timers still run while the search lets the windows repaint: each tick sees the candidate.
    QStringList seen;
    QString title;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* window = d->findChild<ReaderSearchDialog*>()) {
            title = window->windowTitle();
            if (seen.isEmpty() || seen.back() != window->candidate())
                seen << window->candidate();
        }
    });
    watch.start(0);
    QTest::mouseClick(child<QPushButton>(d.get(), "findReader"), Qt::LeftButton);
    watch.stop();

    EXPECT_EQ(title, QStringLiteral("Kestrel! - Find Card Peripheral"));
    EXPECT_EQ(seen, d->model().searchCandidates());
    EXPECT_EQ(d->findChild<ReaderSearchDialog*>(), nullptr); // gone after the search
    ASSERT_EQ(prompter.texts.size(), 1U);
    EXPECT_EQ(prompter.texts[0].text, QStringLiteral("Smartcard reader is connected to port:  ") + card);
    EXPECT_EQ(child<QComboBox>(d.get(), "device")->currentData().toString(), card);
    EXPECT_FALSE(child<QCheckBox>(d.get(), "enCache")->isChecked());

    QTest::mouseClick(child<QPushButton>(d.get(), "close"), Qt::LeftButton);
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_EQ(state->readers().currentDevice(), card);
    EXPECT_EQ(state->settings().device, QStringLiteral("COM2"));
    EXPECT_TRUE(storedKeys().isEmpty());
}

TEST_F(SetupDialogTest, CountryCodeFromTheDatabase)
{
    const auto d = dialog();
    d->show();
    auto chooseRow = [](const QString& country) {
        return [country](CountryCodeDialog* chooser) {
            auto* list = chooser->findChild<QTreeWidget*>(QStringLiteral("countries"));
            ASSERT_NE(list, nullptr);
            const QList<QTreeWidgetItem*> found = list->findItems(country, Qt::MatchExactly, 0);
            ASSERT_EQ(found.size(), 1);
            list->setCurrentItem(found.first());
            chooser->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        };
    };
    test::answerModal<CountryCodeDialog>(chooseRow(QStringLiteral("Czech Republic")));
    QTest::mouseClick(child<QPushButton>(d.get(), "fromDatabase"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>(d.get(), "intNumber")->text(), QStringLiteral("420"));

    // Cancelled: the field stays.
    test::answerModal<CountryCodeDialog>([](CountryCodeDialog* chooser) { chooser->reject(); });
    QTest::mouseClick(child<QPushButton>(d.get(), "fromDatabase"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>(d.get(), "intNumber")->text(), QStringLiteral("420"));
    EXPECT_TRUE(storedKeys().isEmpty()); // nothing stored before OK
}

// Each serial port shows the device it opens, the commData/COMn override included; every setting
// explains itself in a tooltip.
TEST_F(SetupDialogTest, SerialPortsShowTheirDevicesAndEverySettingHasATooltip)
{
    QSettings user(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantwick"),
                   QStringLiteral("Kestrel! 4.0"));
    user.setValue(QStringLiteral("commData/COM3"), QStringLiteral("/dev/ttyUSB0"));
    user.sync();
    const auto d = dialog();
    const QStringList labels = items(child<QComboBox>(d.get(), "device"), Qt::DisplayRole);
    user.remove(QStringLiteral("commData/COM3"));
    const auto com1 = labels.indexOf(QStringLiteral("COM1 (/dev/ttyS0)"));
    ASSERT_GE(com1, 1);
    EXPECT_EQ(labels.mid(com1 + 2, 2),
              (QStringList{QStringLiteral("COM3 (/dev/ttyUSB0)"), QStringLiteral("COM4 (/dev/ttyS3)")}));
    EXPECT_EQ(labels.front(), QStringLiteral("NOTHING"));
    for (const char* name : {"device", "findReader", "autoRead", "confirm", "startWMin", "enCache", "prnHdrAdj",
                             "intNumber", "intSelector", "fromDatabase"})
        EXPECT_FALSE(child<QWidget>(d.get(), name)->toolTip().isEmpty()) << name;
}

} // namespace
} // namespace kestrel
