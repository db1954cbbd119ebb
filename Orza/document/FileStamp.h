#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace Orza {

/**
 * One version of a file as the file system sees it: which file (device and inode), how long, when last
 * written, when its status last changed, and the status itself (links, permissions, owner). A window keeps
 * the stamp of the file it last read or wrote, so that a save notices when another program has written the
 * file since. Any program can set the time of writing back; the status change time only the system sets, at
 * every write, so a rewrite shows there even with its old time of writing put back.
 */
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t statusChangedNanoseconds = 0;
    std::uint64_t links = 0;
    std::uint32_t mode = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;

    /// The file at `path`; none when nothing is there.
    static std::optional<FileStamp> ofPath(const QString& path);
    /// The open file behind `descriptor`.
    static std::optional<FileStamp> ofOpenFile(int descriptor);

    /// Whether the file was written since it was `known`. A new link, permission or owner changes the status
    /// time as well, and is no write.
    bool isWrittenSince(const FileStamp& known) const;
    /// Whether both are of one file, whatever its names (hard links) and versions.
    bool isSameFileAs(const FileStamp& other) const { return device == other.device && inode == other.inode; }

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

} // namespace Orza
