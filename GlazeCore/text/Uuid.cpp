#include "GlazeCore/text/Uuid.h"

#include <cstring>
#include <uuid/uuid.h>

namespace GlazeCore {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool hasUuidShape(std::string_view text) {
    if (text.size() != 36) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool hyphenSlot = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenSlot ? text[i] != '-' : !isHexDigit(text[i])) return false;
    }
    return true;
}

} // namespace

Uuid Uuid::random() {
    uuid_t raw;
    uuid_generate_random(raw);
    Uuid id;
    std::memcpy(id.bytes.data(), raw, id.bytes.size());
    return id;
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (!hasUuidShape(text)) return std::nullopt;
    const std::string terminated(text);
    uuid_t raw;
    if (uuid_parse(terminated.c_str(), raw) != 0) return std::nullopt;
    Uuid id;
    std::memcpy(id.bytes.data(), raw, id.bytes.size());
    return id;
}

std::string Uuid::uppercaseText() const {
    uuid_t raw;
    std::memcpy(raw, bytes.data(), bytes.size());
    char text[37];
    uuid_unparse_upper(raw, text);
    return std::string(text, 36);
}

} // namespace GlazeCore

std::size_t std::hash<GlazeCore::Uuid>::operator()(const GlazeCore::Uuid& id) const noexcept {
    std::uint64_t high = 0, low = 0;
    std::memcpy(&high, id.bytes.data(), 8);
    std::memcpy(&low, id.bytes.data() + 8, 8);
    return std::hash<std::uint64_t>{}(high ^ (low * 0x9E3779B97F4A7C15ull));
}
