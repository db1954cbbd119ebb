#pragma once

#include "Orza/chemistry/LimitComparison.h"

#include <QWidget>

namespace Orza {

/**
 * The Status cell of a UMF grid row: the status symbol and, unless the grid is at its narrowest, the
 * status words. Nothing for no comparison. Painted, so that a grid of 22 rows stays light to update.
 */
class RangeStatusCell final : public QWidget {
    Q_OBJECT
public:
    static constexpr int gap = 3;

    explicit RangeStatusCell(QWidget* parent = nullptr);

    RangeStatus status() const { return m_status; }
    void setStatus(RangeStatus status);
    bool showsWords() const { return m_showWords; }
    void setShowsWords(bool show);
    /// The words beside the symbol; empty for no comparison.
    QString words() const;
    /// The symbol's colour in the current palette: orange outside the range, secondary inside it.
    QColor symbolColor() const;
    /// The cell's natural width with or without its words.
    int widthFor(bool showWords) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int symbolSide() const;

    RangeStatus m_status = RangeStatus::none;
    bool m_showWords = true;
};

} // namespace Orza
