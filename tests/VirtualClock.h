#pragma once

#include <algorithm>
#include <chrono>

#include "emulator/SerialFace.h"

namespace kestrel::test {

// A clock that only moves when someone sleeps on it (or a test advances it): pacing and time-outs
// checked without timing luck, and a pulled card's time-outs cost no real time.
class VirtualClock final : public emulator::SerialFace::Clock
{
public:
    emulator::SerialFace::TimePoint now() override { return m_now; }
    void sleepUntil(emulator::SerialFace::TimePoint when) override { m_now = std::max(m_now, when); }
    void advance(std::chrono::nanoseconds by) { m_now += by; }

private:
    emulator::SerialFace::TimePoint m_now{std::chrono::hours(1)};
};

} // namespace kestrel::test
