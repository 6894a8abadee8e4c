#pragma once

// Points the settings, the user's virtual card and the event flags (XDG_CONFIG_HOME,
// XDG_DATA_HOME, XDG_RUNTIME_DIR) into a temporary folder, so that no test touches those of the
// person running it. QSettings reads XDG_CONFIG_HOME only once in a process, so its user folder is
// pointed there as well: the settings a test writes are where a program started from it reads them.

#include <optional>

#include <QByteArray>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

namespace kestrel::test {

// Sets one environment variable for the object's lifetime and then puts back what was there (or
// unsets it again), so that a test does not leave it to the tests after it in the same program.
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable(const char* name, const QByteArray& value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_saved = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnvironmentVariable()
    {
        if (m_saved)
            qputenv(m_name, *m_saved);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_saved;
};

inline void useTemporaryXdg(const QTemporaryDir& dir)
{
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
}

} // namespace kestrel::test
