#include "GlazeCore/library/MaterialSearch.h"

#include <gtest/gtest.h>

using namespace GlazeCore;

namespace {

const std::vector<Material> materials{
    {"potash-feldspar", "Potash Feldspar", {}, 0, ""},
    {"custom-1", "\u00C9mail blanc", {}, 0, ""},
    {"whiting", "Whiting", {}, 0, ""},
    {"custom-2", "\u0130znik frit", {}, 0, ""},
};

std::vector<std::string> idsOf(const std::vector<Material>& list) {
    std::vector<std::string> ids;
    for (const Material& m : list)
        ids.push_back(m.id);
    return ids;
}

std::vector<std::string> search(std::string_view query) {
    return idsOf(MaterialSearch::matches(materials, query));
}

} // namespace

TEST(MaterialSearchMatches, substringsOfNameOrIdInListOrder) {
    EXPECT_EQ(search(" \t "), idsOf(materials));
    EXPECT_EQ(search(""), idsOf(materials));
    EXPECT_EQ(search("FELDSPAR"), (std::vector<std::string>{"potash-feldspar"}));
    EXPECT_EQ(search("  whit\t"), (std::vector<std::string>{"whiting"}));
    EXPECT_EQ(search("custom"), (std::vector<std::string>{"custom-1", "custom-2"})); // only by id
    EXPECT_EQ(search("I"), (std::vector<std::string>{"custom-1", "whiting", "custom-2"}));
    // Lower-casing, not folding: accents must match, composed or not.
    EXPECT_EQ(search("\u00C9MAIL"), (std::vector<std::string>{"custom-1"}));
    EXPECT_EQ(search("E\u0301mail"), (std::vector<std::string>{"custom-1"}));
    EXPECT_TRUE(search("email").empty());
    // Root-locale lower-casing keeps the dot of İ as a combining mark.
    EXPECT_EQ(search("\u0130ZN"), (std::vector<std::string>{"custom-2"}));
    EXPECT_TRUE(search("izn").empty());
    EXPECT_TRUE(search("line\nbreak").empty());
}

TEST(MaterialSearchCounts, singularOnlyForOne) {
    EXPECT_EQ(MaterialSearch::countText(1), "1 material");
    EXPECT_EQ(MaterialSearch::countText(0), "0 materials");
    EXPECT_EQ(MaterialSearch::countText(1234), "1234 materials");
}

TEST(MaterialSearchSelection, keptWhileListedElseOptionalFallback) {
    const std::vector<std::string> ids = idsOf(materials);
    EXPECT_EQ(MaterialSearch::keptSelection(std::string("whiting"), ids), "whiting");
    EXPECT_EQ(MaterialSearch::keptSelection(std::string("gone"), ids), std::nullopt);
    EXPECT_EQ(MaterialSearch::keptSelection(std::nullopt, ids), std::nullopt);
    EXPECT_EQ(MaterialSearch::keptSelection(std::string("whiting"), materials), "whiting");
    EXPECT_EQ(MaterialSearch::keptSelection(std::string("Whiting"), materials), std::nullopt);

    EXPECT_EQ(MaterialSearch::keptSelectionWithFlag(std::string("whiting"), materials, true), "whiting");
    EXPECT_EQ(MaterialSearch::keptSelectionWithFlag(std::string("gone"), materials, true), "potash-feldspar");
    EXPECT_EQ(MaterialSearch::keptSelectionWithFlag(std::nullopt, ids, true), "potash-feldspar");
    EXPECT_EQ(MaterialSearch::keptSelectionWithFlag(std::string("gone"), ids, false), std::nullopt);
    EXPECT_EQ(MaterialSearch::keptSelectionWithFlag(std::string("gone"), std::vector<Material>{}, true), std::nullopt);
}
