// BookWindow's book actions and its rename and delete dialogs.

#include "Orza/window/BookWindow.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/BookItems.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/window/DeleteRecipeDialog.h"
#include "Orza/window/RenameRecipeDialog.h"

#include <chrono>

namespace Orza {

namespace {

GlazeCore::Recipe newRecipe(std::size_t number) {
    GlazeCore::RecipeLine blank{GlazeCore::Uuid::random(), std::string(), 0, false};
    return {GlazeCore::Uuid::random(), "New recipe " + std::to_string(number), "6", {blank}, std::string()};
}

std::vector<GlazeCore::FiringSegment> defaultSchedule() {
    return {{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
}

} // namespace

std::optional<GlazeCore::Uuid> BookWindow::selectedRecipeID() const {
    const auto& selection = m_model->selection();
    if (selection && selection->isRecipe()) return selection->recipeID;
    return std::nullopt;
}

void BookWindow::addRecipe() {
    // At the file's recipe limit a further recipe would make a book that cannot be opened again.
    if (!m_document->canAddRecipe()) {
        SystemBeep::beep();
        return;
    }
    const auto& recipes = m_document->book().recipes;
    GlazeCore::Recipe recipe = newRecipe(recipes.size() + 1);
    const GlazeCore::Uuid id = recipe.id;
    m_document->insertRecipe(recipes.size(), std::move(recipe), tr("Add Recipe"));
    m_model->setSelection(SidebarItem::recipe(id));
}

void BookWindow::beginRename(const GlazeCore::Uuid& recipeID) {
    const auto index = m_document->recipeIndex(recipeID);
    m_renameText = index ? QString::fromStdString(m_document->book().recipes[*index].name) : QString();
    m_renaming = recipeID;
    trackDialogShown();
    presentRenameDialog();
}

void BookWindow::duplicateRecipe(const GlazeCore::Uuid& recipeID) {
    const auto index = m_document->recipeIndex(recipeID);
    if (!index) return;
    if (!m_document->canAddRecipe()) {
        SystemBeep::beep();
        return;
    }
    GlazeCore::Recipe copy = Orza::duplicateRecipe(m_document->book().recipes[*index]);
    const GlazeCore::Uuid id = copy.id;
    m_document->insertRecipe(*index + 1, std::move(copy), tr("Duplicate Recipe"));
    m_model->setSelection(SidebarItem::recipe(id));
}

void BookWindow::beginDelete(const GlazeCore::Uuid& recipeID) {
    m_pendingDelete = recipeID;
    trackDialogShown();
    presentDeleteDialog();
}

void BookWindow::showPage(GlazeCore::BookPage page) {
    switch (page) {
    case GlazeCore::BookPage::tests:
        m_model->setSelection(SidebarItem::tests());
        return;
    case GlazeCore::BookPage::materials:
        m_model->setSelection(SidebarItem::materials());
        return;
    case GlazeCore::BookPage::recipes:
        if (selectedRecipeID()) return;
        const auto& recipes = m_document->book().recipes;
        m_model->setSelection(recipes.empty() ? std::nullopt : std::optional(SidebarItem::recipe(recipes.front().id)));
        return;
    }
}

void BookWindow::addTestTile() {
    const auto& recipes = m_document->book().recipes;
    std::optional<std::size_t> chosen;
    if (const auto id = selectedRecipeID()) chosen = m_document->recipeIndex(*id);
    if (!chosen && !recipes.empty()) chosen = 0;
    if (!chosen) return;
    if (!m_document->canAddTest()) {
        SystemBeep::beep();
        return;
    }
    GlazeCore::TestTile tile;
    tile.id = GlazeCore::Uuid::random();
    tile.recipeID = recipes[*chosen].id;
    tile.cone = recipes[*chosen].cone;
    tile.atmosphere = "Oxidation";
    tile.schedule = defaultSchedule();
    tile.date = std::chrono::system_clock::now();
    const GlazeCore::Uuid tileID = tile.id;
    m_document->addTestTile(std::move(tile));

    m_model->setTestQuery(std::string());
    m_model->setTestCone(std::nullopt);
    m_model->setTestAtmosphere(std::nullopt);
    m_model->setTestSelection(tileID);
    m_model->setSelection(SidebarItem::tests());
}

void BookWindow::findTest() {
    m_model->setWantsTestSearchFocus(true);
    m_model->setSelection(SidebarItem::tests());
}

void BookWindow::printLabels() {
    const auto& selection = m_model->selection();
    const bool onTests = selection && selection->kind == SidebarItem::Kind::tests;
    m_model->setLabelScope(m_model->isFiltering() && onTests ? LabelScope::shown : LabelScope::all);
    m_model->setShowLabels(true);
}

std::optional<BookActions> BookWindow::bookActions() {
    if (m_model->anySheetShown()) return std::nullopt;
    BookActions actions;
    actions.addRecipe = [this] { addRecipe(); };
    if (const auto id = selectedRecipeID()) {
        const GlazeCore::Uuid recipeID = *id;
        actions.selected = SelectedRecipeActions{[this, recipeID] { beginRename(recipeID); },
                                                 [this, recipeID] { duplicateRecipe(recipeID); },
                                                 [this, recipeID] { beginDelete(recipeID); }};
    }
    actions.showPage = [this](GlazeCore::BookPage page) { showPage(page); };
    if (!m_document->book().recipes.empty()) actions.addTest = [this] { addTestTile(); };
    actions.findTest = [this] { findTest(); };
    if (!m_document->book().tests.empty()) actions.printLabels = [this] { printLabels(); };
    return actions;
}

std::optional<RecipeActions> BookWindow::recipeActions() const {
    if (!m_recipeActionsPublisher || m_model->anySheetShown()) return std::nullopt;
    return m_recipeActions;
}

void BookWindow::publishRecipeActions(QObject* publisher, std::optional<RecipeActions> actions) {
    // A pane on its way out must not withdraw the bundle of the pane that replaced it.
    if (!actions && publisher != m_recipeActionsPublisher) return;
    if (!actions && !m_recipeActions) return;
    m_recipeActionsPublisher = actions ? publisher : nullptr;
    m_recipeActions = std::move(actions);
    emit recipeActionsChanged();
}

void BookWindow::commitRename() {
    if (!m_renaming) return;
    const auto index = m_document->recipeIndex(*m_renaming);
    if (index) {
        const std::string trimmed = GlazeCore::UnicodeText::trimWhitespaceAndNewlines(m_renameText.toStdString());
        if (!trimmed.empty()) {
            GlazeCore::Recipe renamed = m_document->book().recipes[*index];
            renamed.name = trimmed;
            m_document->setRecipe(renamed, tr("Rename Recipe"));
        }
    }
    m_renaming.reset();
    trackDialogShown();
}

void BookWindow::deleteRecipe(const GlazeCore::Uuid& recipeID) {
    m_document->removeRecipe(recipeID);
}

void BookWindow::presentRenameDialog() {
    auto* dialog = new RenameRecipeDialog(m_renameText, this);
    connect(dialog, &RenameRecipeDialog::textEdited, this, &BookWindow::setRenameText);
    connect(dialog, &QDialog::accepted, this, &BookWindow::commitRename);
    connect(dialog, &QDialog::finished, this, [this] {
        m_renaming.reset();
        trackDialogShown();
    });
    dialog->open();
}

void BookWindow::presentDeleteDialog() {
    auto* dialog = new DeleteRecipeDialog(this);
    connect(dialog, &DeleteRecipeDialog::deleteConfirmed, this, [this] {
        if (m_pendingDelete) deleteRecipe(*m_pendingDelete);
        m_pendingDelete.reset();
    });
    connect(dialog, &QDialog::finished, this, [this] {
        m_pendingDelete.reset();
        trackDialogShown();
    });
    dialog->open();
}

} // namespace Orza
