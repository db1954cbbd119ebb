#pragma once

// Which field of a book item changed, as the document's change signals name it.
namespace Orza {

enum class RecipeField { name, cone, notes };
enum class LineField { materialID, amount, isAddition };
enum class TileField { recipeID, cone, atmosphere, schedule, notes, photoBookmark, date, code };
enum class MaterialField { name, analysis, loi, source };

} // namespace Orza
