#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace GlazeCore {

/// The one way calculations look materials up; they never walk a concrete list.
///
/// Implementations are immutable values. Whoever keeps a library keeps its own copy (clone()), never a
/// reference to someone else's. Ids match by canonical equivalence, as ids compare everywhere in the book.
class MaterialLibrary {
public:
    virtual ~MaterialLibrary() = default;

    /// The material with this id, or null; the pointer lives as long as this library.
    virtual const Material* material(std::string_view id) const = 0;
    /// Every material, in the library's own order.
    virtual const std::vector<Material>& all() const = 0;
    virtual std::unique_ptr<MaterialLibrary> clone() const = 0;

protected:
    MaterialLibrary() = default;
    MaterialLibrary(const MaterialLibrary&) = default;
    MaterialLibrary& operator=(const MaterialLibrary&) = default;
};

} // namespace GlazeCore
