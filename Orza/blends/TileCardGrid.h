#pragma once

#include "Orza/blends/TileCard.h"

#include <QWidget>

#include <vector>

namespace Orza {

/**
 * The blend's cards in a grid, row by row, top-aligned: either a fixed number of equal columns that are
 * never narrower than 120 (a four-corner grid shows its own columns), or as many columns of at least 170
 * as the width allows. Its height follows its width. Cards are kept and refilled, so a change of the blend
 * does not rebuild widgets, and only what is in view gets painted.
 */
class TileCardGrid final : public QWidget {
    Q_OBJECT
public:
    static constexpr int spacing = 8;
    static constexpr int margin = 2;
    static constexpr int fixedColumnMinimum = 120;
    static constexpr int adaptiveColumnMinimum = 170;

    explicit TileCardGrid(QWidget* parent = nullptr);

    void setCards(std::vector<TileCardText> cards);
    /// A positive count gives that many columns; 0 lets the width decide.
    void setFixedColumns(int columns);

    /// The number of columns at `width`.
    int columnCount(int width) const;
    /// The cards shown, in order.
    std::vector<TileCard*> cards() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Places the cards at `width` and returns the height they take; with `apply` false only measures.
    int arrange(int width, bool apply) const;

    std::vector<TileCard*> m_pool;
    int m_shown = 0;
    int m_fixedColumns = 0;
};

} // namespace Orza
