#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

/// Finds the logic library's read-only data folder, "Zudiv_OdizoVeru.devezi", and reads files from it.
///
/// The folder is looked for, first match wins:
/// 1. in the folder given to setResourceOverride, when one is set;
/// 2. else in the folder named by the environment variable ORZA_RESOURCE_DIR, when it is set and not empty;
/// 3. else beside the running executable, then in ../share/orza relative to it (the installed layout),
///    then in the source tree the library was built from.
/// An override (1 or 2) is the only place looked at, so a test can point at a folder that lacks a file.
namespace GlazeCore::ResourceBundle {

inline constexpr std::string_view folderName = "Zudiv_OdizoVeru.devezi";

/// `parent` is the folder that holds the bundle folder; none removes the override. The oxide table is
/// loaded once per process from wherever the bundle is found then, so set this before its first use.
void setResourceOverride(std::optional<std::filesystem::path> parent);

/// The bundle folder, or none when no candidate holds one.
std::optional<std::filesystem::path> location();

/// The file of that name inside `bundle`, or none when there is no such entry.
std::optional<std::filesystem::path> resource(const std::filesystem::path& bundle, std::string_view fileName);

/// The whole file as bytes. A failure to open or read throws std::system_error naming the file.
std::string readAll(const std::filesystem::path& file);

} // namespace GlazeCore::ResourceBundle
