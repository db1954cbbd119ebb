#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace Orza {

/**
 * One version of a file as the file system sees it: which file (device and inode), how long, when last
 * written. A window keeps the stamp of the file it last read or wrote, so that a save notices when another
 * program has written the file since.
 */
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    /// The file at `path`; none when nothing is there.
    static std::optional<FileStamp> ofPath(const QString& path);
    /// The open file behind `descriptor`.
    static std::optional<FileStamp> ofOpenFile(int descriptor);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

} // namespace Orza
