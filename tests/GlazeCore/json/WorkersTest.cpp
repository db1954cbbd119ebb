// The reading threads shared by every reader of the process.
#include "GlazeCore/json/Workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

using namespace GlazeCore;

// Finishing does not wait for a thread to come free: with every reading thread busy elsewhere, the tasks not yet
// started run on the finishing thread, in the order given.
TEST(Workers, FinishingRunsTheTasksNotYetStartedItself) {
    std::mutex lock;
    std::condition_variable changed;
    bool release = false;
    std::size_t busy = 0;
    Json::Workers elsewhere;
    for (std::size_t i = 0; i < Json::Workers::threads(); ++i)
        elsewhere.run([&] {
            std::unique_lock guard(lock);
            ++busy;
            changed.notify_all();
            changed.wait(guard, [&] { return release; });
        });
    {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return busy == Json::Workers::threads(); });
    }
    // Should finishing wait for a thread after all, the busy ones come free in a while, and the checks below fail.
    std::thread releaser([&] {
        std::unique_lock guard(lock);
        changed.wait_for(guard, std::chrono::seconds(2), [&] { return release; });
        release = true;
        changed.notify_all();
    });

    std::vector<std::pair<int, std::thread::id>> ran;
    {
        Json::Workers workers;
        for (int i = 0; i < 3; ++i)
            workers.run([&, i] {
                std::lock_guard guard(lock);
                ran.emplace_back(i, std::this_thread::get_id());
            });
        workers.finish();
    }
    bool finishedFirst = false;
    {
        std::lock_guard guard(lock);
        finishedFirst = !release;
        release = true;
        changed.notify_all();
    }
    releaser.join();
    elsewhere.finish();
    EXPECT_TRUE(finishedFirst);
    const std::thread::id self = std::this_thread::get_id();
    EXPECT_EQ(ran, (std::vector<std::pair<int, std::thread::id>>{{0, self}, {1, self}, {2, self}}));
}
