#pragma once

#include <functional>
#include <memory>

namespace kestrel {

// pcsc-lite lets a call wait as long as the card and the reader driver make it (a card that keeps
// asking for more time holds SCardTransmit without end). PcscCallThread makes one call at a time
// on a thread of its own and waits for it with a time limit, asking a cancel check every 100 ms,
// so that the program's own limits hold. A call that does not come back is left to itself: the
// thread stays in it, and this object must not be given another call (stuck()). The call must
// own what it works on, since it may outlive the caller's wait.
class PcscCallThread
{
public:
    enum class Outcome
    {
        Done,
        TimedOut,
        Cancelled,
    };

    PcscCallThread();
    ~PcscCallThread();
    PcscCallThread(const PcscCallThread&) = delete;
    PcscCallThread& operator=(const PcscCallThread&) = delete;

    // Runs call and waits at most limitMs for it; result is its value when it came back (Done).
    Outcome run(std::function<long()> call, int limitMs, const std::function<bool()>& cancel, long& result);
    bool stuck() const { return m_stuck; }
    // For a stuck call: cleanup runs on the thread once the call comes back (if it ever does), and
    // the thread then ends. The object may go at once.
    void abandon(std::function<void()> cleanup);

private:
    struct State;
    std::shared_ptr<State> m_state;
    bool m_stuck = false;
};

} // namespace kestrel
