#pragma once

// A phone book window's model without a window or a card: settings in a temporary ini file, a
// scripted Prompter, and a view that records what it was asked to redraw (PhoneBookFixture.h's).

#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "PhoneBookFixture.h"
#include "ScriptedPrompter.h"
#include "app/AppState.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel::test {

class PhoneBookToolsTest : public ::testing::Test
{
protected:
    PhoneBookToolsTest()
    {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            qputenv(name, m_dir.path().toLocal8Bit());
        app = std::make_unique<AppState>(std::make_unique<QSettings>(iniPath(), QSettings::IniFormat));
        model = std::make_unique<PhoneBookModel>(DialBook::Adn, *app, prompter);
        model->setView(&view);
    }

    QString iniPath() const { return m_dir.filePath(QStringLiteral("kestrel.ini")); }
    QString filePath(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // Makes row a valid entry; the number text may start with "+" (ton 1).
    DialEntry& put(int row, std::string_view name, std::string_view number)
    {
        DialEntry& e = model->entry(row);
        e.valid = 1;
        setFixedText(e.name, name);
        uint8_t ton = 0;
        setFixedText(e.number, SplitPlus(number, ton));
        e.ton = ton;
        e.modified = 0;
        return e;
    }

    std::string name(int row) const { return std::string(fixedText(model->entry(row).name)); }
    // The number as the lists export it: "+" in front when ton is 1.
    std::string number(int row) const
    {
        const DialEntry& e = model->entry(row);
        return JoinPlus(fixedText(e.number), e.ton);
    }

    QTemporaryDir m_dir;
    ScriptedPrompter prompter;
    RecordingView view;
    std::unique_ptr<AppState> app;
    std::unique_ptr<PhoneBookModel> model;
};

} // namespace kestrel::test
