#include "reader/NamedEvent.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace kestrel {

NamedEvent::NamedEvent(const QString& name) : m_name(name), m_path(eventDirectory() + QLatin1Char('/') + name)
{
    reset();
}

NamedEvent::~NamedEvent()
{
    reset();
}

QString NamedEvent::eventDirectory()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return base + QStringLiteral("/kestrel-events");
}

void NamedEvent::set()
{
    QDir().mkpath(eventDirectory());
    QFile flag(m_path);
    if (flag.open(QIODevice::WriteOnly | QIODevice::Truncate))
        flag.close();
}

void NamedEvent::reset()
{
    QFile::remove(m_path);
}

bool NamedEvent::isSet() const
{
    return QFile::exists(m_path);
}

} // namespace kestrel
