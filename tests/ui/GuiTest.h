#pragma once

// Shared by every GUI test program: one QApplication for the whole run (offscreen platform, set
// by CTest; forced here too so a test started by hand never opens windows on the desktop), and a
// fixture that points the settings, the virtual card and the event flags at a temporary folder.

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TempXdg.h"

namespace kestrel::test {

inline QApplication& guiApp()
{
    static int argc = 1;
    static char name[] = "kestrel-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

class GuiAppEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { guiApp(); }
};

inline ::testing::Environment* const kGuiAppEnvironment = ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

// A fixture whose XDG folders live in its own temporary directory.
class GuiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kestrel::test::useTemporaryXdg(m_dir);
    }
    QString tempPath(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace kestrel::test
