#pragma once

#include <QObject>

class QAbstractScrollArea;

namespace Orza {

class FocusRing;

/**
 * A scroll area that cuts what it shows takes the keyboard, and the arrow and Page keys scroll it, when nothing
 * inside it is a Tab stop: a column of figures, a grid of cards, a page of text. One that holds a Tab stop stays
 * out of the Tab order, as its controls bring themselves into view; so does one that shows all it holds. It
 * follows every change of size or content, and shows a ring while it has the keyboard.
 */
class KeyboardScroll final : public QObject {
    Q_OBJECT
public:
    /// Keeps `area`'s place in the Tab order by this rule for as long as it lives.
    static void keep(QAbstractScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeyboardScroll(QAbstractScrollArea* area);
    void showRing();
    void updateSoon();
    void update();

    QAbstractScrollArea* m_area;
    FocusRing* m_ring = nullptr;
    bool m_ringShown = false;
    bool m_pending = false;
};

} // namespace Orza
