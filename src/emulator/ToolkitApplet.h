#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "emulator/Icc.h"

namespace kestrel::emulator {

// The card's SIM Application Toolkit application (GSM 11.14): after TERMINAL PROFILE it offers a
// SET UP MENU with three items. "Services" (1) leads to a SELECT ITEM whose choice is answered
// with a DISPLAY TEXT, "Greeting" (2) to a GET INPUT whose text comes back in a DISPLAY TEXT,
// "About" (3) straight to a DISPLAY TEXT. One proactive command is pending or outstanding at a time.
class ToolkitApplet
{
public:
    enum Item : uint8_t
    {
        kMenuServices = 1,
        kMenuGreeting = 2,
        kMenuAbout = 3,
    };

    // Power-on: no session, no menu, numbering starts again.
    void reset();

    // TERMINAL PROFILE. A proactive card answers with the SET UP MENU pending (91 xx); otherwise
    // the profile is only taken note of (90 00).
    uint16_t terminalProfile(std::span<const uint8_t> profile, bool proactive);
    // FETCH of length bytes: the pending command, which then waits for its TERMINAL RESPONSE.
    CardResponse fetch(int length);
    uint16_t terminalResponse(std::span<const uint8_t> data);
    uint16_t envelope(std::span<const uint8_t> data);

    // 91 xx while a command waits to be fetched, else okWord.
    uint16_t withPending(uint16_t okWord) const;
    bool menuInstalled() const { return m_menuInstalled; }

private:
    enum class Stage
    {
        None,
        SetUpMenu,
        Services,
        Greeting,
        Display,
    };

    void queue(Stage stage, uint8_t type, uint8_t qualifier, std::vector<uint8_t> body);
    void queueDisplayText(const std::string& text);

    bool m_profileSeen = false;
    bool m_menuInstalled = false;
    uint8_t m_nextNumber = 1;
    std::vector<uint8_t> m_pending; // whole BER-TLV proactive command, not yet fetched
    Stage m_pendingStage = Stage::None;
    Stage m_outstanding = Stage::None; // fetched, waiting for its TERMINAL RESPONSE
    uint8_t m_details[3] = {};         // command details of the pending/outstanding command
};

} // namespace kestrel::emulator
