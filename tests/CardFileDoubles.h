#pragma once

// Test doubles for the card-file tests: PIN prompts answered from a queue and a progress window
// that records what it is shown and presses Abort when told to.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "sim/PinPrompt.h"
#include "sim/ProgressSink.h"

namespace kestrel::test {

// Answers PIN prompts from a queue (nullopt or an empty queue: the prompt is closed) and notes
// which code each prompt asked for.
class QueuedPinPrompt final : public PinPrompt
{
public:
    std::optional<SecretText> askPin(int chv) override
    {
        asked.push_back(chv);
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        if (!a)
            return std::nullopt;
        return SecretText(*a);
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<int> asked;
};

// Records caption, texts and percentages; processEvents reports Abort at poll abortAtPoll
// (counted from 1) and at every poll after it.
class RecordingProgress final : public ProgressSink
{
public:
    bool open() override
    {
        ++opened;
        return true;
    }
    void close() override { ++closed; }
    void setCaption(const QString& c) override { caption = c; }
    void setText(const QString& t) override { texts.push_back(t); }
    void setPercent(int p) override { percents.push_back(p); }
    bool processEvents() override
    {
        ++polls;
        return abortAtPoll > 0 && polls >= abortAtPoll;
    }

    int abortAtPoll = -1;
    int opened = 0;
    int closed = 0;
    int polls = 0;
    QString caption;
    std::vector<QString> texts;
    std::vector<int> percents;
};

} // namespace kestrel::test
