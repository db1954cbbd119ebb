#include "GlazeCore/library/ResourceBundle.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

namespace GlazeCore::ResourceBundle {

namespace fs = std::filesystem;

namespace {

std::mutex overrideMutex;
std::optional<fs::path> overrideParent;

std::optional<fs::path> currentOverride() {
    {
        std::lock_guard lock(overrideMutex);
        if (overrideParent) return overrideParent;
    }
    const char* env = std::getenv("ORZA_RESOURCE_DIR");
    if (env && *env) return fs::path(env);
    return std::nullopt;
}

std::optional<fs::path> executableFolder() {
#if defined(__linux__)
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error) return exe.parent_path();
#endif
    return std::nullopt;
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace

void setResourceOverride(std::optional<fs::path> parent) {
    std::lock_guard lock(overrideMutex);
    overrideParent = std::move(parent);
}

std::optional<fs::path> location() {
    if (auto parent = currentOverride()) {
        fs::path bundle = *parent / folderName;
        return isFolder(bundle) ? std::optional(bundle) : std::nullopt;
    }

    std::vector<fs::path> parents;
    if (auto exeFolder = executableFolder()) {
        parents.push_back(*exeFolder);
        parents.push_back(*exeFolder / ".." / "share" / "orza");
    }
#ifdef ORZA_SOURCE_RESOURCE_DIR
    parents.push_back(fs::path(ORZA_SOURCE_RESOURCE_DIR));
#endif
    for (const fs::path& parent : parents) {
        fs::path bundle = parent / folderName;
        if (isFolder(bundle)) return bundle.lexically_normal();
    }
    return std::nullopt;
}

std::optional<fs::path> resource(const fs::path& bundle, std::string_view fileName) {
    fs::path file = bundle / fileName;
    std::error_code error;
    // Only presence is asked here; an entry that cannot be read fails later, in readAll, with the platform's error.
    return fs::exists(file, error) ? std::optional(file) : std::nullopt;
}

std::string readAll(const fs::path& file) {
    auto fail = [&](int code) { throw std::system_error(code, std::generic_category(), file.string()); };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"), &std::fclose);
    if (!stream) fail(errno);

    std::string bytes;
    char buffer[1 << 14];
    for (;;) {
        std::size_t count = std::fread(buffer, 1, sizeof buffer, stream.get());
        bytes.append(buffer, count);
        if (count < sizeof buffer) {
            if (std::ferror(stream.get())) fail(errno ? errno : EIO);
            break;
        }
    }
    return bytes;
}

} // namespace GlazeCore::ResourceBundle
