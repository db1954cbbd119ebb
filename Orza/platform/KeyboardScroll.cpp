#include "Orza/platform/KeyboardScroll.h"

#include "Orza/platform/FocusRing.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFocusEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace Orza {

namespace {

bool cutsContent(const QAbstractScrollArea& area) {
    return area.horizontalScrollBar()->maximum() > area.horizontalScrollBar()->minimum() ||
           area.verticalScrollBar()->maximum() > area.verticalScrollBar()->minimum();
}

bool holdsTabStop(const QAbstractScrollArea& area) {
    const QWidget* viewport = area.viewport();
    const QList<QWidget*> inside = viewport->findChildren<QWidget*>();
    return std::any_of(inside.begin(), inside.end(), [viewport](const QWidget* widget) {
        return (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisibleTo(viewport);
    });
}

} // namespace

KeyboardScroll::KeyboardScroll(QAbstractScrollArea* area) : QObject(area), m_area(area) {
    for (const QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
        connect(bar, &QScrollBar::rangeChanged, this, &KeyboardScroll::updateSoon);
    // Controls shown or hidden inside change what it holds without changing what it cuts.
    area->viewport()->installEventFilter(this);
    m_ring = new FocusRing(area);
    area->installEventFilter(this);
    update();
}

void KeyboardScroll::keep(QAbstractScrollArea* area) {
    if (area && !area->findChild<KeyboardScroll*>(QString(), Qt::FindDirectChildrenOnly)) new KeyboardScroll(area);
}

bool KeyboardScroll::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_area) {
        if (event->type() == QEvent::FocusIn)
            // A click shows where it landed; the ring is for the keyboard.
            m_ringShown = static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason;
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut || event->type() == QEvent::Resize)
            showRing();
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::LayoutRequest:
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
        updateSoon();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void KeyboardScroll::updateSoon() {
    // Once the events of the change are through: a change comes in many steps, the last one while the area goes.
    if (m_pending) return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        update();
    });
}

void KeyboardScroll::showRing() {
    m_ring->place(m_ringShown);
}

void KeyboardScroll::update() {
    // What it shows lies in the widgets right inside its viewport; their layouts tell of controls come and gone.
    for (QObject* child : m_area->viewport()->children())
        if (child->isWidgetType()) child->installEventFilter(this);
    const bool takes = cutsContent(*m_area) && !holdsTabStop(*m_area);
    const Qt::FocusPolicy policy = takes ? Qt::StrongFocus : Qt::NoFocus;
    if (m_area->focusPolicy() != policy) m_area->setFocusPolicy(policy);
}

} // namespace Orza
