#include "GlazeCore/json/PaddedBytes.h"

#include "GlazeCore/json/Workers.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

namespace GlazeCore::Json {

namespace {

// Below this a mapping costs more than it saves.
constexpr std::size_t smallestMapped = std::size_t{4} << 20;

} // namespace

PaddedBytes::PaddedBytes(std::size_t size) : m_size(size) {
    if (size > static_cast<std::size_t>(-1) - padding - 4096) throw std::bad_alloc();
    const std::size_t total = size + padding;
    if (total >= smallestMapped) {
        const std::size_t pageSize = 4096;
        const std::size_t mapped = (total + pageSize - 1) / pageSize * pageSize;
        void* block = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        madvise(block, mapped, MADV_HUGEPAGE); // only advice: without it the buffer works the same
#endif
        m_data = static_cast<char*>(block);
        m_mapped = mapped;
    } else {
        m_data = new char[total];
    }
    std::memset(m_data + size, 0, padding);
}

PaddedBytes::~PaddedBytes() {
    release();
}

PaddedBytes::PaddedBytes(PaddedBytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0)), m_discarded(std::exchange(other.m_discarded, 0)) {}

PaddedBytes& PaddedBytes::operator=(PaddedBytes&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
        m_discarded = std::exchange(other.m_discarded, 0);
    }
    return *this;
}

PaddedBytes PaddedBytes::copyOf(std::string_view bytes) {
    PaddedBytes copy(bytes.size());
    if (!bytes.empty()) std::memcpy(copy.m_data, bytes.data(), bytes.size());
    return copy;
}

std::size_t PaddedBytes::readFrom(int file) {
    // Parts of whole huge pages, at least a few megabytes each.
    constexpr std::size_t smallestPart = std::size_t{8} << 20;
    const std::size_t parts = m_size < 2 * smallestPart ? 1 : std::min(m_size / smallestPart, Workers::threads() + 1);
    const std::size_t partSize = (m_size / parts + (std::size_t{2} << 20) - 1) & ~((std::size_t{2} << 20) - 1);
    std::vector<std::size_t> got(parts, 0);
    std::atomic<int> failure{0};
    const auto readPart = [&](std::size_t part) {
        const std::size_t from = part * partSize, to = std::min(m_size, from + partSize);
        std::size_t& done = got[part];
        while (from + done < to) {
            const ssize_t read = pread(file, m_data + from + done, to - from - done, static_cast<off_t>(from + done));
            if (read < 0 && errno == EINTR) continue;
            if (read < 0) failure = errno;
            if (read <= 0) return;
            done += static_cast<std::size_t>(read);
        }
    };
    {
        Workers workers;
        for (std::size_t part = 1; part < parts; ++part)
            workers.run([&readPart, part] { readPart(part); });
        readPart(0);
        workers.finish();
    }
    if (failure != 0) throw std::system_error(failure, std::generic_category());
    // A part cut short by the end of the file ends what was read.
    std::size_t total = 0;
    for (std::size_t part = 0; part < parts; ++part) {
        total += got[part];
        if (part * partSize + got[part] < std::min(m_size, (part + 1) * partSize)) break;
    }
    return total;
}

void PaddedBytes::shrink(std::size_t size) {
    if (size >= m_size) return;
    m_size = size;
    std::memset(m_data + size, 0, padding);
}

void PaddedBytes::discardBefore(std::size_t offset) {
    constexpr std::size_t pageSize = 4096;
    const std::size_t end = std::min(offset, m_size) / pageSize * pageSize;
    if (m_mapped == 0 || end <= m_discarded) return;
    madvise(m_data + m_discarded, end - m_discarded, MADV_DONTNEED);
    m_discarded = end;
}

void PaddedBytes::release() noexcept {
    if (m_data == nullptr) return;
    if (m_mapped != 0)
        munmap(m_data, m_mapped);
    else
        delete[] m_data;
    m_data = nullptr;
}

} // namespace GlazeCore::Json
