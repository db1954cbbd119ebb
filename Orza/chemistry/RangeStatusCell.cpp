#include "Orza/chemistry/RangeStatusCell.h"

#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QPainter>

namespace Orza {

namespace {

std::optional<Symbol> symbolOf(RangeStatus status) {
    switch (status) {
    case RangeStatus::inRange:
        return Symbol::checkmarkCircle;
    case RangeStatus::below:
        return Symbol::arrowDownCircleFill;
    case RangeStatus::above:
        return Symbol::arrowUpCircleFill;
    case RangeStatus::none:
        break;
    }
    return std::nullopt;
}

} // namespace

RangeStatusCell::RangeStatusCell(QWidget* parent) : QWidget(parent) {
    TextStyle::apply(this, TextStyle::Style::callout);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void RangeStatusCell::setStatus(RangeStatus status) {
    if (status == m_status) return;
    m_status = status;
    setToolTip(words());
    updateGeometry();
    update();
}

void RangeStatusCell::setShowsWords(bool show) {
    if (show == m_showWords) return;
    m_showWords = show;
    updateGeometry();
    update();
}

QString RangeStatusCell::words() const {
    return ChemistryTexts::statusWords(m_status);
}

QColor RangeStatusCell::symbolColor() const {
    return m_status == RangeStatus::inRange ? TextStyle::secondary(palette()) : TextStyle::warning(palette());
}

int RangeStatusCell::symbolSide() const {
    return fontMetrics().height() - 2;
}

int RangeStatusCell::widthFor(bool showWords) const {
    if (m_status == RangeStatus::none) return 0;
    int width = symbolSide();
    if (showWords) width += gap + fontMetrics().horizontalAdvance(words()) + 1;
    return width;
}

QSize RangeStatusCell::sizeHint() const {
    return {widthFor(m_showWords), fontMetrics().height()};
}

void RangeStatusCell::paintEvent(QPaintEvent*) {
    const std::optional<Symbol> symbol = symbolOf(m_status);
    if (!symbol) return;
    QPainter painter(this);
    const int side = symbolSide();
    const QRectF square(0, (height() - side) / 2.0, side, side);
    SymbolIcon::paint(painter, square, *symbol, symbolColor());
    if (!m_showWords) return;
    // Words outside the range in the primary colour, so they stand out from the quiet "In range".
    painter.setPen(m_status == RangeStatus::inRange ? TextStyle::secondary(palette())
                                                    : palette().color(QPalette::WindowText));
    painter.drawText(QRect(side + gap, 0, width() - side - gap, height()), Qt::AlignLeft | Qt::AlignVCenter, words());
}

} // namespace Orza
