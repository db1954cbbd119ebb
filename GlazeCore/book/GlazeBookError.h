#pragma once

#include "GlazeCore/core/Error.h"

#include <cstdint>
#include <string>
#include <variant>

namespace GlazeCore {

/// Why a book file cannot be opened; its message is the sentence the user sees.
class GlazeBookError : public Error {
public:
    struct UnsupportedVersion {
        std::int64_t found;
        std::int64_t supported;
    };
    struct InvalidVersion {
        std::int64_t version;
    };
    struct DuplicateID {
        std::string kind;
        std::string id;
    };
    struct NumberOutOfRange {
        std::string field;
        double value;
        double limit;
    };
    struct TooManyItems {
        std::string kind;
        std::int64_t count;
        std::int64_t limit;
    };
    using Case = std::variant<UnsupportedVersion, InvalidVersion, DuplicateID, NumberOutOfRange, TooManyItems>;

    explicit GlazeBookError(Case value) : m_value(std::move(value)) {}
    static GlazeBookError unsupportedVersion(std::int64_t found, std::int64_t supported) {
        return GlazeBookError(UnsupportedVersion{found, supported});
    }
    static GlazeBookError invalidVersion(std::int64_t version) { return GlazeBookError(InvalidVersion{version}); }
    static GlazeBookError duplicateID(std::string kind, std::string id) {
        return GlazeBookError(DuplicateID{std::move(kind), std::move(id)});
    }
    static GlazeBookError numberOutOfRange(std::string field, double value, double limit) {
        return GlazeBookError(NumberOutOfRange{std::move(field), value, limit});
    }
    static GlazeBookError tooManyItems(std::string kind, std::int64_t count, std::int64_t limit) {
        return GlazeBookError(TooManyItems{std::move(kind), count, limit});
    }

    const Case& value() const { return m_value; }
    std::string message() const override;
    friend bool operator==(const GlazeBookError& a, const GlazeBookError& b);

private:
    Case m_value;
};

} // namespace GlazeCore
