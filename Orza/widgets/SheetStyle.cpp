#include "Orza/widgets/SheetStyle.h"

#include "Orza/platform/AccessibleHeading.h"

#include <QLabel>
#include <QPalette>

namespace Orza::SheetStyle {

namespace {

QColor mix(const QColor& a, const QColor& b, qreal share) {
    return QColor::fromRgbF(float(a.redF() * share + b.redF() * (1 - share)),
                            float(a.greenF() * share + b.greenF() * (1 - share)),
                            float(a.blueF() * share + b.blueF() * (1 - share)));
}

} // namespace

void styleAsTitle(QLabel* label) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.35);
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
    label->setWordWrap(true);
    markAsHeading(label);
}

void styleAsCallout(QLabel* label, const QColor& color) {
    QFont callout = label->font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    label->setFont(callout);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QColor secondaryColor(const QPalette& palette) {
    return mix(palette.color(QPalette::WindowText), palette.color(QPalette::Window), 0.62);
}

} // namespace Orza::SheetStyle
