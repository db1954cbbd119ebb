#include "GlazeCore/book/PhotoLink.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace GlazeCore::PhotoLink {

namespace {

constexpr std::string_view magic = "OrzaPhotoLink";
constexpr std::uint8_t version = 1;
// Far beyond any path a system accepts; a longer length field marks bytes of some other form.
constexpr std::uint32_t longestPath = 1u << 16;

struct Record {
    std::string path;
    std::string canonicalPath;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

struct FileID {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileID&, const FileID&) = default;
};

/// The identity of the regular file at `path`, or none (errno says why).
std::optional<FileID> regularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = EINVAL;
        return std::nullopt;
    }
    return FileID{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
}

std::optional<std::string> canonical(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

std::string absolute(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    if (!folder) throw PhotoLinkError(errno);
    std::string base(folder.get());
    if (base.empty() || base.back() != '/') base += '/';
    return base + path;
}

void putNumber(Bytes& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void putText(Bytes& out, const std::string& text) {
    putNumber(out, text.size(), 4);
    out.insert(out.end(), text.begin(), text.end());
}

Bytes encode(const Record& record) {
    Bytes out(magic.begin(), magic.end());
    out.push_back(version);
    putText(out, record.path);
    putText(out, record.canonicalPath);
    putNumber(out, record.device, 8);
    putNumber(out, record.inode, 8);
    return out;
}

/// Reads the record field by field; any shortfall or excess means the bytes are not ours.
class Reader {
public:
    explicit Reader(const Bytes& bytes) : m_bytes(bytes) {}

    bool skipPrefix() {
        if (m_bytes.size() < magic.size() + 1) return false;
        if (!std::equal(magic.begin(), magic.end(), m_bytes.begin())) return false;
        m_at = magic.size();
        return m_bytes[m_at++] == version;
    }
    std::optional<std::uint64_t> number(int size) {
        if (m_bytes.size() - m_at < std::size_t(size)) return std::nullopt;
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= std::uint64_t(m_bytes[m_at++]) << (8 * i);
        return value;
    }
    std::optional<std::string> text() {
        const auto length = number(4);
        if (!length || *length > longestPath || m_bytes.size() - m_at < *length) return std::nullopt;
        std::string value(m_bytes.begin() + std::ptrdiff_t(m_at), m_bytes.begin() + std::ptrdiff_t(m_at + *length));
        m_at += *length;
        return value;
    }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const Bytes& m_bytes;
    std::size_t m_at = 0;
};

std::optional<Record> decode(const Bytes& bytes) {
    Reader reader(bytes);
    if (!reader.skipPrefix()) return std::nullopt;
    Record record;
    auto path = reader.text();
    auto canonicalPath = reader.text();
    const auto device = reader.number(8);
    const auto inode = reader.number(8);
    if (!path || !canonicalPath || !device || !inode || !reader.atEnd()) return std::nullopt;
    // A path with a NUL byte cannot name a file; such bytes were never written here.
    if (path->empty() || path->find('\0') != std::string::npos || canonicalPath->find('\0') != std::string::npos)
        return std::nullopt;
    return Record{std::move(*path), std::move(*canonicalPath), *device, *inode};
}

} // namespace

std::string PhotoLinkError::message() const {
    return std::generic_category().message(m_errorNumber);
}

Bytes make(const std::string& path) {
    if (path.empty()) throw PhotoLinkError(ENOENT);
    if (path.find('\0') != std::string::npos) throw PhotoLinkError(EINVAL);
    const std::string full = absolute(path);
    const auto id = regularFile(full);
    if (!id) throw PhotoLinkError(errno);
    if (::access(full.c_str(), R_OK) != 0) throw PhotoLinkError(errno);
    const auto canonicalPath = canonical(full);
    if (!canonicalPath) throw PhotoLinkError(errno);
    return encode({full, *canonicalPath, id->device, id->inode});
}

std::optional<Resolved> resolve(const Bytes& link) {
    const auto record = decode(link);
    if (!record) return std::nullopt;
    const FileID linked{record->device, record->inode};
    if (const auto id = regularFile(record->path)) {
        const bool samePlace = canonical(record->path) == record->canonicalPath;
        return Resolved{record->path, !(*id == linked && samePlace)};
    }
    // The path no longer leads to a file (a link or folder on the way was removed): the file itself may
    // still be where the path used to lead.
    if (!record->canonicalPath.empty() && regularFile(record->canonicalPath))
        return Resolved{record->canonicalPath, true};
    return std::nullopt;
}

bool isPlatformLink(const Bytes& link) {
    return decode(link).has_value();
}

} // namespace GlazeCore::PhotoLink
