#include "app/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

class AppSettingsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("kestrel.conf")); }
};

TEST_F(AppSettingsTest, EmptyStoreGivesTheDefaults)
{
    AppSettings s = AppSettings::defaults();
    QSettings st(path(), QSettings::IniFormat);
    EXPECT_TRUE(s.LoadSettings(st).isOk());
    EXPECT_EQ(s.device, QStringLiteral("COM2"));
    EXPECT_EQ(s.sleepDelay, 3);
    EXPECT_EQ(s.autoRead, 1);
    EXPECT_EQ(s.confirm, 1);
    EXPECT_EQ(s.scrFree, 0);
    EXPECT_EQ(s.startWMin, 0);
    EXPECT_EQ(s.enCache, 1);
    EXPECT_EQ(s.intNumber, QStringLiteral("49"));
    EXPECT_EQ(s.intSelector, QStringLiteral("00"));
    EXPECT_TRUE(s.findStr.isEmpty());
    EXPECT_EQ(s.validPer, 0);
}

TEST_F(AppSettingsTest, SaveWritesEveryKeyUnderItsSectionAndLoadReadsItBack)
{
    AppSettings s = AppSettings::defaults();
    s.device = QStringLiteral("PCSC:Reader A");
    s.enCache = 0;
    s.unicodeNames = 1;
    s.findStr = QStringLiteral("Müller");
    s.intNumber = QStringLiteral("420");
    s.email = QStringLiteral("shop@example.org");
    {
        QSettings st(path(), QSettings::IniFormat);
        EXPECT_TRUE(s.SaveSettings(st).isOk());
    }
    QSettings st(path(), QSettings::IniFormat);
    const QStringList expected = {
        QStringLiteral("PrintHdr/Address"),
        QStringLiteral("PrintHdr/Email"),
        QStringLiteral("PrintHdr/Fax"),
        QStringLiteral("PrintHdr/Phone"),
        QStringLiteral("PrintHdr/Poznamka"),
        QStringLiteral("PrintHdr/PrnHdrAdj"),
        QStringLiteral("PrintHdr/Prodejce"),
        QStringLiteral("PrintHdr/Provozovna"),
        QStringLiteral("SMSData/intNumber"),
        QStringLiteral("SMSData/intSelector"),
        QStringLiteral("SMSData/servCenter"),
        QStringLiteral("SMSData/validPer"),
        QStringLiteral("commData/device"),
        QStringLiteral("commData/sleepDelay"),
        QStringLiteral("confirmations/EnCache"),
        QStringLiteral("confirmations/autoRead"),
        QStringLiteral("confirmations/confirm"),
        QStringLiteral("confirmations/scrFree"),
        QStringLiteral("confirmations/startWMin"),
        QStringLiteral("confirmations/unicodeNames"),
        QStringLiteral("findData/findStr"),
        QStringLiteral("findData/itemSrch"),
        QStringLiteral("findData/replStr"),
        QStringLiteral("general/language"),
    };
    QStringList keys = st.allKeys();
    keys.sort();
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    EXPECT_EQ(keys, sortedExpected);

    AppSettings back = AppSettings::defaults();
    back.LoadSettings(st);
    EXPECT_EQ(back.device, s.device);
    EXPECT_EQ(back.enCache, 0);
    EXPECT_EQ(back.unicodeNames, 1);
    EXPECT_EQ(back.findStr, s.findStr);
    EXPECT_EQ(back.intNumber, QStringLiteral("420"));
    EXPECT_EQ(back.email, s.email);
}

TEST_F(AppSettingsTest, AValueThatIsNoNumberKeepsTheDefault)
{
    {
        QSettings st(path(), QSettings::IniFormat);
        st.setValue(QStringLiteral("confirmations/confirm"), QStringLiteral("yes please"));
        st.setValue(QStringLiteral("confirmations/autoRead"), 0);
    }
    QSettings st(path(), QSettings::IniFormat);
    AppSettings s = AppSettings::defaults();
    s.LoadSettings(st);
    EXPECT_EQ(s.confirm, 1);
    EXPECT_EQ(s.autoRead, 0);
}

TEST_F(AppSettingsTest, AStoreThatCannotBeWrittenOrReadSaysSoAndKeepsTheValues)
{
    AppSettings s = AppSettings::defaults();
    s.device = QStringLiteral("PCSC:Reader A");
    {
        // A plain file where the store's folder would be.
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        QSettings st(dir.filePath(QStringLiteral("blocker/kestrel.conf")), QSettings::IniFormat);
        const Result saved = s.SaveSettings(st);
        EXPECT_EQ(saved.messageId(), 57686);
        EXPECT_EQ(saved.detail(), st.fileName());
    }
    // A folder where the store's file would be.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kestrel.conf")));
    QSettings st(path(), QSettings::IniFormat);
    const Result loaded = s.LoadSettings(st);
    EXPECT_EQ(loaded.messageId(), 57689);
    EXPECT_EQ(loaded.detail(), path());
    EXPECT_EQ(s.device, QStringLiteral("PCSC:Reader A"));
    EXPECT_EQ(s.confirm, 1);
}

} // namespace
} // namespace kestrel
