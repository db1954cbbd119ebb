#include "Orza/platform/MinimumWithinScreen.h"

#include "Orza/platform/FitWindowToScreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace Orza {

MinimumWithinScreen::MinimumWithinScreen(QWidget* window, QSize wanted)
    : QObject(window), m_window(window), m_wanted(wanted) {
    window->installEventFilter(this);
    update();
}

QSize MinimumWithinScreen::boundedMinimum(const QSize& wanted, const QRect& available, const QWidget* window) {
    return FitWindowToScreen::fittingSize(wanted, available, window).expandedTo(QSize(0, 0));
}

void MinimumWithinScreen::update() {
    const QScreen* screen = m_window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QSize minimum = boundedMinimum(m_wanted, available, m_window);
    if (m_window->minimumSize() != minimum) m_window->setMinimumSize(minimum);
}

void MinimumWithinScreen::followScreen() {
    QWindow* handle = m_window->windowHandle();
    if (m_following || !handle) return;
    m_following = true;
    const auto watchScreen = [this](QScreen* screen) {
        disconnect(m_screenWatch);
        if (screen)
            m_screenWatch = connect(screen, &QScreen::availableGeometryChanged, this, &MinimumWithinScreen::update);
    };
    connect(handle, &QWindow::screenChanged, this, [this, watchScreen](QScreen* screen) {
        watchScreen(screen);
        update();
    });
    watchScreen(handle->screen());
}

bool MinimumWithinScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show) {
        followScreen();
        update();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Orza
