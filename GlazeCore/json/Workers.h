#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace GlazeCore::Json {

/// Tasks run on the process's few reading threads, made on first use and kept; several readers may share them.
///
/// A task that throws ends only itself: the other tasks run on, and the first error a task threw reaches the caller,
/// once, from finish() or from the next run(). Neither throws before every task that started has finished.
class Workers {
public:
    Workers();
    /// Drops the tasks not started and waits for those running; an error no call has thrown yet goes with them.
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    /// The threads tasks run on; no more than the processor has, less one.
    static std::size_t threads();

    /// Gives a task to the threads. Once a task threw, this drops the tasks not started instead, waits for those
    /// running and throws that error; `task` is not run.
    void run(std::function<void()> task);
    /// Waits until every task given ran, running those not yet started on this thread; then throws the first error a
    /// task threw, if one did.
    void finish();

    /// The tasks of one Workers, as the threads count them.
    struct Group;

private:
    std::shared_ptr<Group> m_group;
};

} // namespace GlazeCore::Json
