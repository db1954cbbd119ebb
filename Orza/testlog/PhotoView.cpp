#include "Orza/testlog/PhotoView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Orza {

PhotoView::PhotoView(int maximumHeight, QWidget* parent) : QWidget(parent), m_maximumHeight(maximumHeight) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void PhotoView::setImage(const QImage& image) {
    m_image = image;
    updateGeometry();
    update();
}

QSizeF PhotoView::shownSize() const {
    if (m_image.isNull()) return {};
    return QSizeF(m_image.size()) / m_image.devicePixelRatio();
}

QSizeF PhotoView::fitted(int width) const {
    const QSizeF own = shownSize();
    if (own.isEmpty()) return {};
    // Small pictures are enlarged too: the picture fills its width or the height limit, whichever comes first.
    const double scale = std::min(width / own.width(), m_maximumHeight / own.height());
    return own * scale;
}

int PhotoView::heightForWidth(int width) const {
    return int(std::ceil(fitted(width).height()));
}

QSize PhotoView::sizeHint() const {
    const QSizeF own = fitted(QWIDGETSIZE_MAX);
    return {int(std::ceil(own.width())), int(std::ceil(own.height()))};
}

void PhotoView::paintEvent(QPaintEvent*) {
    if (m_image.isNull()) return;
    const QSizeF size = fitted(width());
    const QRectF target(QPointF((width() - size.width()) / 2, 0), size);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

} // namespace Orza
