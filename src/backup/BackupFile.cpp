#include "backup/BackupFile.h"

#include <vector>

#include <QFile>
#include <QSaveFile>

#include "app/AppSettings.h"
#include "codec/BackupStream.h"
#include "codec/PcText.h"
#include "codec/SmsTime.h"

namespace kestrel {

namespace {

// Far above any real backup (a full card is below 100 KiB); larger files are not ours.
constexpr qint64 kMaxBackupFileSize = 16 * 1024 * 1024;

} // namespace

Result saveBackupFile(const QString& path, const BackupContents& contents)
{
    const std::vector<uint8_t> bytes = writeBackupStream(contents);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result::failure(kBackupCannotCreate);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        file.cancelWriting();
        return Result::failure(kBackupWriteError);
    }
    if (!file.commit())
        return Result::failure(kBackupWriteError);
    return Result::ok();
}

Result loadBackupFile(const QString& path, BackupContents& contents)
{
    contents = BackupContents{};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failure(kBackupCannotOpen);
    if (file.size() > kMaxBackupFileSize)
        return Result::failure(kBackupStructureError);
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Result::failure(kBackupReadError);
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    const int read = readBackupStream({bytes, static_cast<std::size_t>(data.size())}, contents);
    if (read == kBackupReadOk)
        return Result::ok();
    contents = BackupContents{};
    return Result::failure(read);
}

bool takeBackupSmsParameters(const BackupContents& contents, AppSettings& settings)
{
    if (contents.serviceCentre.empty() && contents.validity.empty())
        return false;
    settings.servCenter = pcTextToUnicode(contents.serviceCentre);
    settings.validPer = RelativeValidity(contents.validity);
    return true;
}

} // namespace kestrel
