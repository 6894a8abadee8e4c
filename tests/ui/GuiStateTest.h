#pragma once

// A GUI test fixture with the program's state (its settings in the test's temporary folder) and
// the Qt prompter on that state.

#include <memory>

#include <QSettings>

#include "GuiTest.h"
#include "app/AppState.h"
#include "ui/QtPrompter.h"

namespace kestrel::test {

class GuiStateTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        state = std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("settings.ini")), QSettings::IniFormat));
        prompter = std::make_unique<QtPrompter>(*state);
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<QtPrompter> prompter;
};

} // namespace kestrel::test
