#pragma once

#include "GlazeCore/book/BookTypes.h"

namespace Orza {

class BookDocument;

/**
 * The two-way link from a recipe pane to one recipe of the book, by id. Reading finds the recipe, or a
 * blank fallback made with the binding when the book no longer holds it; writing stores the value through
 * the document only when it carries the bound id and differs from the stored recipe, so a write of an
 * unchanged value, or of the fallback, records nothing.
 */
class RecipeBinding {
public:
    RecipeBinding(BookDocument& document, const GlazeCore::Uuid& recipeID);

    const GlazeCore::Uuid& recipeID() const { return m_recipeID; }
    const GlazeCore::Recipe& get() const;
    /// True when the document stored a change.
    bool set(const GlazeCore::Recipe& value) const;

private:
    BookDocument* m_document;
    GlazeCore::Uuid m_recipeID;
    GlazeCore::Recipe m_fallback;
};

} // namespace Orza
