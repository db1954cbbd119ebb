#include "Orza/widgets/ProblemMark.h"

#include "Orza/widgets/AccessibleOneElement.h"
#include "Orza/widgets/AlertAnnouncement.h"
#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QEvent>
#include <QLineEdit>
#include <QToolButton>

namespace Orza {

ProblemMark::ProblemMark(QLineEdit* field) : QAction(field), m_field(field) {
    paintIcon();
    // Hidden after adding: the line edit shows the button it makes for an action whatever the action says.
    field->addAction(this, QLineEdit::TrailingPosition);
    setVisible(false);
    field->installEventFilter(this);
    // The mark reads as the alert it is, named by the reason, rather than as a button without a name.
    for (QToolButton* button : field->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (button->defaultAction() == this) m_button = button;
    if (m_button) readAsOneElement(m_button, QAccessible::AlertMessage);
}

void ProblemMark::showProblem(const QString& problem) {
    const bool wasShown = isVisible();
    setVisible(!problem.isEmpty());
    setToolTip(problem);
    if (!m_button) return;
    m_button->setAccessibleName(problem);
    // Told once for each new reason, as the field's typing goes on beside it.
    if (!problem.isEmpty()) announceAlert(m_button, !wasShown);
}

bool ProblemMark::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::PaletteChange) paintIcon();
    return QAction::eventFilter(watched, event);
}

void ProblemMark::paintIcon() {
    setIcon(SymbolIcon::icon(Symbol::exclamationTriangleFill, TextStyle::alert(m_field->palette())));
}

} // namespace Orza
