#include "backup/BackupFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    ASSERT_EQ(saveBackupFile(path, first), 0);

    BackupContents second = first;
    setFixedText(second.phoneBook[0].name, "Second");
    second.validity = "24 hours";
    ASSERT_EQ(saveBackupFile(path, second), 0);

    BackupContents back;
    ASSERT_EQ(loadBackupFile(path, back), 0);
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
    EXPECT_EQ(saveBackupFile(dir.filePath(QStringLiteral("missing/dir/card.sim")), c), kBackupCannotCreate);
    EXPECT_EQ(loadBackupFile(dir.filePath(QStringLiteral("absent.sim")), c), kBackupCannotOpen);

    const QString broken = dir.filePath(QStringLiteral("broken.sim"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x0bSECTION_FOO", 12);
    f.close();
    c.phoneBookCount = 5;
    EXPECT_EQ(loadBackupFile(broken, c), kBackupStructureError);
    EXPECT_EQ(c.phoneBookCount, 0);
}
