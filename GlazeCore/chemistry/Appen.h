#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/core/Error.h"
#include "GlazeCore/library/OxideTable.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

/// Linear thermal expansion by Appen's additive method over mole percentages.
namespace GlazeCore::Appen {

/// Why an oxide was left out of the estimate.
class NotCounted : public Error {
public:
    /// The glaze lies outside the range where the oxide's variable coefficient holds.
    struct OutsideRange {
        std::string reason;
    };
    /// The oxide table gives no coefficient for the oxide.
    struct NoCoefficient {};
    using Case = std::variant<OutsideRange, NoCoefficient>;

    explicit NotCounted(Case value) : m_value(std::move(value)) {}
    static NotCounted outsideRange(std::string reason) { return NotCounted(OutsideRange{std::move(reason)}); }
    static NotCounted noCoefficient() { return NotCounted(NoCoefficient{}); }

    const Case& value() const { return m_value; }
    /// The fragment written into the partial-estimate sentence.
    std::string message() const override;
    friend bool operator==(const NotCounted& a, const NotCounted& b);

private:
    Case m_value;
};

using Coefficient = std::variant<double, NotCounted>;

struct Estimate {
    double expansion = 0;
    /// In oxide order.
    std::vector<Oxide> notCounted;
    /// Present exactly when notCounted is not empty.
    std::optional<std::string> warning;
};

/// The coefficient of one oxide in this glaze, or why it cannot be counted. Never throws.
Coefficient coefficient(Oxide oxide, const OxideValues& molePercent, const OxideTable::Map& table);

/// Sum of coefficient × mole % / 100 over the oxides present. Never throws.
Estimate estimate(const OxideValues& molePercent, const OxideTable::Map& table);

} // namespace GlazeCore::Appen
