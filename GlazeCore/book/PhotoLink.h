#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/core/Error.h"

#include <optional>
#include <string>

/// The link from a test tile to its photo file, kept in the tile's photoBookmark. The book stores the link,
/// never the picture, so the photo stays where the user keeps it.
///
/// The bytes are a record of this platform: a magic prefix and a version, the path as the file system gave
/// it (raw bytes, so a name that is not UTF-8 survives), its canonical path and the file's device and inode.
/// Bytes of any other form (a link made on another platform) never resolve here and are never rewritten,
/// so a book carried between computers loses nothing.
namespace GlazeCore::PhotoLink {

/// Why a link could not be made; the message is the system's description of the failure.
class PhotoLinkError : public Error {
public:
    explicit PhotoLinkError(int errorNumber) : m_errorNumber(errorNumber) {}
    int errorNumber() const { return m_errorNumber; }
    std::string message() const override;

private:
    int m_errorNumber;
};

/// The file a link leads to now. `isStale`: the link still finds a file, but not by the record it holds
/// (the file at the path was replaced, or the path leads somewhere else now); make a new link to `path`.
struct Resolved {
    std::string path;
    bool isStale = false;
    friend bool operator==(const Resolved&, const Resolved&) = default;
};

/// A link to the readable regular file at `path` (a relative path counts from the working folder).
/// Throws PhotoLinkError when the file cannot be reached or read.
Bytes make(const std::string& path);

/// The file of a link of this platform: by its path, else by its canonical path. None when the bytes are
/// not such a link or neither path leads to a regular file.
std::optional<Resolved> resolve(const Bytes& link);

/// Whether the bytes are a link record of this platform.
bool isPlatformLink(const Bytes& link);

} // namespace GlazeCore::PhotoLink
