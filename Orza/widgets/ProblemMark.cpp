#include "Orza/widgets/ProblemMark.h"

#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QEvent>
#include <QLineEdit>

namespace Orza {

ProblemMark::ProblemMark(QLineEdit* field) : QAction(field), m_field(field) {
    paintIcon();
    // Hidden after adding: the line edit shows the button it makes for an action whatever the action says.
    field->addAction(this, QLineEdit::TrailingPosition);
    setVisible(false);
    field->installEventFilter(this);
}

void ProblemMark::showProblem(const QString& problem) {
    setVisible(!problem.isEmpty());
    setToolTip(problem);
}

bool ProblemMark::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::PaletteChange) paintIcon();
    return QAction::eventFilter(watched, event);
}

void ProblemMark::paintIcon() {
    setIcon(SymbolIcon::icon(Symbol::exclamationTriangleFill, TextStyle::alert(m_field->palette())));
}

} // namespace Orza
