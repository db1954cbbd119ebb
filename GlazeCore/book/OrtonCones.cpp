#include "GlazeCore/book/OrtonCones.h"

#include <array>
#include <string_view>

namespace GlazeCore::OrtonCones {

namespace {

constexpr std::array<std::string_view, 23> lowCones{"022", "021",      "020", "019", "018", "017", "016", "015",
                                                    "014", "013",      "012", "011", "010", "09",  "08",  "07",
                                                    "06",  "05\u00BD", "05",  "04",  "03",  "02",  "01"};
constexpr int highestCone = 14;

std::vector<std::string> build() {
    std::vector<std::string> cones(lowCones.begin(), lowCones.end());
    for (int cone = 1; cone <= highestCone; ++cone)
        cones.push_back(std::to_string(cone));
    return cones;
}

} // namespace

const std::vector<std::string>& all() {
    static const std::vector<std::string> cones = build();
    return cones;
}

} // namespace GlazeCore::OrtonCones
