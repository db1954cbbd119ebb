#pragma once

#include "GlazeCore/book/Oxide.h"
#include "GlazeCore/core/Error.h"

#include <string>
#include <variant>

namespace GlazeCore {

/// Failure of a calculation or of the built-in tables.
class GlazeError : public Error {
public:
    struct NonFiniteAmount {
        std::string materialID;
        friend bool operator==(const NonFiniteAmount&, const NonFiniteAmount&) = default;
    };
    struct MissingOxideData {
        Oxide oxide;
        friend bool operator==(const MissingOxideData&, const MissingOxideData&) = default;
    };
    struct ResourceMissing {
        std::string fileName;
        friend bool operator==(const ResourceMissing&, const ResourceMissing&) = default;
    };
    using Case = std::variant<NonFiniteAmount, MissingOxideData, ResourceMissing>;

    explicit GlazeError(Case value) : m_value(std::move(value)) {}
    static GlazeError nonFiniteAmount(std::string materialID) {
        return GlazeError(NonFiniteAmount{std::move(materialID)});
    }
    static GlazeError missingOxideData(Oxide oxide) { return GlazeError(MissingOxideData{oxide}); }
    static GlazeError resourceMissing(std::string fileName) { return GlazeError(ResourceMissing{std::move(fileName)}); }

    const Case& value() const { return m_value; }
    std::string message() const override;
    friend bool operator==(const GlazeError& a, const GlazeError& b);

private:
    Case m_value;
};

} // namespace GlazeCore
