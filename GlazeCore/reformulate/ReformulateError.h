#pragma once

#include "GlazeCore/book/Oxide.h"
#include "GlazeCore/core/Error.h"

#include <cstdint>
#include <string>
#include <variant>

namespace GlazeCore {

/// Why Oxide Nudge or Replace Material cannot give a result; its message is the sentence the sheet shows.
class ReformulateError : public Error {
public:
    struct NoSource {
        Oxide oxide;
    };
    struct OnlyFlux {
        Oxide oxide;
    };
    /// The id of the material to replace; it is not part of the sentence.
    struct NotInRecipe {
        std::string materialID;
    };
    /// The replacement's id; it is not part of the sentence.
    struct UnknownMaterial {
        std::string materialID;
    };
    /// A solve over more candidate materials than the engine takes on.
    struct TooManyMaterials {
        std::int64_t count;
        std::int64_t limit;
    };
    struct NoFlux {};
    struct Infeasible {};
    using Case = std::variant<NoSource, OnlyFlux, NotInRecipe, UnknownMaterial, TooManyMaterials, NoFlux, Infeasible>;

    explicit ReformulateError(Case value) : m_value(std::move(value)) {}
    static ReformulateError noSource(Oxide oxide) { return ReformulateError(NoSource{oxide}); }
    static ReformulateError onlyFlux(Oxide oxide) { return ReformulateError(OnlyFlux{oxide}); }
    static ReformulateError notInRecipe(std::string materialID) {
        return ReformulateError(NotInRecipe{std::move(materialID)});
    }
    static ReformulateError unknownMaterial(std::string materialID) {
        return ReformulateError(UnknownMaterial{std::move(materialID)});
    }
    static ReformulateError tooManyMaterials(std::int64_t count, std::int64_t limit) {
        return ReformulateError(TooManyMaterials{count, limit});
    }
    static ReformulateError noFlux() { return ReformulateError(NoFlux{}); }
    static ReformulateError infeasible() { return ReformulateError(Infeasible{}); }

    const Case& value() const { return m_value; }
    std::string message() const override;
    /// Same case and equal payload; ids compare by canonical equivalence.
    friend bool operator==(const ReformulateError& a, const ReformulateError& b);

private:
    Case m_value;
};

} // namespace GlazeCore
