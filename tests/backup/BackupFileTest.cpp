#include "backup/BackupFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "codec/BackupStream.h"
#include "codec/FixedText.h"

using namespace kestrel;

TEST(BackupFile, SaveLoadAndReplace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("card.sim"));

    BackupContents first;
    first.phoneBookCount = 1;
    first.phoneBook[0].valid = 1;
    setFixedText(first.phoneBook[0].name, "First");
    ASSERT_TRUE(saveBackupFile(path, first).isOk());

    BackupContents second = first;
    setFixedText(second.phoneBook[0].name, "Second");
    second.validity = "24 hours";
    ASSERT_TRUE(saveBackupFile(path, second).isOk());

    BackupContents back;
    ASSERT_TRUE(loadBackupFile(path, back).isOk());
    EXPECT_EQ(fixedText(back.phoneBook[0].name), "Second");
    EXPECT_EQ(back.validity, "24 hours");
    // Nothing but the file itself is left in the folder (no temporary copies).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(BackupFile, Failures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    BackupContents c;
    EXPECT_EQ(saveBackupFile(dir.filePath(QStringLiteral("missing/dir/card.sim")), c).messageId(), kBackupCannotCreate);
    EXPECT_EQ(loadBackupFile(dir.filePath(QStringLiteral("absent.sim")), c).messageId(), kBackupCannotOpen);

    const QString broken = dir.filePath(QStringLiteral("broken.sim"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x0bSECTION_FOO", 12);
    f.close();
    c.phoneBookCount = 5;
    EXPECT_EQ(loadBackupFile(broken, c).messageId(), kBackupStructureError);
    EXPECT_EQ(c.phoneBookCount, 0);
}

// Open Backup File hands the file's SMS parameters to new messages.
TEST(BackupFile, SmsParametersBecomeTheSettingsOfNewMessages)
{
    struct Case
    {
        const char* centre;
        const char* validity;
        bool taken;
        int validPer;
    };
    const Case cases[] = {
        {"+420602909909", "7 days", true, 173},
        {"", "24 hours", true, 167},
        {"123", "01.02.03 04:05", true, 0}, // a date is no relative period
        {"123", "soon", true, 0},
        {"", "", false, 11},
    };
    for (const Case& c : cases) {
        BackupContents contents;
        contents.serviceCentre = c.centre;
        contents.validity = c.validity;
        AppSettings settings;
        settings.servCenter = QStringLiteral("+111");
        settings.validPer = 11;
        EXPECT_EQ(takeBackupSmsParameters(contents, settings), c.taken) << c.validity;
        EXPECT_EQ(settings.servCenter, c.taken ? QString::fromLatin1(c.centre) : QStringLiteral("+111"));
        EXPECT_EQ(settings.validPer, c.validPer) << c.validity;
    }
}
