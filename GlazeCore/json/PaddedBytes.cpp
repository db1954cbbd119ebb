#include "GlazeCore/json/PaddedBytes.h"

#include <sys/mman.h>

#include <cstring>
#include <new>
#include <utility>

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
      m_mapped(std::exchange(other.m_mapped, 0)) {}

PaddedBytes& PaddedBytes::operator=(PaddedBytes&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

PaddedBytes PaddedBytes::copyOf(std::string_view bytes) {
    PaddedBytes copy(bytes.size());
    if (!bytes.empty()) std::memcpy(copy.m_data, bytes.data(), bytes.size());
    return copy;
}

void PaddedBytes::shrink(std::size_t size) {
    if (size >= m_size) return;
    m_size = size;
    std::memset(m_data + size, 0, padding);
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
