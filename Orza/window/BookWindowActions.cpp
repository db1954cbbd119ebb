// BookWindow's book actions and its rename and delete dialogs.

#include "Orza/window/BookWindow.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/actions/CommandTable.h"
#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/SystemBeep.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/widgets/ShownTextKeys.h"
#include "Orza/window/DeleteRecipeDialog.h"
#include "Orza/window/RenameRecipeDialog.h"

namespace Orza {

std::optional<GlazeCore::Uuid> BookWindow::selectedRecipeID() const {
    const auto& selection = m_model->selection();
    if (selection && selection->isRecipe()) return selection->recipeID;
    return std::nullopt;
}

std::optional<GlazeCore::Uuid> BookWindow::subjectRecipeID() const {
    if (const auto& context = m_actions->contextRecipe()) return context;
    return selectedRecipeID();
}

void BookWindow::addRecipe() {
    // At the file's recipe limit a further recipe would make a book that cannot be opened again.
    const auto id = m_document->addNewRecipe();
    if (!id) {
        SystemBeep::beep();
        return;
    }
    m_model->setSelection(SidebarItem::recipe(*id));
    if (auto* pane = qobject_cast<RecipePane*>(m_detail)) pane->focusName();
}

void BookWindow::beginRename(const GlazeCore::Uuid& recipeID) {
    const auto index = m_document->recipeIndex(recipeID);
    m_renameText = index ? QString::fromStdString(m_document->book().recipes[*index].name) : QString();
    m_renaming = recipeID;
    trackDialogShown();
    presentRenameDialog();
}

void BookWindow::duplicateRecipe(const GlazeCore::Uuid& recipeID) {
    if (!m_document->recipeIndex(recipeID)) return;
    const auto copy = m_document->duplicateRecipe(recipeID);
    if (!copy) {
        SystemBeep::beep();
        return;
    }
    m_model->setSelection(SidebarItem::recipe(*copy));
    if (auto* pane = qobject_cast<RecipePane*>(m_detail)) pane->focusName();
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
    if (m_document->book().recipes.empty()) return;
    const auto tileID = m_document->addNewTestTile(selectedRecipeID());
    if (!tileID) {
        SystemBeep::beep();
        return;
    }

    m_model->setTestQuery(std::string());
    m_model->setTestCone(std::nullopt);
    m_model->setTestAtmosphere(std::nullopt);
    m_model->setTestSelection(*tileID);
    m_model->setSelection(SidebarItem::tests());
    if (auto* page = qobject_cast<TestLogPage*>(m_detail)) page->focusSelectedTileCode();
}

void BookWindow::findTest() {
    m_model->setWantsTestSearchFocus(true);
    m_model->setSelection(SidebarItem::tests());
}

void BookWindow::printLabels() {
    const bool searchShown = m_model->selection() == SidebarItem::tests() && m_model->isFiltering();
    LabelSheet::open(paneContext(), searchShown ? LabelScope::shown : LabelScope::all);
}

void BookWindow::setBookHandlers() {
    ActionRegistry& actions = *m_actions;
    const auto onSubject = [this](void (BookWindow::*act)(const GlazeCore::Uuid&)) {
        return CommandHandler{[this, act] {
                                  if (const auto id = subjectRecipeID()) (this->*act)(*id);
                              },
                              [this] { return subjectRecipeID().has_value(); }};
    };
    actions.setHandler(this, Command::addRecipe, {[this] { addRecipe(); }});
    actions.setHandler(this, Command::renameRecipe, onSubject(&BookWindow::beginRename));
    actions.setHandler(this, Command::duplicateRecipe, onSubject(&BookWindow::duplicateRecipe));
    actions.setHandler(this, Command::deleteRecipe, onSubject(&BookWindow::beginDelete));
    for (const GlazeCore::BookPage page : GlazeCore::BookPage::allCases())
        actions.setHandler(this, CommandTable::showing(page), {[this, page] { showPage(page); }});
    actions.setHandler(this, Command::addTest,
                       {[this] { addTestTile(); }, [this] { return !m_document->book().recipes.empty(); }});
    actions.setHandler(this, Command::findTest, {[this] { findTest(); }});
    actions.setHandler(this, Command::printLabels,
                       {[this] { printLabels(); }, [this] { return !m_document->book().tests.empty(); }});
}

void BookWindow::commitRename() {
    if (!m_renaming) return;
    m_document->renameRecipe(*m_renaming, m_renameText.toStdString());
    m_renaming.reset();
    trackDialogShown();
}

void BookWindow::deleteRecipe(const GlazeCore::Uuid& recipeID) {
    m_document->removeRecipe(recipeID);
}

void BookWindow::presentRenameDialog() {
    // The field shows a very long name's ends; typing edits the whole name.
    auto* dialog = new RenameRecipeDialog(m_renameEdit.show(m_renameText.toStdString()), this);
    connect(dialog, &RenameRecipeDialog::textEdited, this,
            [this](const QString& typed) { setRenameText(QString::fromStdString(m_renameEdit.edit(typed))); });
    eraseHiddenByKeys(dialog->nameField(), m_renameEdit,
                      [this](const std::string& whole) { setRenameText(QString::fromStdString(whole)); });
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
