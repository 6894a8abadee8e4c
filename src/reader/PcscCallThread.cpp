#include "reader/PcscCallThread.h"

#include <chrono>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrel {

namespace {

constexpr std::chrono::milliseconds kCancelCheckInterval{100};
// A command through the service takes some 100 us. Waking a sleeping thread costs a good part of
// that, so each side first looks for the other for a short while (yielding the processor) before
// it sleeps.
constexpr std::chrono::microseconds kCallerLook{250};
constexpr std::chrono::microseconds kThreadLook{100};

template <typename Ready>
bool lookFor(std::chrono::microseconds span, Ready&& ready)
{
    const auto until = std::chrono::steady_clock::now() + span;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

// Shared with the thread, which may outlive its owner while it is held in a call.
struct PcscCallThread::State
{
    std::mutex mutex;
    std::condition_variable changed;
    std::function<long()> call;
    std::function<void()> cleanup;
    std::atomic<bool> pending = false;
    std::atomic<bool> done = false;
    std::atomic<bool> quit = false;
    long result = 0;
};

PcscCallThread::PcscCallThread() : m_state(std::make_shared<State>())
{
    std::thread([state = m_state] {
        std::unique_lock lock(state->mutex);
        for (;;) {
            const auto wanted = [&] { return state->pending.load() || state->quit.load(); };
            if (!wanted()) {
                lock.unlock();
                lookFor(kThreadLook, wanted);
                lock.lock();
            }
            state->changed.wait(lock, wanted);
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
    m_state->done = false;
    m_state->pending = true;
    m_state->changed.notify_all();
    lock.unlock();
    lookFor(kCallerLook, [&] { return m_state->done.load(); });
    lock.lock();
    for (;;) {
        const auto until = std::min(deadline, std::chrono::steady_clock::now() + kCancelCheckInterval);
        if (m_state->changed.wait_until(lock, until, [&] { return m_state->done.load(); })) {
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
