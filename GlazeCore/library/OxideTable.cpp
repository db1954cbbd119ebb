#include "GlazeCore/library/OxideTable.h"

#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/library/ResourceBundle.h"

namespace GlazeCore::OxideTable {

namespace {
constexpr std::string_view fileName = "oxides.json";
}

Map readFrom(const std::filesystem::path& bundle) {
    auto file = ResourceBundle::resource(bundle, fileName);
    if (!file) throw GlazeError::resourceMissing(std::string(fileName));
    Map map;
    for (OxideInfo& row : BookJson::readOxideTable(ResourceBundle::readAll(*file)))
        map.try_emplace(row.oxide, std::move(row));
    return map;
}

void OnceLoad::ensureLoaded() const noexcept {
    // The error is caught inside: call_once would otherwise leave the flag unset and run the load again.
    std::call_once(m_once, [this] {
        try {
            m_map = m_load();
        } catch (...) {
            m_error = std::current_exception();
        }
    });
}

const Map& OnceLoad::table() const {
    ensureLoaded();
    if (m_error) std::rethrow_exception(m_error);
    return m_map;
}

const OxideInfo* OnceLoad::find(Oxide oxide) const noexcept {
    ensureLoaded();
    if (m_error) return nullptr;
    auto it = m_map.find(oxide);
    return it == m_map.end() ? nullptr : &it->second;
}

const OnceLoad& shared() {
    static const OnceLoad load([] {
        auto bundle = ResourceBundle::location();
        if (!bundle) throw GlazeError::resourceMissing(std::string(fileName));
        return readFrom(*bundle);
    });
    return load;
}

const Map& table() {
    return shared().table();
}

std::optional<OxideInfo> info(Oxide oxide) {
    const OxideInfo* row = shared().find(oxide);
    return row ? std::optional(*row) : std::nullopt;
}

std::optional<OxideRole> role(Oxide oxide) {
    const OxideInfo* row = shared().find(oxide);
    return row ? std::optional(row->role) : std::nullopt;
}

} // namespace GlazeCore::OxideTable
