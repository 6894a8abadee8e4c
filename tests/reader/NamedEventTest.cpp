#include "reader/NamedEvent.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TempXdg.h"

using namespace kestrel;

TEST(NamedEvent, FlagFileFollowsTheState)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const test::ScopedEnvironmentVariable runtimeDir("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());

    const QString path = runtime.path() + QStringLiteral("/kestrel-events/") + kInsertionInhibitEvent;
    {
        // A flag left behind by a crashed run must not make the new event start set.
        QDir().mkpath(runtime.path() + QStringLiteral("/kestrel-events"));
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.close();

        NamedEvent event(kInsertionInhibitEvent);
        EXPECT_FALSE(event.isSet());
        EXPECT_FALSE(QFile::exists(path));
        event.set();
        EXPECT_TRUE(event.isSet());
        EXPECT_TRUE(QFile::exists(path));
        event.set(); // manual reset: setting twice keeps it set
        EXPECT_TRUE(event.isSet());
        event.reset();
        EXPECT_FALSE(QFile::exists(path));
        event.set();
    }
    // Destroying the event resets it.
    EXPECT_FALSE(QFile::exists(path));
}
