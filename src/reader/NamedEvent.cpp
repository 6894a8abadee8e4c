#include "reader/NamedEvent.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

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
    const QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!base.isEmpty())
        return base + QStringLiteral("/kestrel-events");
    // No runtime directory (a session without a login manager): a per-user folder in /tmp.
    return QDir::tempPath() + QStringLiteral("/kestrel-events-%1").arg(getuid());
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
