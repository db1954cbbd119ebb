#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace Orza {

/**
 * Keeps a window's smallest size within the usable area of the screen it stands on, title bar and borders
 * included: on a small screen, or a large scale factor, the window still fits and its panes scroll instead.
 * It checks again whenever the window moves to another screen or that screen's usable area changes.
 */
class MinimumWithinScreen final : public QObject {
    Q_OBJECT
public:
    /// Watches `window`, whose own smallest size is `wanted`; the watch is the window's child.
    MinimumWithinScreen(QWidget* window, QSize wanted);

    /// `wanted`, bounded by what `available` leaves inside the window's frame.
    static QSize boundedMinimum(const QSize& wanted, const QRect& available, const QWidget* window);

    /// Applies the bound for the screen the window stands on now.
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followScreen();

    QWidget* m_window;
    QSize m_wanted;
    bool m_following = false;
    QMetaObject::Connection m_screenWatch;
};

} // namespace Orza
