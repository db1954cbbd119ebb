#include "Orza/actions/ActionRegistry.h"

#include "GlazeCore/book/BookPage.h"
#include "Orza/actions/ToolbarItems.h"
#include "Orza/document/BookDocument.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/PrintInfo.h"
#include "Orza/widgets/ContextMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QUndoStack>
#include <QWidget>

namespace Orza {

namespace {

QKeySequence keys(QKeyCombination combination) {
    return QKeySequence(combination);
}

std::optional<BlendMode> blendModeOf(Command command) {
    switch (command) {
    case Command::lineBlend:
        return BlendMode::line;
    case Command::triaxialBlend:
        return BlendMode::triaxial;
    case Command::gridBlend:
        return BlendMode::grid;
    default:
        return std::nullopt;
    }
}

std::optional<GlazeCore::BookPage> pageOf(Command command) {
    switch (command) {
    case Command::showRecipes:
        return GlazeCore::BookPage::recipes;
    case Command::showTests:
        return GlazeCore::BookPage::tests;
    case Command::showMaterials:
        return GlazeCore::BookPage::materials;
    default:
        return std::nullopt;
    }
}

/// The closure of the bundle that runs a bundle command, or an empty one when it cannot run.
std::function<void()> closureOf(Command command, const std::optional<BookActions>& book,
                                const std::optional<RecipeActions>& recipe) {
    if (const auto page = pageOf(command)) {
        if (!book || !book->showPage) return {};
        return [run = book->showPage, page = *page] { run(page); };
    }
    if (const auto mode = blendModeOf(command)) {
        if (!recipe || !recipe->blend) return {};
        return [run = recipe->blend, mode = *mode] { run(mode); };
    }
    const auto fromSelected = [&](auto pick) -> std::function<void()> {
        return book && book->selected ? pick(*book->selected) : std::function<void()>();
    };
    switch (command) {
    case Command::addRecipe:
        return book ? book->addRecipe : std::function<void()>();
    case Command::renameRecipe:
        return fromSelected([](const SelectedRecipeActions& s) { return s.rename; });
    case Command::duplicateRecipe:
        return fromSelected([](const SelectedRecipeActions& s) { return s.duplicate; });
    case Command::deleteRecipe:
        return fromSelected([](const SelectedRecipeActions& s) { return s.deleteRecipe; });
    case Command::addTest:
        return book ? book->addTest.value_or(nullptr) : std::function<void()>();
    case Command::findTest:
        return book ? book->findTest : std::function<void()>();
    case Command::printLabels:
        return book ? book->printLabels.value_or(nullptr) : std::function<void()>();
    case Command::addMaterial:
        return recipe ? recipe->addMaterial : std::function<void()>();
    case Command::oxideNudge:
        return recipe ? recipe->nudge : std::function<void()>();
    case Command::replaceMaterial:
        return recipe ? recipe->replaceMaterial : std::function<void()>();
    case Command::batchSheet:
        return recipe ? recipe->batchSheet : std::function<void()>();
    case Command::printBatchSheet:
        return recipe ? recipe->printBatchSheet : std::function<void()>();
    default:
        return {};
    }
}

/// The toolbar item that shows a command, when one does.
std::optional<ToolbarItems::Item> toolbarItemOf(Command command) {
    for (const ToolbarItems::Item item : ToolbarItems::all())
        if (ToolbarItems::command(item) == command) return item;
    return std::nullopt;
}

} // namespace

ActionRegistry::ActionRegistry(QWidget* window, BookDocument& document)
    : QObject(window), m_window(window), m_document(document) {
    setObjectName(QStringLiteral("actionRegistry"));
    makeFileActions();
    makeEditActions();
    makeViewActions();
    makeRecipeActions();
    makeTestsActions();
    makeHelpActions();

    QUndoStack* stack = document.undoStack();
    connect(stack, &QUndoStack::canUndoChanged, this, &ActionRegistry::updateUndo);
    connect(stack, &QUndoStack::canRedoChanged, this, &ActionRegistry::updateUndo);
    connect(stack, &QUndoStack::undoTextChanged, this, &ActionRegistry::updateUndo);
    connect(stack, &QUndoStack::redoTextChanged, this, &ActionRegistry::updateUndo);
    connect(&document, &BookDocument::modifiedChanged, this, &ActionRegistry::update);
    connect(&document, &BookDocument::filePathChanged, this, &ActionRegistry::update);
    update();
}

ActionRegistry* ActionRegistry::of(const QWidget* widget) {
    if (!widget) return nullptr;
    return widget->window()->findChild<ActionRegistry*>(QStringLiteral("actionRegistry"), Qt::FindDirectChildrenOnly);
}

QAction* ActionRegistry::make(Command command, const QString& title, const QString& shortTitle) {
    auto* action = new QAction(title, this);
    action->setIconText(shortTitle.isEmpty() ? title : shortTitle);
    m_actions[std::size_t(command)] = action;
    return action;
}

void ActionRegistry::makeFileActions() {
    make(Command::newBook, tr("New"))->setShortcut(QKeySequence::New);
    make(Command::open, tr("Open\u2026"))->setShortcut(QKeySequence::Open);
    make(Command::close, tr("Close"))->setShortcut(QKeySequence::Close);
    make(Command::save, tr("Save"))->setShortcut(QKeySequence::Save);
    make(Command::saveAs, tr("Save As\u2026"))->setShortcut(keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    make(Command::revert, tr("Revert to Saved"));
    QAction* pageSetup = make(Command::pageSetup, tr("Page Setup\u2026"));
    pageSetup->setShortcut(keys(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    connect(pageSetup, &QAction::triggered, this, [this] { PrintInfo::runPageLayout(m_window); });
    QAction* print = make(Command::printBatchSheet, tr("Print Batch Sheet\u2026"));
    print->setShortcut(keys(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, [this] { run(Command::printBatchSheet); });
    QAction* quit = make(Command::quit, tr("Quit"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
}

void ActionRegistry::makeEditActions() {
    QAction* undo = make(Command::undo, tr("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, [this] { m_document.undoStack()->undo(); });
    QAction* redo = make(Command::redo, tr("Redo"));
    redo->setShortcuts({keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), keys(Qt::CTRL | Qt::Key_Y)});
    connect(redo, &QAction::triggered, this, [this] { m_document.undoStack()->redo(); });

    // The focused text field's own editing, offered in the menu as well as by its keys.
    using LineEdit = std::function<void(QLineEdit&)>;
    using TextEdit = std::function<void(QPlainTextEdit&)>;
    const auto onField = [this](Command command, const QString& title, QKeySequence::StandardKey shortcut,
                                LineEdit line, TextEdit text) {
        QAction* action = make(command, title);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, line, text] {
            if (auto* field = qobject_cast<QLineEdit*>(focusedTextField())) line(*field);
            if (auto* field = qobject_cast<QPlainTextEdit*>(focusedTextField())) text(*field);
        });
    };
    onField(Command::cut, tr("Cut"), QKeySequence::Cut, &QLineEdit::cut, &QPlainTextEdit::cut);
    onField(Command::copy, tr("Copy"), QKeySequence::Copy, &QLineEdit::copy, &QPlainTextEdit::copy);
    onField(Command::paste, tr("Paste"), QKeySequence::Paste, &QLineEdit::paste, &QPlainTextEdit::paste);
    onField(Command::deleteSelection, tr("Delete"), QKeySequence::Delete, &QLineEdit::del,
            [](QPlainTextEdit& field) { field.textCursor().removeSelectedText(); });
    onField(Command::selectAll, tr("Select All"), QKeySequence::SelectAll, &QLineEdit::selectAll,
            &QPlainTextEdit::selectAll);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { followFocus(now); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ActionRegistry::updateTextCommands);
}

void ActionRegistry::makeViewActions() {
    // The window's own: the toolbar and the sidebar follow them (BookToolbar, BookWindow).
    make(Command::toggleToolbar, tr("Hide Toolbar"))->setShortcut(keys(Qt::CTRL | Qt::ALT | Qt::Key_T));
    make(Command::customizeToolbar, tr("Customize Toolbar\u2026"));
    make(Command::toggleSidebar, tr("Hide Sidebar"))->setShortcut(keys(Qt::CTRL | Qt::META | Qt::Key_S));
    QAction* chemistry = make(Command::toggleChemistry, tr("Hide Chemistry"));
    chemistry->setShortcut(keys(Qt::CTRL | Qt::ALT | Qt::Key_I));
    connect(chemistry, &QAction::triggered, this, [this] { run(Command::toggleChemistry); });
    const std::array<std::pair<Command, GlazeCore::BookPage>, 3> pages{
        {{Command::showRecipes, GlazeCore::BookPage::recipes},
         {Command::showTests, GlazeCore::BookPage::tests},
         {Command::showMaterials, GlazeCore::BookPage::materials}}};
    for (const auto& [command, page] : pages) {
        QAction* action = make(command, QString::fromUtf8(page.title().data(), qsizetype(page.title().size())));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + QString::fromStdString(page.shortcutKey()),
                                         QKeySequence::PortableText));
        connect(action, &QAction::triggered, this, [this, command = command] { run(command); });
    }
}

void ActionRegistry::makeRecipeActions() {
    const auto bundle = [this](Command command, const QString& title, const QString& shortTitle,
                               const QKeySequence& shortcut) {
        QAction* action = make(command, title, shortTitle);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    };
    bundle(Command::addRecipe, tr("Add Recipe"), {}, keys(Qt::CTRL | Qt::ALT | Qt::Key_N));
    bundle(Command::renameRecipe, tr("Rename Recipe\u2026"), tr("Rename\u2026"), {});
    bundle(Command::duplicateRecipe, tr("Duplicate Recipe"), tr("Duplicate"), keys(Qt::CTRL | Qt::Key_D));
    bundle(Command::deleteRecipe, tr("Delete Recipe\u2026"), tr("Delete\u2026"), keys(Qt::CTRL | Qt::Key_Backspace));
    bundle(Command::addMaterial, tr("Add Material"), {}, keys(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    bundle(Command::oxideNudge, tr("Oxide Nudge\u2026"), tr("Oxide Nudge"), {});
    bundle(Command::replaceMaterial, tr("Replace Material\u2026"), tr("Replace Material"), {});
    bundle(Command::lineBlend, tr("Line Blend\u2026"), {}, {});
    bundle(Command::triaxialBlend, tr("Triaxial Blend\u2026"), {}, keys(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    bundle(Command::gridBlend, tr("Four-Corner Grid\u2026"), {}, {});
    bundle(Command::batchSheet, tr("Batch Sheet\u2026"), tr("Batch Sheet"), keys(Qt::CTRL | Qt::SHIFT | Qt::Key_B));

    QAction* blend = make(Command::blendMenu, tr("Blend"));
    auto* blends = new QMenu(m_window);
    for (const Command command : {Command::lineBlend, Command::triaxialBlend, Command::gridBlend})
        blends->addAction(action(command));
    blend->setMenu(blends);
}

void ActionRegistry::makeTestsActions() {
    const auto bundle = [this](Command command, const QString& title, const QString& shortTitle,
                               const QKeySequence& shortcut) {
        QAction* action = make(command, title, shortTitle);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    };
    bundle(Command::addTest, tr("Add Test"), {}, {});
    bundle(Command::findTest, tr("Find Test\u2026"), tr("Find Test"), keys(Qt::CTRL | Qt::ALT | Qt::Key_F));
    bundle(Command::printLabels, tr("Print Labels\u2026"), {}, {});
}

void ActionRegistry::makeHelpActions() {
    const QString name = GlazeMainApp::appName();
    const auto item = [this](Command command, const QString& title, const QString& hint) {
        QAction* action = make(command, title);
        action->setStatusTip(hint);
        action->setToolTip(hint);
        return action;
    };
    item(Command::help, tr("%1 Help").arg(name), tr("Opens the help window"))
        ->setShortcut(keys(Qt::CTRL | Qt::Key_Question));
    item(Command::support, tr("%1 Support").arg(name), tr("Opens the support page in your web browser"));
    item(Command::privacy, tr("Privacy Policy"), tr("Opens the privacy policy in your web browser"));
    item(Command::openSample, tr("Open Sample Book"), tr("Opens a new untitled book with six sample cone 6 recipes"));
}

void ActionRegistry::publishBookActions(std::optional<BookActions> actions) {
    m_book = std::move(actions);
    update();
}

std::optional<RecipeActions> ActionRegistry::recipeActions() const {
    // The window withdraws its book actions while a sheet or dialog is up; the pane's go with them.
    if (!m_recipePublisher || !m_book) return std::nullopt;
    return m_recipe;
}

void ActionRegistry::publishRecipeActions(QObject* publisher, std::optional<RecipeActions> actions) {
    if (!actions && publisher != m_recipePublisher) return;
    m_recipePublisher = actions ? publisher : nullptr;
    m_recipe = std::move(actions);
    if (publisher && actions)
        connect(publisher, &QObject::destroyed, this, &ActionRegistry::update, Qt::UniqueConnection);
    update();
}

void ActionRegistry::publishChemistryShown(QObject* publisher, std::optional<ChemistryShown> shown) {
    if (!shown && publisher != m_chemistryPublisher) return;
    m_chemistryPublisher = shown ? publisher : nullptr;
    m_chemistry = std::move(shown);
    if (publisher && shown)
        connect(publisher, &QObject::destroyed, this, &ActionRegistry::update, Qt::UniqueConnection);
    update();
}

void ActionRegistry::setContextRecipe(std::optional<GlazeCore::Uuid> recipeID) {
    if (m_contextRecipe == recipeID) return;
    m_contextRecipe = recipeID;
    emit contextRecipeChanged();
}

QMenu* ActionRegistry::recipeContextMenu(const GlazeCore::Uuid& recipeID, QWidget* parent) {
    auto* menu = new ContextMenu(parent);
    menu->addAction(action(Command::renameRecipe));
    menu->addAction(action(Command::duplicateRecipe));
    menu->addSeparator();
    menu->addAction(action(Command::deleteRecipe));
    // The commands act on this row's recipe for as long as its menu lives, and on the selection after.
    QPointer<ActionRegistry> self(this);
    connect(menu, &QObject::destroyed, this, [self] {
        if (self) self->setContextRecipe(std::nullopt);
    });
    setContextRecipe(recipeID);
    return menu;
}

bool ActionRegistry::canRun(Command command) const {
    switch (command) {
    case Command::revert:
        return !m_document.isUntitled() && m_document.isModified();
    case Command::undo:
        return m_document.undoStack()->canUndo();
    case Command::redo:
        return m_document.undoStack()->canRedo();
    case Command::toggleChemistry:
        return m_chemistryPublisher && m_chemistry.has_value();
    case Command::blendMenu:
        return canRun(Command::lineBlend) || canRun(Command::triaxialBlend) || canRun(Command::gridBlend);
    default:
        break;
    }
    if (command >= Command::showRecipes && command <= Command::printLabels)
        return bool(closureOf(command, m_book, recipeActions()));
    if (command == Command::printBatchSheet) return bool(closureOf(command, m_book, recipeActions()));
    return true; // documents, page setup and help need nothing from the window
}

void ActionRegistry::run(Command command) {
    if (command == Command::toggleChemistry) {
        if (m_chemistryPublisher && m_chemistry && m_chemistry->get && m_chemistry->set)
            m_chemistry->set(!m_chemistry->get());
        return;
    }
    // Read as the bundles are now: the action may have been chosen from a menu opened before a change.
    if (const auto closure = closureOf(command, m_book, recipeActions())) closure();
    // Choosing the page already shown unticks it; the window's page decides the mark.
    if (pageOf(command)) updatePageChecks();
}

void ActionRegistry::update() {
    for (int i = 0; i < commandCount; ++i)
        if (Command(i) < Command::cut || Command(i) > Command::selectAll)
            m_actions[std::size_t(i)]->setEnabled(canRun(Command(i)));
    updateTitles();
    updateUndo();
    updateTextCommands();
    updatePageChecks();
    emit updated();
}

QWidget* ActionRegistry::focusedTextField() const {
    return m_textField;
}

void ActionRegistry::followFocus(QWidget* focused) {
    QWidget* field = nullptr;
    if (focused && focused->window() == m_window &&
        (qobject_cast<QLineEdit*>(focused) || qobject_cast<QPlainTextEdit*>(focused)))
        field = focused;
    if (field == m_textField) return;
    if (m_textField) m_textField->disconnect(this);
    m_textField = field;
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        connect(line, &QLineEdit::selectionChanged, this, &ActionRegistry::updateTextCommands);
        connect(line, &QLineEdit::textChanged, this, &ActionRegistry::updateTextCommands);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
        connect(text, &QPlainTextEdit::selectionChanged, this, &ActionRegistry::updateTextCommands);
        connect(text, &QPlainTextEdit::textChanged, this, &ActionRegistry::updateTextCommands);
    }
    updateTextCommands();
}

void ActionRegistry::updateTextCommands() {
    bool selected = false;
    bool editable = false;
    bool hasText = false;
    if (const auto* line = qobject_cast<const QLineEdit*>(m_textField.data())) {
        selected = line->hasSelectedText();
        editable = !line->isReadOnly();
        hasText = !line->text().isEmpty();
    } else if (const auto* text = qobject_cast<const QPlainTextEdit*>(m_textField.data())) {
        selected = text->textCursor().hasSelection();
        editable = !text->isReadOnly();
        hasText = !text->document()->isEmpty();
    }
    const bool canPaste = editable && !QGuiApplication::clipboard()->text().isEmpty();
    action(Command::cut)->setEnabled(selected && editable);
    action(Command::copy)->setEnabled(selected);
    action(Command::paste)->setEnabled(canPaste);
    action(Command::deleteSelection)->setEnabled(selected && editable);
    action(Command::selectAll)->setEnabled(hasText);
}

void ActionRegistry::setShownPage(std::optional<GlazeCore::BookPage> page) {
    m_shownPage = page;
    updatePageChecks();
}

void ActionRegistry::updatePageChecks() {
    const std::array<std::pair<Command, GlazeCore::BookPage>, 3> pages{
        {{Command::showRecipes, GlazeCore::BookPage::recipes},
         {Command::showTests, GlazeCore::BookPage::tests},
         {Command::showMaterials, GlazeCore::BookPage::materials}}};
    for (const auto& [command, page] : pages)
        action(command)->setChecked(m_shownPage == page);
}

bool ActionRegistry::chemistryShown() const {
    return !(m_chemistryPublisher && m_chemistry && m_chemistry->get) || m_chemistry->get();
}

void ActionRegistry::updateTitles() {
    const bool shown = chemistryShown();
    action(Command::toggleChemistry)->setText(shown ? tr("Hide Chemistry") : tr("Show Chemistry"));
    for (int i = 0; i < commandCount; ++i) {
        const auto item = toolbarItemOf(Command(i));
        if (!item) continue;
        QAction* itemAction = m_actions[std::size_t(i)];
        itemAction->setIconText(ToolbarItems::label(*item, shown));
        itemAction->setToolTip(ToolbarItems::helpText(*item, shown));
    }
}

void ActionRegistry::updateUndo() {
    const QUndoStack* stack = m_document.undoStack();
    QAction* undo = action(Command::undo);
    undo->setEnabled(stack->canUndo());
    undo->setText(stack->canUndo() && !stack->undoText().isEmpty() ? tr("Undo %1").arg(stack->undoText()) : tr("Undo"));
    QAction* redo = action(Command::redo);
    redo->setEnabled(stack->canRedo());
    redo->setText(stack->canRedo() && !stack->redoText().isEmpty() ? tr("Redo %1").arg(stack->redoText()) : tr("Redo"));
}

} // namespace Orza
