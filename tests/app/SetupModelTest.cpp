#include "app/SetupModel.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "StubReaders.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

namespace kestrel {
namespace {

const QString kSeparator = QStringLiteral("\r\n  ->  ");

class SetupModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kestrel::test::useTemporaryXdg(m_dir);
        plan = std::make_shared<test::ReaderPlan>();
        state = std::make_unique<AppState>(std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat),
                                           test::stubReaderManager(plan));
    }

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("kestrel.conf")); }

    QString cardFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), path, error)) << error.toStdString();
        return QStringLiteral("VIRTUAL:") + path;
    }

    SetupModel model(QStringList pcsc = {})
    {
        return SetupModel(*state, prompter, [pcsc] { return pcsc; });
    }

    QStringList storedKeys() const { return QSettings(settingsPath(), QSettings::IniFormat).allKeys(); }

    QTemporaryDir m_dir;
    std::shared_ptr<test::ReaderPlan> plan;
    std::unique_ptr<AppState> state;
    test::ScriptedPrompter prompter;
};

TEST_F(SetupModelTest, DeviceListPutsPcscReadersInReverseAfterNothing)
{
    const SetupModel m = model({QStringLiteral("A"), QStringLiteral("B")});
    const QStringList expected = {
        QStringLiteral("NOTHING"),     QStringLiteral("PCSC:B"),  QStringLiteral("PCSC:A"),
        QStringLiteral("COM1"),        QStringLiteral("COM2"),    QStringLiteral("COM3"),
        QStringLiteral("COM4"),        QStringLiteral("COM5"),    QStringLiteral("COM6"),
        QStringLiteral("COM7"),        QStringLiteral("COM8"),    QStringLiteral("PCMCIA FY-1300"),
        QStringLiteral("KVRI DRIVER"), QStringLiteral("VIRTUAL"),
    };
    EXPECT_EQ(m.devices(), expected);
    // The reader manager starts with "COM2", which is listed already.
    EXPECT_EQ(m.values().device, QStringLiteral("COM2"));
}

TEST_F(SetupModelTest, ACurrentDeviceOutsideTheListIsShownAsWell)
{
    const QString card = cardFile();
    ASSERT_EQ(state->readers().selectDevice(card), CardStatus::Ok);
    const SetupModel m = model();
    EXPECT_EQ(m.devices().size(), 13);
    EXPECT_EQ(m.devices().back(), card);
    EXPECT_EQ(m.values().device, card);
}

TEST_F(SetupModelTest, ValuesAreCopiesOfTheSettings)
{
    AppSettings& s = state->settings();
    s.autoRead = 0;
    s.confirm = 1;
    s.startWMin = 1;
    s.enCache = 0;
    s.prnHdrAdj = 1;
    s.intNumber = QStringLiteral("420");
    s.intSelector = QStringLiteral("011");
    s.language = QStringLiteral("cs");
    SetupModel m = model();
    EXPECT_EQ(m.values().language, QStringLiteral("cs"));
    EXPECT_FALSE(m.values().autoRead);
    EXPECT_TRUE(m.values().confirm);
    EXPECT_TRUE(m.values().startWMin);
    EXPECT_FALSE(m.values().enCache);
    EXPECT_TRUE(m.values().prnHdrAdj);
    EXPECT_EQ(m.values().intNumber, QStringLiteral("420"));
    EXPECT_EQ(m.values().intSelector, QStringLiteral("011"));
    m.values().intNumber = QStringLiteral("1");
    EXPECT_EQ(s.intNumber, QStringLiteral("420"));
    // A language the program does not offer shows as the automatic choice.
    s.language = QStringLiteral("xx");
    EXPECT_EQ(model().values().language, QStringLiteral("auto"));
}

TEST_F(SetupModelTest, InternationalChecksOnOk)
{
    struct Case
    {
        const char* intNumber;
        const char* intSelector;
        int message; // 0: accepted
        const char* stored;
    };
    const Case cases[] = {
        {"+420", "00", 0, "420"},
        {"4+20", "00", 0, "4+20"},
        {"49", "", 0, "49"},
        {"", "00", 0, ""},
        {"+", "00", 0, ""},
        {"1809496", "011", 0, "1809496"},
        {"+4+2", "00", 57561, nullptr},
        {"42a", "00", 57561, nullptr},
        {"4 9", "00", 57561, nullptr},
        {"49", "+00", 57562, nullptr},
        {"49", "0x", 57562, nullptr},
        {"49", " 00", 57562, nullptr},
    };
    const QString card = cardFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.intNumber + std::string(" / ") + c.intSelector);
        prompter.messages.clear();
        ASSERT_EQ(state->readers().selectDevice(QStringLiteral("NOTHING")), CardStatus::Ok);
        SetupModel m = model();
        m.values().device = card;
        m.values().intNumber = QString::fromLatin1(c.intNumber);
        m.values().intSelector = QString::fromLatin1(c.intSelector);
        const bool accepted = m.accept();
        EXPECT_EQ(accepted, c.message == 0);
        if (c.message == 0) {
            EXPECT_TRUE(prompter.messages.empty());
            EXPECT_EQ(state->settings().intNumber, QString::fromLatin1(c.stored));
            EXPECT_EQ(state->settings().intSelector, QString::fromLatin1(c.intSelector));
        } else {
            ASSERT_EQ(prompter.messages.size(), 1U);
            EXPECT_EQ(prompter.messages[0], c.message);
            EXPECT_EQ(prompter.icons.back(), PromptIcon::Stop);
            // A refused field never reaches the reader.
            EXPECT_EQ(state->readers().currentReader(), nullptr);
        }
    }
    // Digits of other scripts are no dial digits.
    QString code;
    EXPECT_EQ(SetupModel::checkInternational(QStringLiteral("49"), QString::fromUtf8("\u0660\u0660"), code), 57562);
    EXPECT_EQ(SetupModel::checkInternational(QString::fromUtf8("\u0664\u0669"), QStringLiteral("00"), code), 57561);
}

TEST_F(SetupModelTest, OkOpensTheReaderAndSavesEverySetting)
{
    state->settings().sleepDelay = 7;
    state->settings().findStr = QStringLiteral("Novák");
    state->settings().email = QStringLiteral("shop@example.org");
    const QString card = cardFile();
    SetupModel m = model();
    SetupValues& v = m.values();
    v.device = card;
    v.autoRead = false;
    v.confirm = false;
    v.startWMin = true;
    v.enCache = false;
    v.prnHdrAdj = true;
    v.intNumber = QStringLiteral("+420");
    v.intSelector = QStringLiteral("00");
    v.language = QStringLiteral("en");
    ASSERT_TRUE(m.accept());
    EXPECT_TRUE(prompter.texts.empty());
    EXPECT_EQ(state->readers().currentDevice(), card);
    EXPECT_NE(state->readers().currentReader(), nullptr);

    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.allKeys().size(), 24);
    EXPECT_EQ(stored.value(QStringLiteral("general/language")).toString(), QStringLiteral("en"));
    EXPECT_EQ(stored.value(QStringLiteral("commData/device")).toString(), card);
    EXPECT_EQ(stored.value(QStringLiteral("commData/sleepDelay")).toInt(), 7);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/autoRead")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/confirm")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/scrFree")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/startWMin")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("confirmations/EnCache")).toInt(), 0);
    EXPECT_EQ(stored.value(QStringLiteral("findData/findStr")).toString(), QStringLiteral("Novák"));
    EXPECT_EQ(stored.value(QStringLiteral("SMSData/intNumber")).toString(), QStringLiteral("420"));
    EXPECT_EQ(stored.value(QStringLiteral("SMSData/intSelector")).toString(), QStringLiteral("00"));
    EXPECT_EQ(stored.value(QStringLiteral("PrintHdr/PrnHdrAdj")).toInt(), 1);
    EXPECT_EQ(stored.value(QStringLiteral("PrintHdr/Email")).toString(), QStringLiteral("shop@example.org"));
}

TEST_F(SetupModelTest, ADeviceThatCannotBeOpenedStoresNothing)
{
    const QString card = cardFile();
    ASSERT_EQ(state->readers().selectDevice(card), CardStatus::Ok);
    const struct
    {
        QString device;
        QString reason;
    } cases[] = {
        {QStringLiteral("COM3"), QStringLiteral("Correct COM port not set")},
        {QStringLiteral("LPT1"), QStringLiteral("Non-specific error")},
        // A card file that is not there: the reader manager's detail follows the status.
        {QStringLiteral("VIRTUAL:") + m_dir.filePath(QStringLiteral("missing.json")),
         QStringLiteral("Correct COM port not set (")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        prompter.texts.clear();
        SetupModel m = model();
        m.values().device = c.device;
        m.values().intNumber = QStringLiteral("420");
        EXPECT_FALSE(m.accept());
        ASSERT_EQ(prompter.texts.size(), 1U);
        EXPECT_TRUE(prompter.texts[0].text.startsWith(
            QStringLiteral("Reader inaccessible (use menu Other->Setup) via ") + c.device + kSeparator + c.reason))
            << prompter.texts[0].text.toStdString();
        EXPECT_EQ(prompter.texts[0].icon, PromptIcon::Exclamation);
        EXPECT_TRUE(storedKeys().isEmpty());
        EXPECT_EQ(state->settings().intNumber, QStringLiteral("49"));
        EXPECT_EQ(state->settings().scrFree, 0);
        EXPECT_EQ(state->readers().currentReader(), nullptr);
        EXPECT_EQ(state->readers().currentDevice(), QStringLiteral("NOTHING"));
    }
}

TEST_F(SetupModelTest, SearchTriesTheFirstPcscReaderOnly)
{
    plan->working = {QStringLiteral("PCSC:A")};
    SetupModel m = model({QStringLiteral("A"), QStringLiteral("B")});
    std::vector<QString> shown;
    EXPECT_EQ(m.findReader([&](const QString& d) { shown.push_back(d); }), CardStatus::Ok);
    EXPECT_TRUE(shown.empty()); // no search window for the PC/SC reader
    EXPECT_EQ(plan->tried, std::vector<QString>{QStringLiteral("PCSC:A")});
    EXPECT_EQ(m.values().device, QStringLiteral("PCSC:A"));
    ASSERT_EQ(prompter.texts.size(), 1U);
    EXPECT_EQ(prompter.texts[0].text, QStringLiteral("Smartcard reader is connected to port:  PCSC:A"));
    EXPECT_EQ(prompter.texts[0].icon, PromptIcon::Information);
}

TEST_F(SetupModelTest, SearchGoesThroughTheCandidatesInOrder)
{
    // The PC/SC reader fails, the other candidates are tried, the first that opens wins.
    plan->working = {QStringLiteral("COM5"), QStringLiteral("PCMCIA FY-1300")};
    SetupModel m = model({QStringLiteral("A")});
    std::vector<QString> shown;
    int ended = 0;
    const auto searchEnded = [&] {
        ++ended;
        EXPECT_TRUE(prompter.texts.empty()); // the search window goes before the outcome is told
    };
    EXPECT_EQ(m.findReader([&](const QString& d) { shown.push_back(d); }, searchEnded), CardStatus::Ok);
    EXPECT_EQ(ended, 1);
    const std::vector<QString> expected = {QStringLiteral("KVRI DRIVER"), QStringLiteral("COM1"),
                                           QStringLiteral("COM2"),        QStringLiteral("COM3"),
                                           QStringLiteral("COM4"),        QStringLiteral("COM5")};
    EXPECT_EQ(shown, expected);
    std::vector<QString> tried = expected;
    tried.insert(tried.begin(), QStringLiteral("PCSC:A"));
    EXPECT_EQ(plan->tried, tried);
    EXPECT_EQ(m.values().device, QStringLiteral("COM5"));
    EXPECT_EQ(state->readers().currentDevice(), QStringLiteral("COM5"));
}

TEST_F(SetupModelTest, FailedSearchKeepsTheReaderThatWasChosen)
{
    const QString card = cardFile();
    ASSERT_EQ(state->readers().selectDevice(card), CardStatus::Ok);
    SetupModel m = model();
    std::vector<QString> shown;
    EXPECT_NE(m.findReader([&](const QString& d) { shown.push_back(d); }), CardStatus::Ok);
    const QStringList candidates = SetupModel::defaultSearchCandidates();
    EXPECT_EQ(shown, std::vector<QString>(candidates.begin(), candidates.end()));
    EXPECT_EQ(m.values().device, card);
    EXPECT_NE(state->readers().currentReader(), nullptr);
    EXPECT_EQ(state->readers().currentDevice(), card);
    ASSERT_EQ(prompter.texts.size(), 1U);
    EXPECT_EQ(prompter.texts[0].text,
              QStringLiteral("No smartcard reader found!\nThe reader %1 stays in use.").arg(card));

    // With no reader in use before, none is left open and the choice stays.
    prompter.texts.clear();
    ASSERT_EQ(state->readers().selectDevice(QStringLiteral("NOTHING")), CardStatus::Ok);
    m.values().device = QStringLiteral("COM3");
    EXPECT_NE(m.findReader(), CardStatus::Ok);
    EXPECT_EQ(m.values().device, QStringLiteral("COM3"));
    EXPECT_EQ(state->readers().currentReader(), nullptr);
    EXPECT_EQ(prompter.messages, std::vector<int>{9510});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Information});
    // The card file that was current is still listed; nothing appears twice.
    EXPECT_EQ(QStringList(m.devices()).removeDuplicates(), 0);
    EXPECT_TRUE(m.devices().contains(card));
}

TEST_F(SetupModelTest, SearchWithoutOkKeepsTheReaderButNotTheSetting)
{
    const QString card = cardFile();
    {
        SetupModel m = model();
        m.setSearchCandidates({QStringLiteral("KVRI DRIVER"), card, QStringLiteral("COM1")});
        EXPECT_EQ(m.findReader(), CardStatus::Ok);
        EXPECT_EQ(m.values().device, card);
        // Found twice: the fixed entries are not added again.
        EXPECT_EQ(m.findReader(), CardStatus::Ok);
        EXPECT_EQ(QStringList(m.devices()).removeDuplicates(), 0);
        EXPECT_EQ(m.devices().back(), card);
    } // closed with Cancel
    EXPECT_EQ(state->readers().currentDevice(), card);
    EXPECT_NE(state->readers().currentReader(), nullptr);
    EXPECT_EQ(state->settings().device, QStringLiteral("COM2"));
    EXPECT_TRUE(storedKeys().isEmpty());
}

TEST_F(SetupModelTest, CountryCodeFromTheChooser)
{
    SetupModel m = model();
    m.takeCountryCode(QStringLiteral("+420"));
    EXPECT_EQ(m.values().intNumber, QStringLiteral("420"));
    m.takeCountryCode(QString());
    EXPECT_EQ(m.values().intNumber, QStringLiteral("420"));
    m.takeCountryCode(QStringLiteral("+1809496"));
    EXPECT_EQ(m.values().intNumber, QStringLiteral("1809496"));
}

} // namespace
} // namespace kestrel
