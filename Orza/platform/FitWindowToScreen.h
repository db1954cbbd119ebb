#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

namespace Orza {

/**
 * Checks a window once against its screen: the first time it is shown, a window whose frame (title bar
 * included) is larger than the screen's usable area is given the size of a new book window and placed near
 * the top, centred; one that fits but hangs over an edge (placed by the window manager, or restored where
 * another screen stood) is moved inside, keeping its size. Until the window manager has put its frame around the
 * window, the frame is estimated; when the real frame arrives and still does not fit, the window is fitted once more.
 * After that it never acts again, so later resizing is the user's.
 *
 * On a screen smaller than a new window's smallest size, the window's frame takes the usable area at its
 * top left, rather than hanging over the edges.
 */
class FitWindowToScreen final : public QObject {
    Q_OBJECT
public:
    /// The gap between the top of the usable area and the window's top edge.
    static constexpr int topGap = 8;

    /// Watches `window`; the probe is the window's child and ends with it.
    explicit FitWindowToScreen(QWidget* window);

    bool done() const { return m_done; }

    /// The frame a window with `frame` (decorations included) should take on a screen whose usable area is
    /// `available`; none when it fits as it is.
    static std::optional<QRect> fittedFrame(const QRect& frame, const QRect& available);
    /// Where a frame that fits `available` but is not inside it moves to, as little as it takes; none when it
    /// lies inside already or does not fit.
    static std::optional<QRect> placedInside(const QRect& frame, const QRect& available);
    /// Fits `window` to `available` now.
    static void fit(QWidget* window, const QRect& available);
    /// The window manager's frame around `window`, or an estimate of it while the window has none yet.
    static QMargins decorations(const QWidget* window);
    /// The most of `size` that fits `available` with the window's frame around it.
    static QSize fittingSize(const QSize& size, const QRect& available, const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitToScreen();
    QRect availableArea() const;

    QWidget* m_window;
    bool m_done = false;
    bool m_waitingForFrame = false;
};

} // namespace Orza
