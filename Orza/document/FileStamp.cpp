#include "Orza/document/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace Orza {

namespace {

std::int64_t nanoseconds(const struct timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + std::int64_t(time.tv_nsec);
}

FileStamp stampOf(const struct stat& status) {
    return {std::uint64_t(status.st_dev),  std::uint64_t(status.st_ino), std::int64_t(status.st_size),
            nanoseconds(status.st_mtim),   nanoseconds(status.st_ctim),  std::uint64_t(status.st_nlink),
            std::uint32_t(status.st_mode), std::uint32_t(status.st_uid), std::uint32_t(status.st_gid)};
}

} // namespace

bool FileStamp::isWrittenSince(const FileStamp& known) const {
    if (!isSameFileAs(known) || size != known.size || modifiedNanoseconds != known.modifiedNanoseconds) return true;
    if (statusChangedNanoseconds == known.statusChangedNanoseconds) return false;
    return links == known.links && mode == known.mode && owner == known.owner && group == known.group;
}

std::optional<FileStamp> FileStamp::ofPath(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return std::nullopt;
    return stampOf(status);
}

std::optional<FileStamp> FileStamp::ofOpenFile(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) return std::nullopt;
    return stampOf(status);
}

} // namespace Orza
