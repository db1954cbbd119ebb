// The reading threads shared by every reader of the process.
#include "GlazeCore/json/Workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace GlazeCore;

namespace {

/// Every reading thread held by a task of another Workers until released, so no thread is free for new tasks.
class BusyThreads {
public:
    BusyThreads() {
        for (std::size_t i = 0; i < Json::Workers::threads(); ++i)
            m_elsewhere.run([this] {
                std::unique_lock guard(lock);
                ++m_busy;
                changed.notify_all();
                changed.wait(guard, [this] { return released; });
            });
        std::unique_lock guard(lock);
        changed.wait(guard, [this] { return m_busy == Json::Workers::threads(); });
    }
    ~BusyThreads() {
        release();
        m_elsewhere.finish();
    }
    BusyThreads(const BusyThreads&) = delete;
    BusyThreads& operator=(const BusyThreads&) = delete;

    /// Lets the threads go; whether they had been let go already.
    bool release() {
        std::lock_guard guard(lock);
        const bool was = std::exchange(released, true);
        changed.notify_all();
        return was;
    }

    std::mutex lock;
    std::condition_variable changed;
    bool released = false;

private:
    std::size_t m_busy = 0;
    // Last, so that its tasks end before the lock they wait on goes.
    Json::Workers m_elsewhere;
};

} // namespace

// Finishing does not wait for a thread to come free: with every reading thread busy elsewhere, the tasks not yet
// started run on the finishing thread, in the order given.
TEST(Workers, FinishingRunsTheTasksNotYetStartedItself) {
    BusyThreads busy;
    // Should finishing wait for a thread after all, the busy ones come free in a while, and the checks below fail. The
    // while is long enough that no load on the machine makes three small tasks take it.
    std::thread releaser([&] {
        std::unique_lock guard(busy.lock);
        busy.changed.wait_for(guard, std::chrono::seconds(30), [&] { return busy.released; });
        busy.released = true;
        busy.changed.notify_all();
    });

    std::vector<std::pair<int, std::thread::id>> ran;
    {
        Json::Workers workers;
        for (int i = 0; i < 3; ++i)
            workers.run([&, i] {
                std::lock_guard guard(busy.lock);
                ran.emplace_back(i, std::this_thread::get_id());
            });
        workers.finish();
    }
    const bool finishedFirst = !busy.release();
    releaser.join();
    EXPECT_TRUE(finishedFirst);
    const std::thread::id self = std::this_thread::get_id();
    EXPECT_EQ(ran, (std::vector<std::pair<int, std::thread::id>>{{0, self}, {1, self}, {2, self}}));
}

namespace {

/// Ends the process, saying why, should a test still run after `limit`: a task's end left uncounted has finishing
/// wait for ever.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock guard(m_lock);
              if (m_changed.wait_for(guard, limit, [this] { return m_stopped; })) return;
              std::fprintf(stderr, "Still waiting for the tasks after %lld s.\n",
                           static_cast<long long>(limit.count()));
              std::abort();
          }) {}
    ~Watchdog() {
        {
            std::lock_guard guard(m_lock);
            m_stopped = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_stopped = false;
    std::thread m_thread;
};

/// A task that says it started, then throws `what`.
std::function<void()> throwing(const char* what, std::mutex& lock, std::condition_variable& changed, bool& started) {
    return [what, &lock, &changed, &started] {
        {
            std::lock_guard guard(lock);
            started = true;
        }
        changed.notify_all();
        throw std::runtime_error(what);
    };
}

std::string thrownBy(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "nothing thrown";
}

} // namespace

// A task that throws on a reading thread ends only itself: the others run, finishing throws its error once, and a
// Workers left while a task throws still ends.
TEST(Workers, AnErrorOnAReadingThreadReachesFinishingOnce) {
    const Watchdog watchdog(std::chrono::seconds(20));
    std::mutex lock;
    std::condition_variable changed;
    bool started = false;
    std::atomic<int> ran{0};
    {
        Json::Workers workers;
        for (int i = 0; i < 20; ++i)
            workers.run([&ran] { ++ran; });
        workers.run(throwing("bad run", lock, changed, started));
        {
            std::unique_lock guard(lock);
            changed.wait(guard, [&] { return started; });
        }
        EXPECT_EQ(thrownBy([&] { workers.finish(); }), "bad run");
        EXPECT_EQ(ran, 20);
        EXPECT_EQ(thrownBy([&] { workers.finish(); }), "nothing thrown");
    }
    started = false;
    {
        Json::Workers left;
        left.run(throwing("never heard", lock, changed, started));
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return started; });
    }
}

// On the finishing thread too: with every reading thread busy elsewhere, the tasks after the one that throws still
// run, in order, and the first error is the one thrown.
TEST(Workers, AnErrorOnTheFinishingThreadLeavesTheOtherTasksToRun) {
    const Watchdog watchdog(std::chrono::seconds(20));
    const BusyThreads busy;
    std::mutex lock;
    std::condition_variable changed;

    std::vector<int> ran;
    Json::Workers workers;
    bool started = false;
    workers.run([&ran] { ran.push_back(1); });
    workers.run(throwing("second", lock, changed, started));
    workers.run([&ran] { ran.push_back(3); });
    workers.run([] { throw std::runtime_error("fourth"); });
    workers.run([&ran] { ran.push_back(5); });
    EXPECT_EQ(thrownBy([&] { workers.finish(); }), "second");
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 5}));
}

// Once a task threw, giving another throws that error instead, after the tasks running have finished; then the
// Workers takes tasks again.
TEST(Workers, AnErrorStopsTheNextTaskFromBeingGiven) {
    const Watchdog watchdog(std::chrono::seconds(20));
    std::mutex lock;
    std::condition_variable changed;
    bool started = false;
    Json::Workers workers;
    workers.run(throwing("stop", lock, changed, started));
    std::string thrown;
    while (thrown.empty()) {
        try {
            workers.run([] {});
        } catch (const std::runtime_error& error) {
            thrown = error.what();
        }
    }
    EXPECT_EQ(thrown, "stop");
    std::atomic<int> ran{0};
    workers.run([&ran] { ++ran; });
    workers.finish();
    EXPECT_EQ(ran, 1);
}

// Tasks waiting when one fails are still run by the reading threads themselves, before anyone finishes: with every
// thread held by a task of this Workers, the tasks given next wait; then one held task throws, and the thread it
// leaves free runs them while the others are still held.
TEST(Workers, TasksWaitingWhenOneFailsStillRunOnTheReadingThreads) {
    const Watchdog watchdog(std::chrono::seconds(60));
    std::mutex lock;
    std::condition_variable changed;
    std::size_t held = 0;
    bool failing = false;
    bool released = false;
    int ran = 0;
    Json::Workers workers;
    const std::size_t threads = Json::Workers::threads();
    for (std::size_t i = 0; i < threads; ++i)
        workers.run([&, i] {
            std::unique_lock guard(lock);
            ++held;
            changed.notify_all();
            if (i == 0) {
                changed.wait(guard, [&] { return failing; });
                throw std::runtime_error("first");
            }
            changed.wait(guard, [&] { return released; });
        });
    std::unique_lock guard(lock);
    changed.wait(guard, [&] { return held == threads; });
    constexpr int waiting = 12;
    for (int i = 0; i < waiting; ++i)
        workers.run([&] {
            std::lock_guard ranGuard(lock);
            ++ran;
            changed.notify_all();
        });
    failing = true;
    changed.notify_all();
    EXPECT_TRUE(changed.wait_for(guard, std::chrono::seconds(10), [&] { return ran == waiting; })) << ran;
    released = true;
    changed.notify_all();
    guard.unlock();
    EXPECT_EQ(thrownBy([&] { workers.finish(); }), "first");
    EXPECT_EQ(ran, waiting);
}
