#pragma once

#include <functional>

#include <QString>

#include "app/CardOperation.h"

namespace kestrel {

// What the main window shows of the state of things: the reader in use, whether a card is in it,
// its ICCID and phase once read, the state of PIN1, the last card operation and its result, and a
// status line saying what the program is doing. Kept up to date by the frame of every card
// operation (it is the Prompter's operation listener); the window only shows its texts.
class MainStatus final : public CardOperationListener
{
public:
    // Where the name of the reader in use comes from ("NOTHING" when none is open).
    using DeviceSource = std::function<QString()>;

    explicit MainStatus(DeviceSource device);

    void operationStarted(int captionId) override;
    void operationFinished(const CardOperationReport& report) override;

    // Called after every change; also to be called when the reader changed (Setup).
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }
    void changed();

    enum class Card
    {
        NotRead,
        Present,
        Absent,
    };
    Card card() const { return m_card; }
    bool busy() const { return m_depth > 0; }

    // The panel's lines; a line with nothing to say yet is empty.
    struct Lines
    {
        QString reader;
        QString card;
        QString iccid;
        QString phase;
        QString pin1;
        QString last;
    };
    Lines lines() const;
    // The status bar: the operation running, else the result of the last one, else "Ready".
    QString statusLine() const;

private:
    // The caption without the program's name in front ("Kestrel! - Reading Phone Book").
    static QString operationName(int captionId);
    QString resultText() const;
    // "Reading Phone Book: O.K."
    QString outcome() const;
    QString pin1Text() const;

    DeviceSource m_device;
    std::function<void()> m_onChange;
    int m_depth = 0;
    int m_runningCaption = 0;
    Card m_card = Card::NotRead;
    bool m_known = false; // the fields below hold
    std::array<uint8_t, 10> m_iccid{};
    int m_phase = 0;
    uint32_t m_flags = 0;
    int m_chv1TriesLeft = -1;
    bool m_anyOperation = false;
    CardOperationReport m_last;
};

} // namespace kestrel
