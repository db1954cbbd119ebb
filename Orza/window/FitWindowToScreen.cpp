#include "Orza/window/FitWindowToScreen.h"

#include "GlazeCore/layout/WindowLayout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace Orza {

FitWindowToScreen::FitWindowToScreen(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

bool FitWindowToScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show && !m_done) {
        m_done = true;
        m_window->removeEventFilter(this);
        QPointer<FitWindowToScreen> probe(this);
        QTimer::singleShot(0, this, [probe] {
            if (probe) probe->fitToScreen();
        });
    }
    return QObject::eventFilter(watched, event);
}

void FitWindowToScreen::fitToScreen() {
    const QScreen* screen = m_window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    fit(m_window, screen->availableGeometry());
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

void FitWindowToScreen::fit(QWidget* window, const QRect& available) {
    const QRect frame = window->frameGeometry();
    const auto fitted = fittedFrame(frame, available);
    if (!fitted) return;
    // The rule sizes the whole frame; the widget's geometry is what lies inside the decorations.
    const QRect inner = window->geometry();
    const QMargins decorations(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                               frame.bottom() - inner.bottom());
    window->setGeometry(fitted->marginsRemoved(decorations));
}

} // namespace Orza
