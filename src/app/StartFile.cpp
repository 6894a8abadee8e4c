#include "app/StartFile.h"

#include <QFileInfo>

namespace kestrel {

StartFileKind startFileKind(const QString& path)
{
    struct Ending
    {
        const char* suffix;
        StartFileKind kind;
    };
    static constexpr Ending kEndings[] = {
        {"dia", StartFileKind::PhoneBook},  {"vcf", StartFileKind::PhoneBook}, {"csv", StartFileKind::PhoneBook},
        {"sms", StartFileKind::Messages},   {"sma", StartFileKind::Messages},  {"sim", StartFileKind::Backup},
        {"json", StartFileKind::CardImage},
    };
    const QString suffix = QFileInfo(path).suffix();
    for (const Ending& e : kEndings) {
        if (suffix.compare(QLatin1String(e.suffix), Qt::CaseInsensitive) == 0)
            return e.kind;
    }
    return StartFileKind::Unknown;
}

QString cardImageDevice(const QString& path)
{
    return QStringLiteral("VIRTUAL:") + QFileInfo(path).absoluteFilePath();
}

} // namespace kestrel
