#pragma once

// Points the settings, the user's virtual card and the event flags (XDG_CONFIG_HOME,
// XDG_DATA_HOME, XDG_RUNTIME_DIR) into a temporary folder, so that no test touches those of the
// person running it.

#include <QTemporaryDir>
#include <QtGlobal>

namespace kestrel::test {

inline void useTemporaryXdg(const QTemporaryDir& dir)
{
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
}

} // namespace kestrel::test
