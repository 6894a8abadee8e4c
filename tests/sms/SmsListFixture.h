#pragma once

// An SMS list model over an AppState whose settings and virtual card live in a temporary folder,
// with a scripted Prompter and a view that records what it is told to redraw.

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "TempXdg.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "sms/SmsListModel.h"

namespace kestrel::test {

class SmsRecordingView final : public SmsListView
{
public:
    void redraw(int select, int first, int last) override { redraws.emplace_back(select, first, last); }

    std::vector<std::tuple<int, int, int>> redraws;
};

class SmsListFixture : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        useTemporaryXdg(m_dir);
        app = std::make_unique<AppState>(
            std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("kestrel.ini")), QSettings::IniFormat));
        model = std::make_unique<SmsListModel>(*app, prompter);
        model->setView(&view);
    }

    // The virtual card in a file of the temporary folder, opened as the program's card.
    void useCard(const emulator::SimCardData& card = emulator::StandardCard::simCard())
    {
        cardPath = m_dir.filePath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(card, cardPath, error)) << error.toStdString();
        ASSERT_EQ(app->openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
        app->createSimCard();
        prompter.pins = {std::string("1234")};
    }

    void setConfirm(bool on) { app->settings().confirm = on ? 1 : 0; }

    // Row `row` holds a used message with the given text ("+" in front of number for ton 1).
    SmsEntry& put(int row, const std::string& text, const std::string& number = "420777000111", int modified = 0)
    {
        SmsEntry& e = model->entry(row);
        e.valid = 1;
        e.status = static_cast<int32_t>(SmsStatus::ToBeSent);
        std::strncpy(e.text, text.c_str(), sizeof e.text - 1);
        const bool plus = !number.empty() && number[0] == '+';
        std::strncpy(e.number, number.c_str() + (plus ? 1 : 0), sizeof e.number - 1);
        e.numberTon = plus ? 1 : 0;
        std::strncpy(e.when, "7 days", sizeof e.when - 1);
        e.modified = modified;
        return e;
    }

    void select(std::initializer_list<int> rows)
    {
        model->clearSelection();
        for (int r : rows)
            model->setSelected(r, true);
    }

    std::string text(int row) const { return model->entry(row).text; }
    int position(int row) const { return model->entry(row).position; }
    bool used(int row) const { return model->entry(row).valid != 0; }
    bool modified(int row) const { return model->entry(row).modified != 0; }

    QTemporaryDir m_dir;
    QString cardPath;
    ScriptedPrompter prompter;
    SmsRecordingView view;
    std::unique_ptr<AppState> app;
    std::unique_ptr<SmsListModel> model;
};

} // namespace kestrel::test
