#include "Orza/widgets/SheetStyle.h"

#include "Orza/platform/AccessibleHeading.h"
#include "Orza/widgets/ColorMix.h"
#include "Orza/widgets/TextStyle.h"

#include <QLabel>
#include <QPalette>

namespace Orza::SheetStyle {

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
    const QColor window = palette.color(QPalette::Window);
    const QColor text = palette.color(QPalette::WindowText);
    // Read on the window and on the faint fill of a blend's tile card alike.
    return TextStyle::readableAgainst(towards(window, text, 0.62), text, {window, towards(window, text, cardFill)});
}

} // namespace Orza::SheetStyle
