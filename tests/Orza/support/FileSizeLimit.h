#pragma once

#include <QtGlobal>

#include <csignal>

#include <sys/resource.h>

namespace OrzaTest {

/**
 * While it lives, a write beyond `bytes` into any file fails with EFBIG, as a write onto a full disk fails
 * with ENOSPC, and needs no root. It holds for the whole process, so it belongs in a child run
 * (ORZA_TEST_IN_CHILD_PROCESS).
 */
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previousLimit{};
    struct sigaction m_previousAction {};
};

} // namespace OrzaTest
