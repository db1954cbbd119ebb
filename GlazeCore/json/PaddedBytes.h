#pragma once

#include <cstddef>
#include <string_view>

namespace GlazeCore::Json {

/// A file's bytes in the one buffer the JSON parser reads: `size()` bytes followed by the zeroed padding the
/// parser may read past the end. A file is read straight into `data()`, so it is never copied.
///
/// Large buffers are mapped memory that the kernel may back with huge pages: fresh memory is the larger
/// part of reading a large book, and one fault per 2 MB costs far less than one per 4 kB.
class PaddedBytes {
public:
    /// Bytes readable past the end.
    static constexpr std::size_t padding = 64;

    PaddedBytes() = default;
    /// Room for `size` bytes, their contents unset; throws std::bad_alloc when there is no memory.
    explicit PaddedBytes(std::size_t size);
    ~PaddedBytes();
    PaddedBytes(PaddedBytes&& other) noexcept;
    PaddedBytes& operator=(PaddedBytes&& other) noexcept;
    PaddedBytes(const PaddedBytes&) = delete;
    PaddedBytes& operator=(const PaddedBytes&) = delete;

    static PaddedBytes copyOf(std::string_view bytes);

    /// Fills the bytes from the start of the open file `file` straight into place, a large file in parts read
    /// side by side (fresh memory costs most here, and several threads take it faster than one). Returns how many
    /// bytes the file gave, fewer at its end; throws std::system_error when reading fails.
    std::size_t readFrom(int file);

    char* data() { return m_data; }
    const char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return {m_data, m_size}; }

    /// Keeps the first `size` bytes (no more than there are) and zeroes the padding after them, for a file
    /// that turned out shorter than it said.
    void shrink(std::size_t size);

    /// Gives the whole pages before `offset` back to the system, so that a large text read once does not stay in
    /// memory beside what was made of it; they then read as zeros. Only mapped buffers give pages back.
    void discardBefore(std::size_t offset);
    /// Whether some bytes were given back, so that the text has to be read again to be read whole.
    bool discarded() const { return m_discarded != 0; }

private:
    void release() noexcept;

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mapped = 0;    // bytes mapped, or 0 when the buffer came from new[]
    std::size_t m_discarded = 0; // bytes from the start given back
};

} // namespace GlazeCore::Json
