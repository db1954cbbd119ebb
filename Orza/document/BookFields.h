#pragma once

// The fields a SetField command changes: for each, the key that finds its item, the value, the merge id,
// the undo step's name, where the value lives and the signal that reports it.

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/document/BookAccess.h"
#include "Orza/undo/CommandId.h"

#include <QCoreApplication>

#include <optional>
#include <type_traits>
#include <utility>

namespace Orza::BookFields {

struct RecipeKey {
    GlazeCore::Uuid recipe;
    friend bool operator==(const RecipeKey&, const RecipeKey&) = default;
};
struct LineKey {
    GlazeCore::Uuid recipe;
    GlazeCore::Uuid line;
    friend bool operator==(const LineKey&, const LineKey&) = default;
};
struct TileKey {
    GlazeCore::Uuid tile;
    friend bool operator==(const TileKey&, const TileKey&) = default;
};
struct MaterialKey {
    std::string id; // canonical
    friend bool operator==(const MaterialKey&, const MaterialKey&) = default;
};
struct MaterialOxideKey {
    std::string id; // canonical
    GlazeCore::Oxide oxide;
    friend bool operator==(const MaterialOxideKey&, const MaterialOxideKey&) = default;
};

// Values compare as the book compares them: texts by canonical equivalence, numbers by IEEE equality.
inline bool same(const std::string& a, const std::string& b) {
    return GlazeCore::UnicodeText::canonicallyEqual(a, b);
}
template <class T> bool same(const T& a, const T& b) {
    return a == b;
}

inline QString label(const char* text) {
    return QCoreApplication::translate("BookDocument", text);
}

// Where the items of each kind are found by their key, and how their changes are reported.
struct InRecipe {
    using Item = GlazeCore::Recipe;
    using Key = RecipeKey;
    static GlazeCore::Recipe* find(BookDocument& d, const Key& k) { return BookAccess::findRecipe(d, k.recipe); }
    static void changed(BookDocument& d, const Key& k, RecipeField f) { BookAccess::recipeChanged(d, k.recipe, f); }
};
struct InLine {
    using Item = GlazeCore::RecipeLine;
    using Key = LineKey;
    static GlazeCore::RecipeLine* find(BookDocument& d, const Key& k) {
        return BookAccess::findLine(d, k.recipe, k.line);
    }
    static void changed(BookDocument& d, const Key& k, LineField f) { BookAccess::lineChanged(d, k.recipe, k.line, f); }
};
struct InTile {
    using Item = GlazeCore::TestTile;
    using Key = TileKey;
    static GlazeCore::TestTile* find(BookDocument& d, const Key& k) { return BookAccess::findTile(d, k.tile); }
    static void changed(BookDocument& d, const Key& k, TileField f) { BookAccess::tileChanged(d, k.tile, f); }
};
struct InMaterial {
    using Item = GlazeCore::Material;
    using Key = MaterialKey;
    static GlazeCore::Material* find(BookDocument& d, const Key& k) { return BookAccess::findMaterial(d, k.id); }
    static void changed(BookDocument& d, const Key& k, MaterialField f) { BookAccess::materialChanged(d, k.id, f); }
};

/// One member of an item, declared in one line each below: where its item is, its merge id, the field
/// its signal names and the member itself.
template <class Where, CommandId id_, auto field_, auto member_> struct MemberValue {
    using Access = BookAccess;
    using Key = typename Where::Key;
    using Value = std::remove_cvref_t<decltype(std::declval<typename Where::Item&>().*member_)>;
    static constexpr CommandId commandId = id_;
    static std::optional<Value> current(BookDocument& d, const Key& k) {
        const auto* item = Where::find(d, k);
        return item ? std::optional<Value>(item->*member_) : std::nullopt;
    }
    static Value exchange(BookDocument& d, const Key& k, Value value) {
        auto* item = Where::find(d, k);
        Q_ASSERT(item); // commands run in stack order, so their item is in the book
        return std::exchange(item->*member_, std::move(value));
    }
    static void changed(BookDocument& d, const Key& k) { Where::changed(d, k, field_); }
    static bool same(const Value& a, const Value& b) { return BookFields::same(a, b); }
};

// clang-format off
struct RecipeName : MemberValue<InRecipe, CommandId::recipeName, RecipeField::name, &GlazeCore::Recipe::name> {
    static QString label() { return BookFields::label("Rename Recipe"); } };
struct RecipeCone : MemberValue<InRecipe, CommandId::recipeCone, RecipeField::cone, &GlazeCore::Recipe::cone> {
    static QString label() { return BookFields::label("Change Cone"); } };
struct RecipeNotes : MemberValue<InRecipe, CommandId::recipeNotes, RecipeField::notes, &GlazeCore::Recipe::notes> {
    static QString label() { return BookFields::label("Edit Notes"); } };

struct LineMaterial : MemberValue<InLine, CommandId::lineMaterial, LineField::materialID,
                                &GlazeCore::RecipeLine::materialID> {
    static QString label() { return BookFields::label("Choose Material"); } };
struct LineAmount : MemberValue<InLine, CommandId::lineAmount, LineField::amount, &GlazeCore::RecipeLine::amount> {
    static QString label() { return BookFields::label("Change Amount"); } };
struct LineAddition : MemberValue<InLine, CommandId::lineAddition, LineField::isAddition,
                                &GlazeCore::RecipeLine::isAddition> {
    static QString label() { return BookFields::label("Change Addition"); } };

struct TileRecipe : MemberValue<InTile, CommandId::tileRecipe, TileField::recipeID,
                              &GlazeCore::TestTile::recipeID> {
    static QString label() { return BookFields::label("Change Test Recipe"); } };
struct TileCone : MemberValue<InTile, CommandId::tileCone, TileField::cone, &GlazeCore::TestTile::cone> {
    static QString label() { return BookFields::label("Change Test Cone"); } };
struct TileAtmosphere : MemberValue<InTile, CommandId::tileAtmosphere, TileField::atmosphere,
                                  &GlazeCore::TestTile::atmosphere> {
    static QString label() { return BookFields::label("Change Atmosphere"); } };
struct TileSchedule : MemberValue<InTile, CommandId::tileSchedule, TileField::schedule,
                                &GlazeCore::TestTile::schedule> {
    static QString label() { return BookFields::label("Edit Firing Schedule"); } };
struct TileNotes : MemberValue<InTile, CommandId::tileNotes, TileField::notes, &GlazeCore::TestTile::notes> {
    static QString label() { return BookFields::label("Edit Test Notes"); } };
struct TilePhoto : MemberValue<InTile, CommandId::tilePhoto, TileField::photoBookmark,
                             &GlazeCore::TestTile::photoBookmark> {
    static QString label() { return BookFields::label("Change Photo"); } };
struct TileDate : MemberValue<InTile, CommandId::tileDate, TileField::date, &GlazeCore::TestTile::date> {
    static QString label() { return BookFields::label("Change Test Date"); } };
struct TileCode : MemberValue<InTile, CommandId::tileCode, TileField::code, &GlazeCore::TestTile::code> {
    static QString label() { return BookFields::label("Change Tile Code"); } };

struct MaterialName : MemberValue<InMaterial, CommandId::materialName, MaterialField::name,
                                    &GlazeCore::Material::name> {
    static QString label() { return BookFields::label("Rename Material"); } };
struct MaterialSource : MemberValue<InMaterial, CommandId::materialSource, MaterialField::source,
                                      &GlazeCore::Material::source> {
    static QString label() { return BookFields::label("Edit Source"); } };
struct MaterialLoi : MemberValue<InMaterial, CommandId::materialLoi, MaterialField::loi, &GlazeCore::Material::loi> {
    static QString label() { return BookFields::label("Change Loss on Ignition"); } };
// clang-format on

/// One oxide of a custom material's analysis; none: the oxide is not in the analysis.
struct MaterialOxide {
    using Access = BookAccess;
    using Key = MaterialOxideKey;
    using Value = std::optional<double>;
    static constexpr CommandId commandId = CommandId::materialOxide;
    static QString label() { return BookFields::label("Change Analysis"); }
    static bool same(const Value& a, const Value& b) { return a == b; }
    static std::optional<Value> current(BookDocument& d, const Key& k) {
        const auto* material = BookAccess::findMaterial(d, k.id);
        if (!material) return std::nullopt;
        const auto found = material->analysis.find(k.oxide);
        return found == material->analysis.end() ? Value() : Value(found->second);
    }
    static Value exchange(BookDocument& d, const Key& k, Value value) {
        GlazeCore::Analysis& analysis = BookAccess::material(d, k.id).analysis;
        const auto found = analysis.find(k.oxide);
        Value old = found == analysis.end() ? Value() : Value(found->second);
        if (value)
            analysis.insert_or_assign(k.oxide, *value);
        else if (found != analysis.end())
            analysis.erase(found);
        return old;
    }
    static void changed(BookDocument& d, const Key& k) {
        BookAccess::materialChanged(d, k.id, MaterialField::analysis);
    }
};

/// The book's next tile number.
struct NextTileNumber {
    using Access = BookAccess;
    struct Key {
        friend bool operator==(const Key&, const Key&) = default;
    };
    using Value = std::int64_t;
    static constexpr CommandId commandId = CommandId::nextTileNumber;
    static QString label() { return BookFields::label("Change Next Tile Number"); }
    static std::optional<Value> current(BookDocument& d, const Key&) { return BookAccess::book(d).nextTileNumber; }
    static Value exchange(BookDocument& d, const Key&, Value value) {
        return std::exchange(BookAccess::book(d).nextTileNumber, value);
    }
    static void changed(BookDocument& d, const Key&) { BookAccess::nextTileNumberChanged(d); }
    static bool same(Value a, Value b) { return a == b; }
};

} // namespace Orza::BookFields
