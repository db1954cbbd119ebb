#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace GlazeCore::Json {

/// Tasks run on the process's few reading threads, made on first use and kept; several readers may share them.
class Workers {
public:
    Workers();
    /// Drops the tasks not started and waits for those running.
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    /// The threads tasks run on; no more than the processor has, less one.
    static std::size_t threads();

    void run(std::function<void()> task);
    /// Waits until every task given ran, running those not yet started on this thread.
    void finish();

    /// The tasks of one Workers, as the threads count them.
    struct Group;

private:
    std::shared_ptr<Group> m_group;
};

} // namespace GlazeCore::Json
