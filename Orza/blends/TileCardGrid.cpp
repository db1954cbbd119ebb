#include "Orza/blends/TileCardGrid.h"

#include <QResizeEvent>

#include <algorithm>

namespace Orza {

TileCardGrid::TileCardGrid(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TileCardGrid::setCards(std::vector<TileCardText> cards) {
    while (m_pool.size() < cards.size())
        m_pool.push_back(new TileCard(this));
    m_shown = int(cards.size());
    for (std::size_t i = 0; i < m_pool.size(); ++i) {
        if (i < cards.size()) m_pool[i]->setText(std::move(cards[i]));
        m_pool[i]->setVisible(i < cards.size());
    }
    arrange(width(), true);
    updateGeometry();
}

void TileCardGrid::setFixedColumns(int columns) {
    if (columns == m_fixedColumns) return;
    m_fixedColumns = std::max(0, columns);
    arrange(width(), true);
    updateGeometry();
}

std::vector<TileCard*> TileCardGrid::cards() const {
    return {m_pool.begin(), m_pool.begin() + m_shown};
}

int TileCardGrid::columnCount(int width) const {
    if (m_fixedColumns > 0) return m_fixedColumns;
    const int room = width - 2 * margin;
    return std::max(1, (room + spacing) / (adaptiveColumnMinimum + spacing));
}

int TileCardGrid::arrange(int width, bool apply) const {
    const int columns = columnCount(width);
    const int room = std::max(width - 2 * margin - (columns - 1) * spacing, columns);
    int y = margin;
    for (int first = 0; first < m_shown; first += columns) {
        const int last = std::min(m_shown, first + columns);
        int rowHeight = 0;
        int x = margin;
        for (int i = first; i < last; ++i) {
            // The rounding is shared out, so the row ends exactly at the right margin.
            const int cardWidth = room * (i - first + 1) / columns - room * (i - first) / columns;
            TileCard* card = m_pool[std::size_t(i)];
            const int height = card->heightForWidth(cardWidth);
            rowHeight = std::max(rowHeight, height);
            if (apply) card->setGeometry(x, y, cardWidth, height);
            x += cardWidth + spacing;
        }
        y += rowHeight + (last < m_shown ? spacing : 0);
    }
    return y + margin;
}

int TileCardGrid::heightForWidth(int width) const {
    return arrange(width, false);
}

QSize TileCardGrid::sizeHint() const {
    const QSize minimum = minimumSizeHint();
    const int width = std::max(minimum.width(), 3 * adaptiveColumnMinimum + 2 * spacing + 2 * margin);
    return {width, heightForWidth(width)};
}

QSize TileCardGrid::minimumSizeHint() const {
    const int columns = m_fixedColumns > 0 ? m_fixedColumns : 1;
    const int columnMinimum = m_fixedColumns > 0 ? fixedColumnMinimum : adaptiveColumnMinimum;
    return {columns * columnMinimum + (columns - 1) * spacing + 2 * margin, 0};
}

void TileCardGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange(event->size().width(), true);
}

} // namespace Orza
