#include "Orza/document/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace Orza {

namespace {

std::int64_t nanoseconds(const struct timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + std::int64_t(time.tv_nsec);
}

FileStamp stampOf(const struct stat& status) {
    return {std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::int64_t(status.st_size),
            nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

} // namespace

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
