#pragma once

#include "GlazeCore/core/Error.h"

#include <cstddef>
#include <functional>
#include <string>

namespace GlazeCore {

/// A chemistry result that does not fit in a double.
class CalculationError : public Error {
public:
    enum class Case { resultOutOfRange };

    explicit CalculationError(Case value) : m_value(value) {}
    static CalculationError resultOutOfRange() { return CalculationError(Case::resultOutOfRange); }

    Case value() const { return m_value; }
    std::string message() const override;
    friend bool operator==(const CalculationError& a, const CalculationError& b) { return a.m_value == b.m_value; }

private:
    Case m_value;
};

} // namespace GlazeCore

template <> struct std::hash<GlazeCore::CalculationError> {
    std::size_t operator()(const GlazeCore::CalculationError& error) const noexcept {
        return std::hash<GlazeCore::CalculationError::Case>{}(error.value());
    }
};
