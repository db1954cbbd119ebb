#include "GlazeCore/book/SampleBook.h"

#include "GlazeCore/tilecode/TileCode.h"

#include <chrono>

namespace GlazeCore::SampleBook {

namespace {

constexpr std::string_view sampleCone = "6";
constexpr std::string_view sampleAtmosphere = "Oxidation";

std::vector<Entry> buildEntries() {
    return {
        {"Tidewater Feldspar Gloss",
         "A potash feldspar gloss base. Untested starting point. Try Recipe > Oxide Nudge and Recipe > Replace "
         "Material on it.",
         {{"potash-feldspar", 28},
          {"frit-generic-calcium-borate", 20},
          {"whiting", 6},
          {"wollastonite", 5},
          {"talc", 6},
          {"kaolin", 14},
          {"silica", 21}},
         {}},
        {"Millpond Clear",
         "A glossy clear base. Calcium borate frit with soda feldspar and a little talc.",
         {{"frit-generic-calcium-borate", 24},
          {"soda-feldspar", 18},
          {"potash-feldspar", 5},
          {"talc", 8},
          {"wollastonite", 8},
          {"whiting", 3},
          {"kaolin", 16},
          {"silica", 18}},
         {}},
        {"Ashfield Dolomite Satin",
         "A dolomite satin base. The satin surface comes from magnesium as the glaze cools, which the Stull chart "
         "does not show, so it plots in the gloss area. More silica moves it toward gloss.",
         {{"dolomite", 15},
          {"potash-feldspar", 28},
          {"whiting", 5},
          {"kaolin", 18},
          {"silica", 19},
          {"frit-generic-calcium-borate", 15}},
         {}},
        {"Larkspur Gloss",
         "A soda borosilicate frit gloss base with dolomite, for colorant tests.",
         {{"frit-generic-soda-borosilicate", 31},
          {"potash-feldspar", 18},
          {"dolomite", 11},
          {"wollastonite", 10},
          {"kaolin", 12},
          {"silica", 18}},
         {}},
        {"Quarry Stone",
         "A stony base with talc and a titanium addition for a broken surface. The surface comes from magnesium and "
         "titanium, which the Stull chart does not show, so it plots in the gloss area. Part of the kaolin is "
         "calcined to reduce crawling.",
         {{"soda-feldspar", 28},
          {"whiting", 14},
          {"talc", 10},
          {"kaolin", 12},
          {"calcined-kaolin", 6},
          {"silica", 14},
          {"frit-generic-calcium-borate", 16}},
         {{"titanium-dioxide", 4}}},
        {"Ember Strontium Gloss",
         "A strontium gloss base with an iron addition. The melt is fluid, so test it on a vertical tile first.",
         {{"strontium-carbonate", 8},
          {"potash-feldspar", 35},
          {"frit-generic-calcium-borate", 18},
          {"wollastonite", 14},
          {"kaolin", 11},
          {"silica", 14}},
         {{"red-iron-oxide", 3}}},
    };
}

std::vector<TileEntry> buildTileEntries() {
    return {
        {1,
         {{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}},
         {2026, 9, 14},
         "Sample entry. Glossy and clear on white stoneware. A few pinholes inside the rim, so the next firing gets a "
         "longer hold. T-001 is written on the back in iron oxide."},
        {2,
         {{150, 600, 0}, {220, 1100, 0}, {60, 1222, 15}},
         {2026, 9, 21},
         "Sample entry. Satin where it is thick and glossier where it is thin. Fired with a 15 minute hold at the "
         "top."},
        {5,
         {{120, 600, 0}, {200, 1100, 0}, {50, 1215, 20}},
         {2026, 10, 5},
         "Sample entry. Amber where thin and dark brown where it pools. It ran about 3 mm down the vertical tile."},
    };
}

Recipe makeRecipe(const Entry& entry) {
    Recipe recipe{Uuid::random(),
                  entry.name,
                  std::string(sampleCone),
                  {},
                  "Sample recipe. " + entry.notes + " Test every recipe on tiles before use."};
    for (const auto& [materialID, amount] : entry.base)
        recipe.lines.push_back({Uuid::random(), materialID, amount, false});
    for (const auto& [materialID, amount] : entry.additions)
        recipe.lines.push_back({Uuid::random(), materialID, amount, true});
    return recipe;
}

// Noon in the proleptic Gregorian calendar of UTC, so the day reads the same from UTC−12 to UTC+11.
Date noonUTC(FiringDay day) {
    using namespace std::chrono;
    const sys_days midnight{year{day.year} / month{static_cast<unsigned>(day.month)} /
                            std::chrono::day{static_cast<unsigned>(day.day)}};
    return time_point_cast<Date::duration>(midnight + hours{12});
}

TestTile makeTile(const TileEntry& entry, const std::vector<Recipe>& recipes) {
    return TestTile{Uuid::random(),
                    recipes.at(static_cast<std::size_t>(entry.recipeIndex)).id,
                    std::string(sampleCone),
                    std::string(sampleAtmosphere),
                    entry.schedule,
                    entry.notes,
                    std::nullopt,
                    noonUTC(entry.fired),
                    ""};
}

} // namespace

const std::vector<Entry>& entries() {
    static const std::vector<Entry> table = buildEntries();
    return table;
}

const std::vector<TileEntry>& tileEntries() {
    static const std::vector<TileEntry> table = buildTileEntries();
    return table;
}

GlazeBook makeBook() {
    GlazeBook book;
    for (const Entry& entry : entries())
        book.recipes.push_back(makeRecipe(entry));
    for (const TileEntry& entry : tileEntries())
        book.tests.push_back(makeTile(entry, book.recipes));
    book.version = 1;
    book.nextTileNumber = 1;
    TileCode::assignMissing(book);
    return book;
}

std::string introNote(std::string_view applicationName) {
    return "Try three tools on this sample. Recipe > Replace Material: replace Whiting with Wollastonite, and " +
           std::string(applicationName) +
           " works out new amounts. Recipe > Oxide Nudge: move one oxide to a target. Tests > Find Test: find a "
           "tile by the code on its back. Each has a toolbar button. File > New starts your own book. Help > Open "
           "Sample Book opens this sample again.";
}

} // namespace GlazeCore::SampleBook
