#include "GlazeCore/json/Workers.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace GlazeCore::Json {

struct Workers::Group {
    std::size_t waiting = 0;  // given and not yet done
    std::exception_ptr error; // the first a task threw, not yet thrown to the caller
};

namespace {

/// Runs the task; what it throws is returned, so it never leaves a thread nor skips the count after it.
std::exception_ptr runCaught(const std::function<void()>& task) noexcept {
    try {
        task();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

/// The reading threads, and the tasks given to them with the group each belongs to.
class Pool {
public:
    static Pool& instance() {
        static Pool pool;
        return pool;
    }

    std::size_t size() const { return m_threads.size(); }

    void run(const std::shared_ptr<Workers::Group>& group, std::function<void()> task) {
        bool given = false;
        {
            std::lock_guard guard(m_lock);
            if (!group->error) {
                m_tasks.push_back({group, std::move(task)});
                ++group->waiting;
                given = true;
            }
        }
        if (given)
            m_work.notify_one();
        else
            finish(*group, true, true);
    }

    /// Waits for the group's tasks, dropping those not started or running them on this thread; then throws the
    /// group's error when asked.
    void finish(Workers::Group& group, bool dropWaiting, bool throwError) {
        std::unique_lock guard(m_lock);
        const auto ofGroup = [&](const Task& task) { return task.group.get() == &group; };
        if (dropWaiting) {
            const auto dropped = std::remove_if(m_tasks.begin(), m_tasks.end(), ofGroup);
            group.waiting -= static_cast<std::size_t>(m_tasks.end() - dropped);
            m_tasks.erase(dropped, m_tasks.end());
        }
        // Rather than wait for a thread to wake, this one runs the group's tasks not yet started, in order.
        for (auto next = std::find_if(m_tasks.begin(), m_tasks.end(), ofGroup); next != m_tasks.end();
             next = std::find_if(m_tasks.begin(), m_tasks.end(), ofGroup)) {
            Task task = std::move(*next);
            m_tasks.erase(next);
            guard.unlock();
            std::exception_ptr error = runCaught(task.run);
            guard.lock();
            done(group, std::move(error));
        }
        m_done.wait(guard, [&] { return group.waiting == 0; });
        if (throwError && group.error) std::rethrow_exception(std::exchange(group.error, nullptr));
    }

    ~Pool() {
        {
            std::lock_guard guard(m_lock);
            m_stopping = true;
        }
        m_work.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }

private:
    struct Task {
        std::shared_ptr<Workers::Group> group;
        std::function<void()> run;
    };

    Pool() {
        const std::size_t cores = std::thread::hardware_concurrency();
        const std::size_t count = std::clamp<std::size_t>(cores > 1 ? cores - 1 : 1, 1, 6);
        for (std::size_t i = 0; i < count; ++i)
            m_threads.emplace_back([this] { work(); });
    }

    void work() {
        std::unique_lock guard(m_lock);
        for (;;) {
            m_work.wait(guard, [&] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty()) return;
            Task task = std::move(m_tasks.front());
            m_tasks.pop_front();
            guard.unlock();
            std::exception_ptr error = runCaught(task.run);
            guard.lock();
            done(*task.group, std::move(error));
        }
    }

    /// With the lock held: one task of the group ended, having thrown `error` or not.
    void done(Workers::Group& group, std::exception_ptr error) {
        if (error && !group.error) group.error = std::move(error);
        if (--group.waiting == 0) m_done.notify_all();
    }

    std::mutex m_lock;
    std::condition_variable m_work;
    std::condition_variable m_done;
    std::deque<Task> m_tasks;
    std::vector<std::thread> m_threads;
    bool m_stopping = false;
};

} // namespace

Workers::Workers() : m_group(std::make_shared<Group>()) {}

Workers::~Workers() {
    Pool::instance().finish(*m_group, true, false);
}

std::size_t Workers::threads() {
    return Pool::instance().size();
}

void Workers::run(std::function<void()> task) {
    Pool::instance().run(m_group, std::move(task));
}

void Workers::finish() {
    Pool::instance().finish(*m_group, false, true);
}

} // namespace GlazeCore::Json
