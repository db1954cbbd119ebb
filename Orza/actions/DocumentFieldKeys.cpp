#include "Orza/actions/DocumentFieldKeys.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/widgets/LiveNumberField.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

namespace Orza {

namespace {

/// Puts `replacement` where the standard menu has its Undo or Redo item, and drops that item. Qt's text
/// controls name the items "edit-undo" and "edit-redo" in some versions; otherwise their titles tell.
void replaceItem(QMenu& menu, const QString& name, const char* title, QAction* replacement) {
    const QStringList titles{QCoreApplication::translate("QLineEdit", title),
                             QCoreApplication::translate("QWidgetTextControl", title)};
    for (QAction* item : menu.actions()) {
        if (item->objectName() != name && !titles.contains(item->text().section(QLatin1Char('\t'), 0, 0))) continue;
        menu.insertAction(item, replacement);
        menu.removeAction(item);
        return;
    }
}

} // namespace

DocumentFieldKeys::DocumentFieldKeys(QWidget* field, BookDocument& document, ActionRegistry& actions)
    : QObject(field), m_field(field), m_document(document), m_actions(actions) {
    field->installEventFilter(this);
    // A save or a question about the book ends the edit the way leaving the field does.
    connect(&document, &BookDocument::fieldEditsEnding, this, [this] {
        if (auto* number = qobject_cast<LiveNumberField*>(m_field); number && number->isEditing()) endEdit();
    });
    // Return ends a number's edit in the field itself (connected first, so a refused text is taken back inside
    // the burst); what it confirmed is a step of its own.
    if (auto* number = qobject_cast<LiveNumberField*>(field))
        connect(number, &QLineEdit::returnPressed, &document, &BookDocument::endEditBurst);
    if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
        text->viewport()->installEventFilter(this);
        text->setUndoRedoEnabled(false);
    }
}

DocumentFieldKeys* DocumentFieldKeys::attach(QWidget* field, BookDocument& document, ActionRegistry& actions) {
    return new DocumentFieldKeys(field, document, actions);
}

bool DocumentFieldKeys::isUndoKey(const QKeyEvent& event) const {
    const QKeySequence pressed(event.keyCombination());
    for (const Command command : {Command::undo, Command::redo})
        for (const QKeySequence& keys : m_actions.action(command)->shortcuts())
            if (keys == pressed) return true;
    return event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo);
}

bool DocumentFieldKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Not taken by the field, so the window's Undo and Redo get the key. The field's edit ends first, as
        // before any command: a date typed is then a step to undo, and Undo is offered before the key is matched.
        if (isUndoKey(*static_cast<QKeyEvent*>(event))) {
            m_document.endFieldEdits();
            event->ignore();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        // Reaches the field only when there is nothing to undo: its own history must not run instead.
        if (isUndoKey(key)) return true;
        // Escape cancels a number's edit: what its typing wrote is taken back, and the field shows the value
        // the edit began from.
        if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier)
            if (auto* number = qobject_cast<LiveNumberField*>(m_field); number && number->isEditing())
                number->revertEdit();
        break;
    }
    case QEvent::ContextMenu:
        showContextMenu(*static_cast<QContextMenuEvent*>(event));
        return true;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A context menu or a switch to another window leaves the field this window's focus.
        if (watched == m_field && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) endEdit();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DocumentFieldKeys::endEdit() {
    // Before the burst ends (and, on leaving, before the field hears of it): a refused number takes its typing
    // back inside the burst, so the step it merged into is dropped rather than joined by one more.
    if (auto* number = qobject_cast<LiveNumberField*>(m_field)) number->endEdit();
    m_document.endEditBurst();
}

void DocumentFieldKeys::showContextMenu(const QContextMenuEvent& event) {
    QMenu* menu = nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(m_field))
        menu = line->createStandardContextMenu();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(m_field))
        menu = text->createStandardContextMenu(event.pos());
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(m_field))
        if (auto* line = spin->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
            menu = line->createStandardContextMenu();
    if (!menu) return;
    replaceItem(*menu, QStringLiteral("edit-undo"), "&Undo", m_actions.action(Command::undo));
    replaceItem(*menu, QStringLiteral("edit-redo"), "&Redo", m_actions.action(Command::redo));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event.globalPos());
}

} // namespace Orza
