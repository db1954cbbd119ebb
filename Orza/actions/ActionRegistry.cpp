#include "Orza/actions/ActionRegistry.h"

#include "Orza/actions/CommandTable.h"
#include "Orza/actions/ToolbarItems.h"
#include "Orza/document/BookDocument.h"
#include "Orza/platform/ClipboardOffer.h"
#include "Orza/platform/PrintInfo.h"
#include "Orza/widgets/AccessibleMenuHint.h"
#include "Orza/widgets/ContextMenu.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>

namespace Orza {

namespace {

/// The commands that act on the text field with the focus.
constexpr std::array textCommands{Command::cut, Command::copy, Command::paste, Command::deleteSelection,
                                  Command::selectAll};

/// What the text field can do now; nothing without one.
struct FieldState {
    bool selected = false;
    bool editable = false;
    bool hasText = false;
};

FieldState stateOf(const QWidget* field) {
    if (const auto* line = qobject_cast<const QLineEdit*>(field))
        return {line->hasSelectedText(), !line->isReadOnly(), !line->text().isEmpty()};
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(field))
        return {text->textCursor().hasSelection(), !text->isReadOnly(), !text->document()->isEmpty()};
    return {};
}

} // namespace

ActionRegistry::ActionRegistry(QWidget* window, BookDocument& document)
    : QObject(window), m_window(window), m_document(document) {
    setObjectName(QStringLiteral("actionRegistry"));
    makeActions();
    setOwnHandlers();

    QUndoStack* stack = document.undoStack();
    connect(stack, &QUndoStack::canUndoChanged, this, &ActionRegistry::updateUndo);
    connect(stack, &QUndoStack::canRedoChanged, this, &ActionRegistry::updateUndo);
    connect(stack, &QUndoStack::undoTextChanged, this, &ActionRegistry::updateUndo);
    connect(stack, &QUndoStack::redoTextChanged, this, &ActionRegistry::updateUndo);
    connect(&document, &BookDocument::modifiedChanged, this, &ActionRegistry::update);
    connect(&document, &BookDocument::filePathChanged, this, &ActionRegistry::update);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { followFocus(now); });
    connect(&ClipboardOffer::instance(), &ClipboardOffer::changed, this, &ActionRegistry::updateTextCommands);
    update();
}

void ActionRegistry::makeActions() {
    for (const CommandInfo& info : CommandTable::all()) {
        auto* action = new QAction(CommandTable::title(info), this);
        action->setIconText(CommandTable::shortTitle(info));
        action->setShortcuts(CommandTable::shortcuts(info));
        action->setCheckable(info.page.has_value());
        action->setMenuRole(info.menuRole);
        if (info.hint) {
            action->setStatusTip(CommandTable::tr(info.hint));
            action->setToolTip(CommandTable::tr(info.hint));
            readStatusTipInMenus(action);
        }
        connect(action, &QAction::triggered, this, [this, command = info.command] { run(command); });
        m_actions[std::size_t(info.command)] = action;
    }
    for (const CommandInfo& info : CommandTable::all()) {
        if (info.menu.empty()) continue;
        // The toolbar shows these menus, and toolbar items carry no keys.
        auto* menu = new ToolbarMenu(m_window);
        for (const Command command : info.menu)
            menu->addItemFor(action(command));
        action(info.command)->setMenu(menu);
    }
}

void ActionRegistry::setOwnHandlers() {
    QUndoStack* stack = m_document.undoStack();
    setHandler(this, Command::undo, {[stack] { stack->undo(); }, [stack] { return stack->canUndo(); }});
    setHandler(this, Command::redo, {[stack] { stack->redo(); }, [stack] { return stack->canRedo(); }});
    setHandler(this, Command::pageSetup, {[this] { PrintInfo::runPageLayout(m_window); }});

    // The focused text field's own editing, offered in the menu as well as by its keys.
    using LineEdit = std::function<void(QLineEdit&)>;
    using TextEdit = std::function<void(QPlainTextEdit&)>;
    using Can = bool (*)(const FieldState&);
    const auto onField = [this](Command command, LineEdit line, TextEdit text, Can can) {
        setHandler(this, command,
                   {[this, line, text] {
                        if (auto* field = qobject_cast<QLineEdit*>(m_textField.data())) line(*field);
                        if (auto* field = qobject_cast<QPlainTextEdit*>(m_textField.data())) text(*field);
                    },
                    [this, can] { return can(stateOf(m_textField)); }});
    };
    const Can selectedAndEditable = [](const FieldState& field) { return field.selected && field.editable; };
    onField(Command::cut, &QLineEdit::cut, &QPlainTextEdit::cut, selectedAndEditable);
    onField(Command::copy, &QLineEdit::copy, &QPlainTextEdit::copy,
            [](const FieldState& field) { return field.selected; });
    onField(Command::paste, &QLineEdit::paste, &QPlainTextEdit::paste,
            [](const FieldState& field) { return field.editable && ClipboardOffer::instance().offersText(); });
    onField(
        Command::deleteSelection, &QLineEdit::del,
        [](QPlainTextEdit& field) { field.textCursor().removeSelectedText(); }, selectedAndEditable);
    onField(Command::selectAll, &QLineEdit::selectAll, &QPlainTextEdit::selectAll,
            [](const FieldState& field) { return field.hasText; });
}

void ActionRegistry::setHandler(QObject* owner, Command command, CommandHandler handler) {
    m_handlers[std::size_t(command)] = Slot{owner, std::move(handler)};
    // Its handlers go with the owner, before anything asks them again.
    if (owner != this) connect(owner, &QObject::destroyed, this, &ActionRegistry::withdraw, Qt::UniqueConnection);
    update();
}

void ActionRegistry::withdraw(QObject* owner) {
    for (Slot& slot : m_handlers)
        if (slot.owner == owner) slot = Slot{};
    update();
}

const CommandHandler* ActionRegistry::handler(Command command) const {
    const Slot& slot = m_handlers[std::size_t(command)];
    return slot.owner ? &slot.handler : nullptr;
}

bool ActionRegistry::canRun(Command command) const {
    const CommandInfo& info = CommandTable::of(command);
    const auto handlerCanRun = [this, command] {
        const CommandHandler* ready = handler(command);
        return ready && (!ready->canRun || ready->canRun());
    };
    switch (info.needs) {
    case Needs::nothing:
        return true;
    case Needs::handler:
        return !m_sheetShown && handlerCanRun();
    case Needs::handlerAnyTime:
        return handlerCanRun();
    case Needs::savedChanges:
        return !m_document.isUntitled() && m_document.isModified();
    case Needs::anyOfMenu:
        return std::any_of(info.menu.begin(), info.menu.end(), [this](Command item) { return canRun(item); });
    }
    return false;
}

void ActionRegistry::run(Command command) {
    // Read as the handlers are now: the action may have been chosen from a menu opened before a change.
    if (!canRun(command)) return;
    // The one gate before every command, sheet, undo and redo: the focused field's edit ends as leaving it
    // does, so nothing runs on, copies or records a text half typed. The text commands edit that field.
    if (std::find(textCommands.begin(), textCommands.end(), command) == textCommands.end()) m_document.endFieldEdits();
    if (const CommandHandler* ready = handler(command)) {
        const std::function<void()> runNow = ready->run; // the handler may be withdrawn while it runs
        if (runNow) runNow();
    }
    // Choosing the page already shown unticks it; the window's page decides the mark.
    if (CommandTable::of(command).page) updatePageChecks();
}

void ActionRegistry::setSheetShown(bool shown) {
    m_sheetShown = shown;
    update();
}

void ActionRegistry::setContextRecipe(std::optional<GlazeCore::Uuid> recipeID) {
    if (m_contextRecipe == recipeID) return;
    m_contextRecipe = recipeID;
    update();
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

void ActionRegistry::update() {
    if (m_retired) return;
    for (const CommandInfo& info : CommandTable::all())
        action(info.command)->setEnabled(canRun(info.command));
    updateTitles();
    updateUndo();
    updatePageChecks();
    emit updated();
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
    if (m_retired) return;
    for (const Command command : textCommands)
        action(command)->setEnabled(canRun(command));
}

void ActionRegistry::setShownPage(std::optional<GlazeCore::BookPage> page) {
    m_shownPage = page;
    updatePageChecks();
}

void ActionRegistry::updatePageChecks() {
    for (const CommandInfo& info : CommandTable::all())
        if (info.page) action(info.command)->setChecked(m_shownPage == info.page);
}

bool ActionRegistry::chemistryShown() const {
    const CommandHandler* chemistry = handler(Command::toggleChemistry);
    return !(chemistry && chemistry->isOn) || chemistry->isOn();
}

void ActionRegistry::updateTitles() {
    // A switch offers the opposite of what it shows: on while its handler says so, or has no say.
    for (const CommandInfo& info : CommandTable::all()) {
        if (!info.offTitle) continue;
        const CommandHandler* toggle = handler(info.command);
        action(info.command)->setText(CommandTable::title(info, !(toggle && toggle->isOn) || toggle->isOn()));
    }
    const bool shown = chemistryShown();
    for (const ToolbarItems::Item item : ToolbarItems::all()) {
        QAction* itemAction = action(ToolbarItems::command(item));
        itemAction->setIconText(ToolbarItems::label(item, shown));
        itemAction->setToolTip(ToolbarItems::helpText(item, shown));
    }
}

void ActionRegistry::updateUndo() {
    const QUndoStack* stack = m_document.undoStack();
    QAction* undo = action(Command::undo);
    undo->setEnabled(canRun(Command::undo));
    undo->setText(stack->canUndo() && !stack->undoText().isEmpty()
                      ? tr("Undo %1").arg(stack->undoText())
                      : CommandTable::title(CommandTable::of(Command::undo)));
    QAction* redo = action(Command::redo);
    redo->setEnabled(canRun(Command::redo));
    redo->setText(stack->canRedo() && !stack->redoText().isEmpty()
                      ? tr("Redo %1").arg(stack->redoText())
                      : CommandTable::title(CommandTable::of(Command::redo)));
}

} // namespace Orza
