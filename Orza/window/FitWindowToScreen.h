#pragma once

#include <QObject>
#include <QRect>

#include <optional>

class QWidget;

namespace Orza {

/**
 * Checks a book window once against its screen: the first time the window is shown, and a moment later
 * so that the window has its frame, a window larger than the screen's usable area is given the size of
 * a new book window and placed near the top, centred. It never acts again, so later resizing is the
 * user's.
 *
 * On a screen smaller than a new window's smallest size, the window takes the usable area's size (as far
 * as its own minimum size allows) at its top left, rather than hanging over the edges.
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
    /// Fits `window` to `available` now.
    static void fit(QWidget* window, const QRect& available);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitToScreen();

    QWidget* m_window;
    bool m_done = false;
};

} // namespace Orza
