#include "Orza/document/RecipeBinding.h"

#include "Orza/document/BookDocument.h"

namespace Orza {

RecipeBinding::RecipeBinding(BookDocument& document, const GlazeCore::Uuid& recipeID)
    : m_document(&document),
      m_recipeID(recipeID), m_fallback{GlazeCore::Uuid::random(), std::string(), "6", {}, std::string()} {}

const GlazeCore::Recipe& RecipeBinding::get() const {
    const auto index = m_document->recipeIndex(m_recipeID);
    return index ? m_document->book().recipes[*index] : m_fallback;
}

bool RecipeBinding::set(const GlazeCore::Recipe& value) const {
    if (value.id != m_recipeID) return false;
    return m_document->setRecipe(value);
}

} // namespace Orza
