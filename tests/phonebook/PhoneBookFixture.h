#pragma once

// A phone book model over an AppState whose settings, virtual card and event flags live in a
// temporary folder, with a scripted Prompter and a view that records what it is told to redraw.

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "app/AppState.h"
#include "phonebook/PhoneBookModel.h"
#include "TempXdg.h"

namespace kestrel::test {

class RecordingView final : public PhoneBookView
{
public:
    void redraw(int select, int first, int last) override { redraws.emplace_back(select, first, last); }
    void selectionChanged() override { ++selectionChanges; }

    std::vector<std::tuple<int, int, int>> redraws;
    int selectionChanges = 0;
};

// Members are public so that table-driven cases can prepare the fixture through a reference.
class PhoneBookFixture : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kestrel::test::useTemporaryXdg(m_dir);
        app = std::make_unique<AppState>(
            std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("kestrel.ini")), QSettings::IniFormat));
        model = std::make_unique<PhoneBookModel>(DialBook::Adn, *app, prompter);
        model->setView(&view);
    }

    void setConfirm(bool on) { app->settings().confirm = on ? 1 : 0; }

    // Row `row` holds a valid entry with the given name and number ("+" for ton 1); its position
    // stays the row's.
    void put(int row, const std::string& name, const std::string& number, int modified = 0)
    {
        DialEntry& e = model->entry(row);
        e.valid = 1;
        std::strncpy(e.name, name.c_str(), sizeof e.name - 1);
        const bool plus = !number.empty() && number[0] == '+';
        std::strncpy(e.number, number.c_str() + (plus ? 1 : 0), sizeof e.number - 1);
        e.ton = plus ? 1 : 0;
        e.modified = modified;
    }

    void select(std::initializer_list<int> rows)
    {
        model->clearSelection();
        for (int r : rows)
            model->setSelected(r, true);
    }

    std::string name(int row) const { return model->entry(row).name; }
    std::string number(int row) const { return model->entry(row).number; }
    int position(int row) const { return model->entry(row).position; }
    bool valid(int row) const { return model->entry(row).valid != 0; }
    bool modified(int row) const { return model->entry(row).modified != 0; }

    QString tempPath(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    ScriptedPrompter prompter;
    RecordingView view;
    std::unique_ptr<AppState> app;
    std::unique_ptr<PhoneBookModel> model;
};

} // namespace kestrel::test
