#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace Orza {

/**
 * Keeps a sheet or dialog on the screen it opens on. Each time it is shown it takes the size it prefers,
 * bounded by the usable area of that screen with its title bar and borders, never asks for more than that
 * area as its smallest size, and is placed over its window inside that area. The sheets keep their long
 * content (tiles, rows, summaries) in scroll areas, so that their buttons stay in view on a small screen.
 */
class ScreenFit final : public QObject {
    Q_OBJECT
public:
    enum class Sizing {
        /// The user may resize it; it starts at the preferred size.
        resizable,
        /// It keeps the preferred size, as far as the screen allows.
        fixed,
    };
    using PreferredSize = std::function<QSize()>;

    /// Watches `dialog` for as long as it lives; call it once its content and smallest size are set.
    /// `preferred` is asked at every show; without one, the dialog's size hint is its preferred size.
    static ScreenFit* keep(QWidget* dialog, PreferredSize preferred = {}, Sizing sizing = Sizing::resizable);
    static ScreenFit* keep(QWidget* dialog, QSize preferred, Sizing sizing = Sizing::resizable);

    /// The usable area of the screen `widget` shows on: its parent window's screen, else its own, else the
    /// primary screen; empty without a screen.
    static QRect usableArea(const QWidget* widget);

    /// Sizes and places the dialog inside `available` now.
    void fitInto(const QRect& available);
    /// Takes the preferred size again, bounded by the usable area, where the dialog stands.
    void resizeInPlace();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScreenFit(QWidget* dialog, PreferredSize preferred, Sizing sizing);
    QSize preferredSize() const;
    /// Applies the preferred size bounded by `available` and returns it.
    QSize sizeWithin(const QRect& available);

    QWidget* m_dialog;
    PreferredSize m_preferred;
    Sizing m_sizing;
    /// The smallest size the dialog asked for itself, before any screen bounded it.
    QSize m_ownMinimum;
    /// Set from a show until the window manager has framed the dialog: the fit is checked once more then.
    bool m_waitingForFrame = false;
};

} // namespace Orza
