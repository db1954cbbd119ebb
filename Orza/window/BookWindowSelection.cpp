// BookWindow's bookkeeping around its selection and its document's edited state.

#include "Orza/window/BookWindow.h"

#include "GlazeCore/book/FirstLaunch.h"
#include "GlazeCore/book/RecipeSelection.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/settings/Settings.h"
#include "Orza/settings/WindowState.h"

#include <QTimer>

namespace Orza {

namespace {

const QString testsText = QStringLiteral("tests");
const QString materialsText = QStringLiteral("materials");

std::vector<GlazeCore::Uuid> recipeIDs(const GlazeCore::GlazeBook& book) {
    std::vector<GlazeCore::Uuid> ids;
    ids.reserve(book.recipes.size());
    for (const GlazeCore::Recipe& recipe : book.recipes)
        ids.push_back(recipe.id);
    return ids;
}

} // namespace

void BookWindow::openSampleOnFirstLaunch() {
    Settings& settings = Settings::instance();
    if (!settings.boolValue(Settings::Key::firstLaunchSampleShown)) {
        const bool openSample = GlazeCore::FirstLaunch::shouldOpenSample(false, isUntitled(), m_document->book());
        settings.set(Settings::Key::firstLaunchSampleShown, true);
        if (openSample) {
            emit replaceWithSampleRequested();
            // Closing from inside the show would cut the window's own appearance short.
            QTimer::singleShot(0, this, &QWidget::close);
            return;
        }
    }
    if (m_model->selection()) return;
    std::optional<SidebarItem> selection = restoreSelection();
    if (!selection && !m_document->book().recipes.empty())
        selection = SidebarItem::recipe(m_document->book().recipes.front().id);
    m_model->setSelection(selection);
}

std::optional<SidebarItem> BookWindow::restoreSelection() const {
    const QString& saved = m_state->sidebarSelection();
    if (saved == testsText) return SidebarItem::tests();
    if (saved == materialsText) return SidebarItem::materials();
    const auto id = GlazeCore::Uuid::parse(saved.toStdString());
    if (!id || !m_document->recipeIndex(*id)) return std::nullopt;
    return SidebarItem::recipe(*id);
}

void BookWindow::saveSelection() {
    const auto& selection = m_model->selection();
    QString text;
    if (selection) {
        switch (selection->kind) {
        case SidebarItem::Kind::recipe:
            text = QString::fromStdString(selection->recipeID.uppercaseText());
            break;
        case SidebarItem::Kind::tests:
            text = testsText;
            break;
        case SidebarItem::Kind::materials:
            text = materialsText;
            break;
        }
    }
    m_state->setSidebarSelection(text);
}

void BookWindow::rememberRecipeIDs() {
    // Only a selected recipe can be lost, so only then is the list worth keeping.
    if (selectedRecipeID())
        m_recipeIDsBefore = recipeIDs(m_document->book());
    else
        m_recipeIDsBefore.clear();
}

void BookWindow::keepSelectionValid() {
    const auto selected = selectedRecipeID();
    // A recipe that comes back or moves leaves the selection alone; a selected one that goes, by an edit, an undo
    // or a redo alike, gives way to the recipe now at its place.
    if (!selected || m_document->recipeIndex(*selected)) return;
    const auto next =
        GlazeCore::RecipeSelection::afterChange(selected, m_recipeIDsBefore, recipeIDs(m_document->book()));
    m_recipeIDsBefore.clear();
    m_model->setSelection(next ? std::optional(SidebarItem::recipe(*next)) : std::nullopt);
}

void BookWindow::trackDialogShown() {
    m_model->setDialogShown(m_renaming.has_value() || m_pendingDelete.has_value());
}

} // namespace Orza
