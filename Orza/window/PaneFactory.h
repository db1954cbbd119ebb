#pragma once

#include "GlazeCore/text/Uuid.h"

#include <memory>

class QDialog;
class QWidget;

namespace Orza {

class BookDocument;
class BookWindow;
class WindowModel;
class WindowState;

/// What a pane or sheet of a book window is given: the window's document, model and stored state.
struct PaneContext {
    BookWindow* window = nullptr;
    BookDocument* document = nullptr;
    WindowModel* model = nullptr;
    WindowState* state = nullptr;
};

/**
 * Where a book window gets the panes and sheets that live in their own parts of the application: the
 * recipe pane, the Tests and Materials pages and the label sheet. A part that is not there answers null,
 * and the window leaves that place empty.
 */
class PaneFactory {
public:
    virtual ~PaneFactory() = default;

    /// The pane of the recipe with this id; made anew for every selection of a recipe.
    virtual QWidget* makeRecipePane(const PaneContext& context, const GlazeCore::Uuid& recipeID, QWidget* parent);
    virtual QWidget* makeTestLog(const PaneContext& context, QWidget* parent);
    virtual QWidget* makeMaterialsPage(const PaneContext& context, QWidget* parent);
    /// The label sheet, opened while the window model's showLabels is true; it clears the flag when it closes.
    virtual QDialog* makeLabelSheet(const PaneContext& context, QWidget* parent);

    /// The factory every window uses; one that makes nothing until another is installed.
    static PaneFactory& current();
    static void install(std::unique_ptr<PaneFactory> factory);
};

} // namespace Orza
