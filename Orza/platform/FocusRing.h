#pragma once

#include <QWidget>

namespace Orza {

/**
 * A ring drawn over a control while it has the keyboard focus, for controls that draw no focus of their own: a
 * frameless scroll area, a pair of arrows taken as one control. It lies over its owner and lets the mouse through.
 */
class FocusRing final : public QWidget {
    Q_OBJECT
public:
    /// A ring that follows `owner`'s focus by itself: shown when the focus came by keyboard, hidden when it goes.
    static FocusRing* attach(QWidget* owner);
    /// A ring whose owner decides when it shows, through place().
    explicit FocusRing(QWidget* owner);

    /// Lays the ring over its owner, shown when `shown` and the owner has the focus.
    void place(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_byKeyboard = false;
};

} // namespace Orza
