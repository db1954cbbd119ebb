#pragma once

#include <QWidget>

class QPushButton;

namespace Orza {

class ContentUnavailableView;

/**
 * What the detail area shows when nothing is selected: in a book without recipes an invitation to add
 * one or open the sample book (Return adds a recipe), otherwise a request to pick a recipe.
 */
class EmptyDetailView final : public QWidget {
    Q_OBJECT
public:
    EmptyDetailView(bool bookHasRecipes, QWidget* parent = nullptr);

    ContentUnavailableView* content() const { return m_content; }
    /// Null when the book has recipes.
    QPushButton* addRecipeButton() const { return m_addRecipe; }
    QPushButton* openSampleButton() const { return m_openSample; }

signals:
    void addRecipeRequested();
    void openSampleRequested();

private:
    ContentUnavailableView* m_content;
    QPushButton* m_addRecipe = nullptr;
    QPushButton* m_openSample = nullptr;
};

} // namespace Orza
