// The reader driver library, played over the virtual card: libKVRINT.so for the tests.
//
// The driver keeps the reader running while it is open. Status, card on and off, the line and the
// memory-card read go to the virtual reader's own command bytes; transfers put the program's bytes
// on the card's I/O line and hand back everything that comes, echoes included, up to the receive
// capacity or until the time-out. Built with FAKE_KVRI_WITHOUT_ENTRY it exports its entry point
// under another name, as a library would that the program cannot use.

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "reader/fakes/FakeCardSlot.h"
#include "reader/fakes/FakeReaderHooks.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Resolver = void* (*)(uint32_t handle, uint32_t* length);

// Error codes this driver gives.
constexpr uint32_t kBadParameter = 87; // a request's argument is not what the driver takes
constexpr uint32_t kNotOpen = 6;       // a request before the driver was opened
constexpr uint32_t kUnknownFunction = 1;
constexpr uint32_t kNoReader = 1024; // the reader does not answer
constexpr uint32_t kNoCard = 129;
constexpr uint32_t kBadMemoryData = 1014;

struct State
{
    FakeCardSlot slot;
    Resolver resolver = nullptr;
    bool open = false;
    bool memoryMode = false;
    std::vector<FakeKvriRequest> log;
    uint32_t failFunction = 0;
    uint32_t failError = 0;
    int32_t failTimes = 0;
};

State& state()
{
    static State s;
    return s;
}

uint8_t* resolve(uint32_t handle, uint32_t& length)
{
    length = 0;
    if (!state().resolver || handle == 0)
        return nullptr;
    return static_cast<uint8_t*>(state().resolver(handle, &length));
}

uint32_t wordAt(const uint8_t* area, size_t offset)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(area[offset + i]) << (8 * i);
    return v;
}

uint8_t reverseBits(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        r = static_cast<uint8_t>((r << 1) | ((b >> i) & 1));
    return r;
}

uint32_t control(uint32_t number, const FakeKvriRequest& request)
{
    State& s = state();
    switch (number) {
    case 1:
        return s.slot.restartReader() ? 0 : kNoReader;
    case 2:
        s.slot.powerReader(false);
        return 0;
    case 3:
        return s.slot.restartReader() ? 0 : kNoReader;
    case 4: {
        if (!request.hasParameter || request.parameter != 0x81202580)
            return kBadParameter;
        if (!s.slot.readerRunning())
            return kNoReader;
        const std::vector<uint8_t> answer = s.slot.command(0x07, 3);
        if (answer.size() != 3 || answer[0] != 0x07)
            return kNoReader;
        // The card's answer to reset now waits on the line for the program's transfers.
        return (answer[1] & 0x40) ? 0 : kNoCard;
    }
    case 5: {
        if (!request.hasParameter || (request.parameter & 0xF0E00000) != 0x80200000)
            return kBadParameter;
        const uint32_t parityCode = (request.parameter >> 24) & 0x0F;
        const int baud = static_cast<int>(request.parameter & 0x001FFFFF);
        s.slot.face().setLine(baud, parityCode == 1 ? 1 : parityCode == 2 ? 2 : 0);
        return 0;
    }
    default:
        return kBadParameter;
    }
}

uint32_t readStatus(uint32_t& status)
{
    State& s = state();
    if (s.slot.cardPowered()) {
        // The reader passes bytes to the card; it still sees the card-detect switch.
        status = s.slot.present() ? 0x40 : 0;
        return 0;
    }
    const std::vector<uint8_t> answer = s.slot.command(0x01, 3);
    if (answer.size() != 3 || answer[0] != 0x01 || static_cast<uint8_t>(answer[1] + answer[2]) != 0)
        return kNoReader;
    status = answer[1];
    return 0;
}

uint32_t transfer(uint32_t dataHandle, uint32_t timeoutMs, uint32_t sendCount, uint32_t& capacity)
{
    uint32_t length = 0;
    uint8_t* data = resolve(dataHandle, length);
    if (!data || sendCount > length || capacity > length)
        return kBadParameter;
    for (uint32_t i = 0; i < sendCount; ++i)
        state().slot.face().hostWrite(data[i]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    uint32_t got = 0;
    while (got < capacity) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        const int b = state().slot.face().hostRead(static_cast<int>(std::max<int64_t>(left, 0)));
        if (b < 0)
            break;
        data[got++] = static_cast<uint8_t>(b);
    }
    capacity = got;
    return 0;
}

uint32_t readMemory(uint32_t areaHandle)
{
    State& s = state();
    uint32_t areaLength = 0;
    const uint8_t* area = resolve(areaHandle, areaLength);
    if (!area || areaLength < 132 || wordAt(area, 38) != 32 || wordAt(area, 42) != 0)
        return kBadParameter;
    uint32_t outLength = 0;
    uint8_t* out = resolve(wordAt(area, 46), outLength);
    if (!out || outLength < 32)
        return kBadParameter;
    if (!s.memoryMode)
        return kNoReader;
    // The reader shifts the bits in as they come, last first; the driver hands them over the right
    // way round and checks the sum.
    const std::vector<uint8_t> answer = s.slot.command(0x05, 34);
    if (answer.size() != 34 || answer[0] != 0x05)
        return kNoReader;
    uint8_t sum = 0;
    for (size_t i = 1; i < 34; ++i)
        sum = static_cast<uint8_t>(sum + answer[i]);
    if (sum != 0)
        return kBadMemoryData;
    for (size_t i = 0; i < 32; ++i)
        out[i] = reverseBits(answer[i + 1]);
    return 0;
}

uint32_t run(uint32_t function, uint32_t* data, uint32_t* argument, uint32_t* timeout, uint32_t* sendCount,
             uint32_t* capacity, const FakeKvriRequest& request)
{
    State& s = state();
    if (function == 0x7A02) {
        if (*argument != 1)
            return kBadParameter;
        s.open = true;
        s.memoryMode = false;
        return s.slot.restartReader() ? 0 : kNoReader;
    }
    if (!s.open)
        return kNotOpen;
    switch (function) {
    case 0x7A03:
        if (*argument != 1)
            return kBadParameter;
        s.open = false;
        s.slot.powerReader(false);
        return 0;
    case 0x7A0A:
        if (*argument != 0x1200)
            return kBadParameter;
        s.memoryMode = true;
        return s.slot.restartReader() ? 0 : kNoReader;
    case 0x7A20:
        if (*argument != 2)
            return kBadParameter;
        s.memoryMode = false;
        return s.slot.restartReader() ? 0 : kNoReader;
    case 0x7A11:
        return readStatus(*argument);
    case 0x7A13:
        return control(*argument, request);
    case 0x7A18:
        if (*argument != 0)
            return kBadParameter;
        return transfer(*data, *timeout, *sendCount, *capacity);
    case 0x7A36:
        return readMemory(*data);
    default:
        return kUnknownFunction;
    }
}

} // namespace

FAKE_EXPORT void KvrSetBufferResolver(Resolver resolver)
{
    state().resolver = resolver;
}

// The copy without its entry point exports it under a name the program does not look for.
#ifdef FAKE_KVRI_WITHOUT_ENTRY
#define KVR_ENTRY kvrEntryUnderAnotherName
#else
#define KVR_ENTRY _KvrDllEntry
#endif

FAKE_EXPORT void KVR_ENTRY(uint32_t* code, uint32_t* data, uint32_t* argument, uint32_t* timeout, uint32_t* sendCount,
                           uint32_t* capacity, uint32_t* flags)
{
    State& s = state();
    FakeKvriRequest request{};
    uint32_t* const words[7] = {data, timeout, argument, code, capacity, sendCount, flags};
    request.inOneBlock = 1;
    for (size_t i = 0; i < 7; ++i) {
        request.words[i] = *words[i];
        if (words[i] != data + i)
            request.inOneBlock = 0;
    }
    const uint32_t function = *code;
    if (function == 0x7A13 && *timeout != 0) {
        uint32_t length = 0;
        const uint8_t* parameter = resolve(*timeout, length);
        if (parameter && length >= 4) {
            request.hasParameter = 1;
            std::memcpy(&request.parameter, parameter, 4);
        }
    }
    if (function == 0x7A36) {
        uint32_t length = 0;
        const uint8_t* area = resolve(*data, length);
        if (area && length >= 132) {
            request.memoryLength = wordAt(area, 38);
            request.memoryStart = wordAt(area, 42);
            uint32_t outLength = 0;
            request.memoryAreaClean = resolve(wordAt(area, 46), outLength) && outLength == 32;
            for (size_t i = 0; i < length; ++i) {
                if ((i < 38 || i >= 50) && area[i] != 0)
                    request.memoryAreaClean = 0;
            }
        }
    }
    s.log.push_back(request);

    if (s.failTimes > 0 && (s.failFunction == 0 || s.failFunction == function)) {
        --s.failTimes;
        *code = s.failError;
        return;
    }
    *code = run(function, data, argument, timeout, sendCount, capacity, request);
}

FAKE_EXPORT void fakeKvriReset()
{
    State& s = state();
    s.slot.powerReader(false);
    s.slot.insert(kFakeSimCard);
    s.open = false;
    s.memoryMode = false;
    s.log.clear();
    s.failTimes = 0;
}

FAKE_EXPORT void fakeKvriInsert(int32_t card)
{
    state().slot.insert(card);
}

FAKE_EXPORT void fakeKvriFail(uint32_t function, uint32_t error, int32_t times)
{
    State& s = state();
    s.failFunction = function;
    s.failError = error;
    s.failTimes = times;
}

FAKE_EXPORT int32_t fakeKvriRequestCount()
{
    return static_cast<int32_t>(state().log.size());
}

FAKE_EXPORT int32_t fakeKvriRequestAt(int32_t index, FakeKvriRequest* out)
{
    const std::vector<FakeKvriRequest>& log = state().log;
    if (index < 0 || static_cast<size_t>(index) >= log.size() || !out)
        return 0;
    *out = log[static_cast<size_t>(index)];
    return 1;
}
