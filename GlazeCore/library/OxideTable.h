#pragma once

#include "GlazeCore/book/Oxide.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

/// Molar mass, role and Appen coefficient of each oxide, from the bundle's `oxides.json`.
///
/// The process-wide table is loaded once, on the first use of table(), info(), role() or
/// BundledLibrary::load(), from any thread. Its outcome, the map or the error, is kept for the rest of the
/// process: a failed load is reported again on every call and never retried.
namespace GlazeCore::OxideTable {

/// Keyed by each row's own `oxide`; when rows repeat an oxide the first is kept. Need not hold all 22.
using Map = std::map<Oxide, OxideInfo>;

/// One uncached read of `oxides.json` in `bundle`. Throws GlazeError::resourceMissing("oxides.json") when
/// the file is not there, std::system_error when it cannot be read, JsonReadError when it is malformed.
Map readFrom(const std::filesystem::path& bundle);

/// A load that runs on first use and keeps its outcome for good. The process-wide table is one of
/// these over the bundle that ResourceBundle::location() finds; tests make their own over a folder of
/// their choosing to see missing and malformed files without touching the process-wide one.
class OnceLoad {
public:
    explicit OnceLoad(std::function<Map()> load) : m_load(std::move(load)) {}
    OnceLoad(const OnceLoad&) = delete;
    OnceLoad& operator=(const OnceLoad&) = delete;

    /// The map, or rethrows the kept error.
    const Map& table() const;
    /// None when the oxide has no row or the load failed; never throws.
    const OxideInfo* find(Oxide oxide) const noexcept;

private:
    void ensureLoaded() const noexcept;

    std::function<Map()> m_load;
    mutable std::once_flag m_once;
    mutable Map m_map;
    mutable std::exception_ptr m_error;
};

/// The process-wide load.
const OnceLoad& shared();

/// The whole table, or throws the error of the one load.
const Map& table();
/// None when the table has no row for the oxide, and also when the load failed.
std::optional<OxideInfo> info(Oxide oxide);
/// Same rule as info().
std::optional<OxideRole> role(Oxide oxide);

} // namespace GlazeCore::OxideTable
