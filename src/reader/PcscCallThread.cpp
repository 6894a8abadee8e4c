#include "reader/PcscCallThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrel {

namespace {

constexpr std::chrono::milliseconds kCancelCheckInterval{100};

} // namespace

// Shared with the thread, which may outlive its owner while it is held in a call.
struct PcscCallThread::State
{
    std::mutex mutex;
    std::condition_variable changed;
    std::function<long()> call;
    std::function<void()> cleanup;
    bool pending = false;
    bool done = false;
    bool quit = false;
    long result = 0;
};

PcscCallThread::PcscCallThread() : m_state(std::make_shared<State>())
{
    std::thread([state = m_state] {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->changed.wait(lock, [&] { return state->pending || state->quit; });
            if (state->quit) {
                std::function<void()> cleanup = std::move(state->cleanup);
                lock.unlock();
                if (cleanup)
                    cleanup();
                return;
            }
            std::function<long()> call = std::move(state->call);
            state->pending = false;
            lock.unlock();
            const long result = call();
            lock.lock();
            state->result = result;
            state->done = true;
            state->changed.notify_all();
        }
    }).detach();
}

PcscCallThread::~PcscCallThread()
{
    std::lock_guard lock(m_state->mutex);
    m_state->quit = true;
    m_state->changed.notify_all();
}

void PcscCallThread::abandon(std::function<void()> cleanup)
{
    std::lock_guard lock(m_state->mutex);
    m_state->cleanup = std::move(cleanup);
    m_state->quit = true;
    m_state->changed.notify_all();
}

PcscCallThread::Outcome PcscCallThread::run(std::function<long()> call, int limitMs,
                                            const std::function<bool()>& cancel, long& result)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    std::unique_lock lock(m_state->mutex);
    m_state->call = std::move(call);
    m_state->pending = true;
    m_state->done = false;
    m_state->changed.notify_all();
    for (;;) {
        const auto until = std::min(deadline, std::chrono::steady_clock::now() + kCancelCheckInterval);
        if (m_state->changed.wait_until(lock, until, [&] { return m_state->done; })) {
            result = m_state->result;
            return Outcome::Done;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_stuck = true;
            return Outcome::TimedOut;
        }
        lock.unlock();
        const bool cancelled = cancel && cancel();
        lock.lock();
        if (cancelled && !m_state->done) {
            m_stuck = true;
            return Outcome::Cancelled;
        }
    }
}

} // namespace kestrel
