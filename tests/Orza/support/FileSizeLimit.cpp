#include "support/FileSizeLimit.h"

namespace OrzaTest {

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    // Without this the write past the limit would end the process instead of failing.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &m_previousAction);
    getrlimit(RLIMIT_FSIZE, &m_previousLimit);
    rlimit limit = m_previousLimit;
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_previousLimit);
    sigaction(SIGXFSZ, &m_previousAction, nullptr);
}

} // namespace OrzaTest
