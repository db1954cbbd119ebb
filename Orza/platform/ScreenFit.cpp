#include "Orza/platform/ScreenFit.h"

#include "Orza/platform/FitWindowToScreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace Orza {

namespace {

/// `outer` moved as little as it takes to lie inside `area`; its top left wins when it is larger.
QRect keptInside(QRect outer, const QRect& area) {
    outer.moveLeft(std::max(area.left(), std::min(outer.left(), area.right() - outer.width() + 1)));
    outer.moveTop(std::max(area.top(), std::min(outer.top(), area.bottom() - outer.height() + 1)));
    return outer;
}

} // namespace

ScreenFit::ScreenFit(QWidget* dialog, PreferredSize preferred, Sizing sizing)
    : QObject(dialog), m_dialog(dialog), m_preferred(std::move(preferred)), m_sizing(sizing),
      m_ownMinimum(dialog->minimumSize()) {
    dialog->installEventFilter(this);
}

ScreenFit* ScreenFit::keep(QWidget* dialog, PreferredSize preferred, Sizing sizing) {
    return new ScreenFit(dialog, std::move(preferred), sizing);
}

ScreenFit* ScreenFit::keep(QWidget* dialog, QSize preferred, Sizing sizing) {
    return new ScreenFit(
        dialog, [preferred] { return preferred; }, sizing);
}

QRect ScreenFit::usableArea(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    const QScreen* screen = parent ? parent->window()->screen() : nullptr;
    if (!screen) screen = widget->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize ScreenFit::preferredSize() const {
    const QSize preferred = m_preferred ? m_preferred() : QSize();
    return preferred.isValid() ? preferred : m_dialog->sizeHint();
}

QSize ScreenFit::sizeWithin(const QRect& available) {
    const QSize room = available.marginsRemoved(FitWindowToScreen::decorations(m_dialog)).size();
    QSize size = preferredSize().boundedTo(room);
    if (m_sizing == Sizing::fixed) {
        m_dialog->setFixedSize(size);
    } else {
        QSize minimum = m_ownMinimum;
        if (const QLayout* layout = m_dialog->layout()) minimum = minimum.expandedTo(layout->totalMinimumSize());
        m_dialog->setMinimumSize(minimum.boundedTo(room));
        size = size.expandedTo(m_dialog->minimumSize());
        m_dialog->resize(size);
    }
    return size;
}

void ScreenFit::resizeInPlace() {
    const QRect available = usableArea(m_dialog);
    if (available.isValid()) sizeWithin(available);
}

void ScreenFit::fitInto(const QRect& available) {
    if (!available.isValid()) return;
    const QSize size = sizeWithin(available);
    // Over its window, as a sheet stands; inside the usable area in any case.
    const QMargins frame = FitWindowToScreen::decorations(m_dialog);
    QRect outer(QPoint(), size.grownBy(frame));
    const QWidget* parent = m_dialog->parentWidget();
    outer.moveCenter(parent ? parent->window()->frameGeometry().center() : available.center());
    m_dialog->move(keptInside(outer, available).topLeft());
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_dialog) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show) {
        fitInto(usableArea(m_dialog));
        m_waitingForFrame = m_dialog->frameGeometry() == m_dialog->geometry();
    } else if (m_waitingForFrame && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
               m_dialog->frameGeometry() != m_dialog->geometry()) {
        // The window manager framed the dialog: check once more with its real title bar.
        m_waitingForFrame = false;
        const QRect available = usableArea(m_dialog);
        if (available.isValid() && !available.contains(m_dialog->frameGeometry())) fitInto(available);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Orza
