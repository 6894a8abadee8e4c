#pragma once

// A Prompter for tests: answers come from queues, everything asked and shown is recorded.

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/Prompter.h"

namespace kestrel::test {

class ScriptedPrompter final : public Prompter
{
public:
    using Fields = std::array<std::string, 3>;

    PromptAnswer question(int textId, PromptButtons, PromptIcon) override
    {
        questions.push_back(textId);
        if (answers.empty())
            return PromptAnswer::No; // the safe answer
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void message(int textId, PromptIcon icon) override
    {
        messages.push_back(textId);
        icons.push_back(icon);
    }
    void messageText(const QString& text, PromptIcon icon) override { texts.push_back({text, icon}); }
    PromptAnswer questionText(const QString& text, PromptButtons, PromptIcon) override
    {
        questionTexts.push_back(text);
        if (answers.empty())
            return PromptAnswer::No;
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void showCardError(const QString& text) override { errors.push_back(text); }
    std::optional<SecretText> askPin(int chv) override
    {
        pinPrompts.push_back(chv);
        return next(pins);
    }

    std::optional<uint8_t> selectToolkitItem(const QString& title, const std::vector<ToolkitChoice>& entries) override
    {
        itemTitles.push_back(title);
        itemEntries.push_back(entries);
        if (items.empty())
            return std::nullopt;
        const std::optional<uint8_t> a = items.front();
        items.pop_front();
        return a;
    }
    std::optional<QString> inputToolkitText(const QString& prompt) override
    {
        inputPrompts.push_back(prompt);
        if (inputs.empty())
            return std::nullopt;
        const std::optional<QString> a = inputs.front();
        inputs.pop_front();
        return a;
    }
    void showToolkitText(const QString& text) override { toolkitTexts.push_back(text); }
    bool showsCancelInStatus() const override { return cancelInStatus; }

    bool cancelInStatus = false; // as the desktop: a cancel is told by the status line

    std::deque<PromptAnswer> answers;
    std::deque<std::optional<uint8_t>> items;  // SELECT ITEM choices (nullopt: cancelled)
    std::deque<std::optional<QString>> inputs; // GET INPUT texts (nullopt: cancelled)
    std::vector<QString> itemTitles;
    std::vector<std::vector<ToolkitChoice>> itemEntries;
    std::vector<QString> inputPrompts;
    std::vector<QString> toolkitTexts;
    std::deque<std::optional<std::string>> pins;
    std::deque<std::optional<Fields>> changeFields;
    std::deque<std::optional<Fields>> unblockFields;

    std::vector<int> questions;
    std::vector<QString> questionTexts; // questions with composed texts (questionText)
    std::vector<int> messages;
    std::vector<PromptIcon> icons;
    std::vector<QString> errors;
    struct ShownText
    {
        QString text;
        PromptIcon icon;
    };
    std::vector<ShownText> texts; // messages with composed texts (messageText)
    std::vector<int> pinPrompts;
    std::vector<int> changeDialogs;    // chv of each dialog shown
    std::vector<int> unblockDialogs;   // chv of each dialog shown
    std::vector<std::string> keptPuks; // the unblock code a repeated dialog was filled with

protected:
    std::optional<PinFields> enterPinChange(int chv, const PinFields*) override
    {
        changeDialogs.push_back(chv);
        return nextFields(changeFields);
    }
    std::optional<PinFields> enterUnblock(int chv, const PinFields* previous) override
    {
        unblockDialogs.push_back(chv);
        if (previous)
            keptPuks.emplace_back(previous->first.view());
        return nextFields(unblockFields);
    }

private:
    static std::optional<SecretText> next(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        std::optional<std::string> a = queue.front();
        queue.pop_front();
        if (!a)
            return std::nullopt;
        return SecretText(*a);
    }
    static std::optional<PinFields> nextFields(std::deque<std::optional<Fields>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        std::optional<Fields> f = queue.front();
        queue.pop_front();
        if (!f)
            return std::nullopt;
        PinFields fields;
        fields.first.assign((*f)[0]);
        fields.newPin.assign((*f)[1]);
        fields.again.assign((*f)[2]);
        return fields;
    }
};

} // namespace kestrel::test
