#include "Orza/document/BookItems.h"

#include "GlazeCore/library/MaterialRules.h"
#include "Orza/library/BookLibrary.h"

namespace Orza {

GlazeCore::Recipe duplicateRecipe(const GlazeCore::Recipe& recipe, const std::optional<std::string>& name) {
    GlazeCore::Recipe copy = recipe;
    copy.id = GlazeCore::Uuid::random();
    copy.name = name ? *name : recipe.name + " copy";
    for (GlazeCore::RecipeLine& line : copy.lines)
        line.id = GlazeCore::Uuid::random();
    return copy;
}

GlazeCore::Material newCustomMaterial(const GlazeCore::GlazeBook& book) {
    auto taken = GlazeCore::MaterialRules::usedMaterialIDs(book);
    for (const GlazeCore::Material& material : BookLibrary::bundledMaterials().materials)
        taken.insert(material.id);
    std::unordered_set<std::string> names;
    for (const GlazeCore::Material& material : book.customMaterials)
        names.insert(material.name);
    GlazeCore::Material material;
    material.name = GlazeCore::MaterialRules::newMaterialName(names);
    material.id = GlazeCore::MaterialRules::newMaterialID(taken, [] { return GlazeCore::Uuid::random(); });
    return material;
}

} // namespace Orza
