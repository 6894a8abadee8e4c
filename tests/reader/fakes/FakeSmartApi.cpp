// The PCMCIA reader's access library, played over the virtual card: libSMARTAPI.so for the tests.
//
// Register 2 = 0x0B powers the card through the virtual reader and puts its answer to reset,
// framed as the reader frames it (length byte, one byte that is not part of the answer, the
// answer), behind registers 1 and 0. Afterwards SmartWrite puts bytes on the card's I/O line and
// takes their echo off again, as the PCMCIA reader does not echo; SmartRead hands over what the
// card sent. Built with FAKE_SMARTAPI_WITHOUT_CWT it lacks GetSmartCWT.

#include <algorithm>
#include <deque>
#include <vector>

#include "reader/fakes/FakeCardSlot.h"
#include "reader/fakes/FakeReaderHooks.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int32_t kHandle = 5;

struct State
{
    FakeCardSlot slot;
    bool open = false;
    std::deque<uint8_t> activation; // behind registers 1 and 0
    std::deque<uint8_t> received;   // the data stream
    int32_t parity = 2;
    bool noAnswer = false;
    int32_t lengthByte = -1;
    bool notReady = false;
    bool failOpen = false;
    int32_t failRegister = -1;
    int32_t dropWrites = 0;
    std::vector<FakeSmartCall> log;
};

State& state()
{
    static State s;
    return s;
}

bool usable(int32_t handle, int32_t reg)
{
    const State& s = state();
    return s.open && handle == kHandle && reg != s.failRegister;
}

// Moves what the card has sent into the data stream.
void pump()
{
    State& s = state();
    for (int b = s.slot.face().hostRead(0); b >= 0; b = s.slot.face().hostRead(0))
        s.received.push_back(static_cast<uint8_t>(b));
}

void idle()
{
    State& s = state();
    s.slot.powerReader(false);
    s.slot.drain();
    s.activation.clear();
    s.received.clear();
}

void activate()
{
    State& s = state();
    idle();
    s.slot.restartReader();
    const std::vector<uint8_t> on = s.slot.command(0x07, 3);
    if (on.size() != 3 || !(on[1] & 0x40))
        return; // no card: nothing comes
    const std::vector<uint8_t> atr = s.slot.drain();
    if (s.noAnswer || atr.empty())
        return;
    const int length = s.lengthByte >= 0 ? s.lengthByte : static_cast<int>(atr.size()) + 1;
    s.activation.push_back(static_cast<uint8_t>(length));
    s.activation.push_back(0x00);
    s.activation.insert(s.activation.end(), atr.begin(), atr.end());
}

} // namespace

FAKE_EXPORT int32_t SmartOpen(int32_t port, int32_t inSize, int32_t outSize)
{
    State& s = state();
    s.log.push_back({kSmartOpOpen, port, inSize, outSize});
    if (s.failOpen)
        return -1;
    s.open = true;
    idle();
    return kHandle;
}

FAKE_EXPORT void SmartClose(int32_t handle)
{
    State& s = state();
    s.log.push_back({kSmartOpClose, handle, 0, 0});
    if (handle != kHandle)
        return;
    idle();
    s.open = false;
}

FAKE_EXPORT int32_t SmartInp(int32_t handle, int32_t reg)
{
    State& s = state();
    if (!usable(handle, reg))
        return -1;
    switch (reg) {
    case 0: {
        if (s.activation.empty())
            return 0xFF;
        const uint8_t b = s.activation.front();
        s.activation.pop_front();
        return b;
    }
    case 1:
        return s.activation.empty() ? 0x00 : 0x02;
    case 2:
        return (s.notReady ? 0x00 : 0x04) | (s.slot.present() ? 0x10 : 0x00);
    default:
        return 0;
    }
}

FAKE_EXPORT int32_t SmartOutp(int32_t handle, int32_t reg, int32_t value)
{
    State& s = state();
    s.log.push_back({kSmartOpOutp, reg, value, 0});
    if (!usable(handle, reg))
        return -1;
    if (reg == 2 && value == 0x80)
        idle();
    else if (reg == 2 && value == 0x0B)
        activate();
    else if (reg == 1 && (value == 0xFE || value == 0xDE || value == 0xCE)) {
        s.parity = value == 0xFE ? 2 : value == 0xDE ? 1 : 0;
        s.slot.face().setLine(kestrel::emulator::SerialFace::kReaderBaud, s.parity);
    } else if (reg == 4 && value == 0x80)
        s.activation.clear(); // the answer to reset is complete
    return 0;
}

FAKE_EXPORT int32_t SmartWrite(int32_t handle, const uint8_t* buffer, int32_t count)
{
    State& s = state();
    s.log.push_back({kSmartOpWrite, count, 0, 0});
    if (!usable(handle, -2) || !buffer || count < 0)
        return -1;
    if (s.dropWrites > 0) {
        --s.dropWrites;
        return count;
    }
    for (int32_t i = 0; i < count; ++i) {
        pump();
        s.slot.face().hostWrite(buffer[i]);
        if (s.slot.cardPowered())
            s.slot.face().hostRead(0); // the echo of the I/O line, which this reader keeps back
    }
    return count;
}

FAKE_EXPORT int32_t SmartRead(int32_t handle, uint8_t* buffer, int32_t count)
{
    State& s = state();
    if (!usable(handle, -2) || !buffer || count < 0) {
        s.log.push_back({kSmartOpRead, count, -1, 0});
        return -1;
    }
    pump();
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(s.received.size()));
    for (int32_t i = 0; i < n; ++i) {
        buffer[i] = s.received.front();
        s.received.pop_front();
    }
    s.log.push_back({kSmartOpRead, count, n, 0});
    return n;
}

FAKE_EXPORT int32_t GetSmartError(int32_t handle, int32_t* counts)
{
    if (!usable(handle, -2) || !counts)
        return -1;
    pump();
    counts[0] = static_cast<int32_t>(state().received.size());
    counts[1] = 0;
    return 0;
}

FAKE_EXPORT int32_t SetSmartCWT(int32_t /*handle*/, int32_t /*cwt*/)
{
    state().log.push_back({kSmartOpCwt, 0, 0, 0});
    return 0;
}

#ifndef FAKE_SMARTAPI_WITHOUT_CWT
FAKE_EXPORT int32_t GetSmartCWT(int32_t /*handle*/)
{
    state().log.push_back({kSmartOpCwt, 1, 0, 0});
    return 0;
}
#endif

FAKE_EXPORT void fakeSmartReset()
{
    State& s = state();
    idle();
    s.slot.insert(kFakeSimCard);
    s.open = false;
    s.parity = 2;
    s.slot.face().setLine(kestrel::emulator::SerialFace::kReaderBaud, s.parity);
    s.noAnswer = false;
    s.lengthByte = -1;
    s.notReady = false;
    s.failOpen = false;
    s.failRegister = -1;
    s.dropWrites = 0;
    s.log.clear();
}

FAKE_EXPORT void fakeSmartInsert(int32_t card)
{
    state().slot.insert(card);
}

FAKE_EXPORT void fakeSmartSet(int32_t fault, int32_t value)
{
    State& s = state();
    switch (fault) {
    case kSmartNoAnswer:
        s.noAnswer = value != 0;
        break;
    case kSmartLengthByte:
        s.lengthByte = value;
        break;
    case kSmartNotReady:
        s.notReady = value != 0;
        break;
    case kSmartFailOpen:
        s.failOpen = value != 0;
        break;
    case kSmartFailRegister:
        s.failRegister = value;
        break;
    case kSmartDropWrites:
        s.dropWrites = value;
        break;
    default:
        break;
    }
}

FAKE_EXPORT int32_t fakeSmartCallCount()
{
    return static_cast<int32_t>(state().log.size());
}

FAKE_EXPORT int32_t fakeSmartCallAt(int32_t index, FakeSmartCall* out)
{
    const std::vector<FakeSmartCall>& log = state().log;
    if (index < 0 || static_cast<size_t>(index) >= log.size() || !out)
        return 0;
    *out = log[static_cast<size_t>(index)];
    return 1;
}

FAKE_EXPORT int32_t fakeSmartParity()
{
    return state().parity;
}
