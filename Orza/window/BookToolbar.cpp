#include "Orza/window/BookToolbar.h"

#include "Orza/window/BookWindow.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/resources/Resources.h"
#include "Orza/settings/Settings.h"
#include "Orza/settings/WindowState.h"
#include "Orza/window/CustomizeToolbarDialog.h"

#include <QMenu>
#include <QToolButton>

namespace Orza {

using ToolbarItems::Item;

BookToolbar::BookToolbar(BookWindow& window) : QToolBar(tr("Toolbar"), &window), m_window(window) {
    ensureResources();
    setObjectName(QStringLiteral("orza.book.toolbar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(18, 18));
    toggleViewAction()->setVisible(false);
    makeActions();
    placeItems();

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        connect(menu->addAction(tr("Customize Toolbar\u2026")), &QAction::triggered, this, &BookToolbar::customize);
        menu->popup(mapToGlobal(position));
    });

    connect(&Settings::instance(), &Settings::changed, this, [this](Settings::Key key) {
        if (key == Settings::Key::bookToolbar) placeItems();
    });
    connect(window.model(), &WindowModel::selectionChanged, this, &BookToolbar::updateStates);
    connect(window.state(), &WindowState::showChemistryChanged, this, &BookToolbar::updateStates);
    // The selected recipe can leave the book (and come back with an undo) while it stays selected.
    BookDocument* document = window.document();
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(document, signal, this, &BookToolbar::updateStates);
    connect(document, &BookDocument::reset, this, &BookToolbar::updateStates);
}

void BookToolbar::makeActions() {
    for (const Item item : ToolbarItems::all()) {
        auto* action =
            new QAction(QIcon(QStringLiteral(":/orza/icons/%1.svg").arg(ToolbarItems::symbol(item))), QString(), this);
        action->setObjectName(ToolbarItems::identifier(item));
        m_actions[std::size_t(item)] = action;
        if (item != Item::blend) connect(action, &QAction::triggered, this, [this, item] { run(item); });
    }
    m_blendMenu = new QMenu(this);
    const std::array<std::pair<QString, BlendMode>, 3> blends{{{tr("Line Blend\u2026"), BlendMode::line},
                                                               {tr("Triaxial Blend\u2026"), BlendMode::triaxial},
                                                               {tr("Four-Corner Grid\u2026"), BlendMode::grid}}};
    for (const auto& [title, mode] : blends) {
        connect(m_blendMenu->addAction(title), &QAction::triggered, this, [this, mode] {
            if (hasSelectedRecipe()) m_window.model()->setBlendMode(mode);
        });
    }
    action(Item::blend)->setMenu(m_blendMenu);
}

void BookToolbar::placeItems() {
    clear();
    for (const Item item : ToolbarItems::shown()) {
        QAction* itemAction = action(item);
        addAction(itemAction);
        auto* button = qobject_cast<QToolButton*>(widgetForAction(itemAction));
        if (!button) continue;
        button->setToolButtonStyle(ToolbarItems::showsTitle(item) ? Qt::ToolButtonTextBesideIcon
                                                                  : Qt::ToolButtonIconOnly);
        if (item == Item::blend) button->setPopupMode(QToolButton::InstantPopup);
    }
    updateStates();
}

std::vector<Item> BookToolbar::shownItems() const {
    std::vector<Item> items;
    for (QAction* shown : actions())
        if (const auto item = ToolbarItems::fromIdentifier(shown->objectName())) items.push_back(*item);
    return items;
}

bool BookToolbar::hasSelectedRecipe() const {
    // A selection can name a recipe the book no longer holds; then no pane is there to serve a request.
    const auto id = m_window.selectedRecipeID();
    return id && m_window.document()->recipeIndex(*id).has_value();
}

void BookToolbar::updateStates() {
    const bool recipe = hasSelectedRecipe();
    const bool chemistryShown = m_window.state()->showChemistry();
    for (const Item item : ToolbarItems::all()) {
        QAction* itemAction = action(item);
        itemAction->setText(ToolbarItems::label(item, chemistryShown));
        itemAction->setToolTip(ToolbarItems::helpText(item, chemistryShown));
        itemAction->setEnabled(!ToolbarItems::needsRecipe(item) || recipe);
        if (QWidget* button = widgetForAction(itemAction))
            button->setAccessibleName(ToolbarItems::accessibleName(item, chemistryShown));
    }
}

void BookToolbar::run(Item item) {
    if (ToolbarItems::needsRecipe(item) && !hasSelectedRecipe()) return;
    WindowModel* model = m_window.model();
    switch (item) {
    case Item::addRecipe:
        m_window.addRecipe();
        return;
    case Item::replaceMaterial:
        model->setReplace(ReplaceRequest{GlazeCore::Uuid::random(), std::nullopt});
        return;
    case Item::oxideNudge:
        model->setNudge(NudgeRequest{GlazeCore::Uuid::random(), GlazeCore::Oxide::SiO2, 0});
        return;
    case Item::findTest:
        m_window.findTest();
        return;
    case Item::blend:
        return; // its menu's entries act
    case Item::batchSheet:
        model->setShowBatch(true);
        return;
    case Item::chemistry:
        m_window.state()->setShowChemistry(!m_window.state()->showChemistry());
        return;
    }
}

CustomizeToolbarDialog* BookToolbar::customize() {
    auto* dialog = new CustomizeToolbarDialog(&m_window);
    dialog->open();
    return dialog;
}

} // namespace Orza
