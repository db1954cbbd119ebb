#include "Orza/app/ReadableStyle.h"

#include "Orza/app/ReadablePalette.h"
#include "Orza/widgets/ColorMix.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include <array>
#include <functional>

namespace Orza {

namespace {

/// Fusion draws its frames in the window colour darkened by this factor; a window this much lighter than
/// the frame wanted gives that frame.
constexpr int styleFrameFactor = 140;
constexpr float chosenShare = 0.45f;
constexpr int cacheLimit = 64;

using Draw = std::function<void(const QStyleOption*)>;

/// Draws a copy of `option`, of its own type, with `palette`; false when the option is not an `Option`.
template <class Option> bool drawWith(const QStyleOption* option, const QPalette& palette, const Draw& draw) {
    const auto* typed = qstyleoption_cast<const Option*>(option);
    if (!typed) return false;
    Option copy(*typed);
    copy.palette = palette;
    draw(&copy);
    return true;
}

void drawWithPalette(const QStyleOption* option, const QPalette& palette, const Draw& draw) {
    if (drawWith<QStyleOptionButton>(option, palette, draw) ||
        drawWith<QStyleOptionToolButton>(option, palette, draw) || drawWith<QStyleOptionFrame>(option, palette, draw) ||
        drawWith<QStyleOptionViewItem>(option, palette, draw) || drawWith<QStyleOptionSpinBox>(option, palette, draw) ||
        drawWith<QStyleOptionComboBox>(option, palette, draw))
        return;
    draw(option);
}

} // namespace

ReadableStyle::ReadableStyle(QStyle* base) : QProxyStyle(base) {}

void ReadableStyle::install() {
    QApplication::setStyle(new ReadableStyle(QStyleFactory::create(QApplication::style()->name())));
}

QColor ReadableStyle::chosenSegmentFill(const QPalette& palette) {
    return towards(palette.color(QPalette::Button), palette.color(QPalette::Highlight), chosenShare);
}

bool ReadableStyle::repairsBase() const {
    // Fusion derives its frames from the window colour and marks a checked button only by a shade; other
    // styles draw both their own way, and are left to it.
    if (!m_repairsBase) m_repairsBase = baseStyle()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) == 0;
    return *m_repairsBase;
}

QPalette ReadableStyle::withReadableFrames(const QPalette& palette) const {
    if (!repairsBase()) return palette;
    QPalette framed;
    if (const auto found = m_framed.constFind(palette.cacheKey()); found != m_framed.cend()) {
        framed = *found;
    } else {
        framed = palette;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            if (ReadablePalette::framesFade(palette, group))
                framed.setColor(group, QPalette::Window,
                                ReadablePalette::frameColour(palette, group).lighter(styleFrameFactor));
        if (m_framed.size() >= cacheLimit) m_framed.clear();
        m_framed.insert(palette.cacheKey(), framed);
    }
    framed.setCurrentColorGroup(palette.currentColorGroup());
    return framed;
}

bool ReadableStyle::isChosenSegment(const QStyleOption* option, const QWidget* widget) const {
    if (!repairsBase() || option->state & (State_AutoRaise | State_Sunken)) return false;
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button && button->isCheckable() && button->isChecked();
}

void ReadableStyle::drawChosenSegment(const QStyleOption* option, QPainter* painter) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option->palette.color(QPalette::Highlight).darker(115), 1));
    painter->setBrush(chosenSegmentFill(option->palette));
    painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    painter->restore();
}

void ReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    switch (element) {
    case PE_PanelButtonCommand:
        if (isChosenSegment(option, widget)) {
            drawChosenSegment(option, painter);
            return;
        }
        [[fallthrough]];
    case PE_FrameLineEdit:
    case PE_Frame:
    case PE_IndicatorCheckBox:
    case PE_IndicatorRadioButton:
        drawWithPalette(option, withReadableFrames(option->palette), [&](const QStyleOption* readable) {
            QProxyStyle::drawPrimitive(element, readable, painter, widget);
        });
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void ReadableStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                       const QWidget* widget) const {
    switch (control) {
    case CC_SpinBox:
    case CC_ComboBox:
        drawWithPalette(option, withReadableFrames(option->palette), [&](const QStyleOption* readable) {
            QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex*>(readable), painter,
                                            widget);
        });
        return;
    default:
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }
}

} // namespace Orza
