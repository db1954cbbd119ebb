#include "GlazeCore/chemistry/CalculationError.h"

namespace GlazeCore {

std::string CalculationError::message() const {
    switch (m_value) {
    case Case::resultOutOfRange:
        break;
    }
    return "A result is too large or too small to calculate. Check for very large amounts or a very small base.";
}

} // namespace GlazeCore
