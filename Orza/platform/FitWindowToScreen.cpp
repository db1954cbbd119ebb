#include "Orza/platform/FitWindowToScreen.h"

#include "GlazeCore/layout/WindowLayout.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

namespace Orza {

FitWindowToScreen::FitWindowToScreen(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

bool FitWindowToScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show && !m_done) {
        m_done = true;
        QPointer<FitWindowToScreen> probe(this);
        QTimer::singleShot(0, this, [probe] {
            if (probe) probe->fitToScreen();
        });
    } else if (m_waitingForFrame && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
               m_window->frameGeometry() != m_window->geometry()) {
        // The window manager framed the window: check once more with the real title bar.
        m_waitingForFrame = false;
        m_window->removeEventFilter(this);
        const QRect available = availableArea();
        if (available.isValid() && !available.contains(m_window->frameGeometry())) fit(m_window, available);
    }
    return QObject::eventFilter(watched, event);
}

QRect FitWindowToScreen::availableArea() const {
    const QScreen* screen = m_window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void FitWindowToScreen::fitToScreen() {
    const QRect available = availableArea();
    if (!available.isValid()) {
        m_window->removeEventFilter(this);
        return;
    }
    fit(m_window, available);
    m_waitingForFrame = m_window->frameGeometry() == m_window->geometry();
    if (!m_waitingForFrame) m_window->removeEventFilter(this);
}

QMargins FitWindowToScreen::decorations(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    if (frame != inner)
        return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                frame.bottom() - inner.bottom()};
    // Not framed yet: a title bar and thin borders, as window managers draw them.
    const int titleBar = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 28);
    return {4, titleBar, 4, 4};
}

QSize FitWindowToScreen::fittingSize(const QSize& size, const QRect& available, const QWidget* window) {
    if (!available.isValid()) return size;
    const QMargins frame = decorations(window);
    return size.boundedTo(available.marginsRemoved(frame).size());
}

std::optional<QRect> FitWindowToScreen::fittedFrame(const QRect& frame, const QRect& available) {
    if (frame.width() <= available.width() && frame.height() <= available.height()) return std::nullopt;
    std::optional<GlazeCore::LayoutSize> visible;
    if (available.isValid()) visible = GlazeCore::LayoutSize{double(available.width()), double(available.height())};
    const GlazeCore::LayoutSize size = GlazeCore::WindowLayout::defaultWindowSize(visible);
    int width = int(size.width);
    int height = int(size.height);
    int x = available.left() + (available.width() - width) / 2;
    int y = available.top() + topGap;
    // The default's smallest size can be larger than a small screen: keep the window on the screen.
    if (available.isValid() && width > available.width()) {
        width = available.width();
        x = available.left();
    }
    if (available.isValid() && height + topGap > available.height()) {
        height = std::min(height, available.height());
        y = available.top();
    }
    return QRect(x, y, width, height);
}

std::optional<QRect> FitWindowToScreen::placedInside(const QRect& frame, const QRect& available) {
    if (!available.isValid() || available.contains(frame) || frame.width() > available.width() ||
        frame.height() > available.height())
        return std::nullopt;
    QRect placed = frame;
    placed.moveLeft(std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    placed.moveTop(std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    return placed;
}

void FitWindowToScreen::fit(QWidget* window, const QRect& available) {
    // The rule sizes the whole frame; the widget's geometry is what lies inside the decorations.
    const QMargins frame = decorations(window);
    const QRect outer = window->geometry().marginsAdded(frame);
    auto fitted = fittedFrame(outer, available);
    if (!fitted) fitted = placedInside(outer, available);
    if (!fitted) return;
    window->setGeometry(fitted->marginsRemoved(frame));
}

} // namespace Orza
