#include "Orza/platform/FocusInView.h"

#include "Orza/platform/ApplicationFilter.h"

#include <QFocusEvent>
#include <QScrollArea>

namespace Orza {

namespace {

// Room left around a field scrolled into view, so its frame is not flush with the edge.
constexpr int margin = 8;

bool movesTheView(Qt::FocusReason reason) {
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false; // a click, a menu, a popup or the window coming back: the field is where the user left it
    }
}

void showInEveryScrollArea(QWidget* field) {
    for (QWidget* up = field->parentWidget(); up; up = up->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(up);
        if (!area || !area->widget() || !area->widget()->isAncestorOf(field)) continue;
        const QRect rect(field->mapTo(area->widget(), QPoint(0, 0)), field->size());
        const QSize room = area->viewport()->size();
        // The whole field where it fits; along a side it overflows, its start, where the caret and the text
        // begin.
        const bool fitsAcross = rect.width() + 2 * margin <= room.width();
        const bool fitsDown = rect.height() + 2 * margin <= room.height();
        area->ensureVisible(fitsAcross ? rect.center().x() : rect.left(), fitsDown ? rect.center().y() : rect.top(),
                            fitsAcross ? rect.width() / 2 + margin : margin,
                            fitsDown ? rect.height() / 2 + margin : margin);
    }
}

} // namespace

void FocusInView::install() {
    installApplicationFilter<FocusInView>();
}

bool FocusInView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched->isWidgetType() &&
        movesTheView(static_cast<QFocusEvent*>(event)->reason()))
        showInEveryScrollArea(static_cast<QWidget*>(watched));
    return false;
}

} // namespace Orza
