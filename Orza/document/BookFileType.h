#pragma once

#include <QString>

// The book's file type, as the desktop files installed beside the program declare it.
namespace Orza::BookFileType {

inline constexpr const char* suffix = "orzabook";
inline constexpr const char* mimeType = "application/x-orza-book";

/// The name filters of the open and save panels.
QString nameFilters();

} // namespace Orza::BookFileType
