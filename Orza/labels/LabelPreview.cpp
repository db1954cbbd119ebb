#include "Orza/labels/LabelPreview.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace Orza {

namespace {

constexpr int shadowRadius = 2;
constexpr qreal shadowOpacity = 0.25;

/// A soft edge around the page: rings fading outwards, as a blurred shadow without offset looks.
void paintShadow(QPainter& painter, const QRectF& page) {
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int ring = shadowRadius; ring >= 1; --ring) {
        const qreal spread = ring;
        const qreal alpha = shadowOpacity * (1 - qreal(ring - 1) / shadowRadius) / 2;
        painter.setBrush(QColor::fromRgbF(0, 0, 0, float(alpha)));
        painter.drawRect(page.adjusted(-spread, -spread, spread, spread));
    }
    painter.restore();
}

} // namespace

LabelPreview::LabelPreview(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(tr("Preview of the first page of labels"));
}

LabelPreview::~LabelPreview() = default;

void LabelPreview::setPage(std::shared_ptr<const LabelSet> labels, std::vector<int> page) {
    m_labels = std::move(labels);
    m_page = std::move(page);
    setAccessibleDescription(m_labels ? previewAccessibilityValue(*m_labels, m_page) : QString());
    relayout();
}

void LabelPreview::relayout() {
    m_layout.reset();
    if (m_labels) m_layout = std::make_unique<LabelPageLayout>(LabelPage{m_labels, m_page, 0, true}, *this);
    update();
}

qreal LabelPreview::scaleFor(QSizeF area, const GlazeCore::LabelLayout::Sheet& sheet) {
    if (!(sheet.pageWidth > 0) || !(sheet.pageHeight > 0)) return 0;
    return std::max<qreal>(0, std::min(area.width() / sheet.pageWidth, area.height() / sheet.pageHeight));
}

QRectF LabelPreview::pageFrame() const {
    if (!m_labels) return {};
    const auto& sheet = m_labels->sheet;
    // The whole area: the shadow falls outside the page, where the page meets an edge of the area, beyond it.
    const qreal scale = scaleFor(QSizeF(size()), sheet);
    const QSizeF shown(sheet.pageWidth * scale, sheet.pageHeight * scale);
    return {QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown};
}

void LabelPreview::paintEvent(QPaintEvent*) {
    if (!m_layout) return;
    const QRectF frame = pageFrame();
    if (frame.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintShadow(painter, frame);
    painter.translate(frame.topLeft());
    const qreal scale = frame.width() / m_labels->sheet.pageWidth;
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, m_labels->sheet.pageWidth, m_labels->sheet.pageHeight));
    m_layout->paint(painter);
}

void LabelPreview::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The page is laid out with this widget's fonts' resolution; a new screen can change it.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ScreenChangeInternal) relayout();
}

} // namespace Orza
