#pragma once

#include <QHash>
#include <QPalette>
#include <QProxyStyle>

#include <optional>

namespace Orza {

/**
 * The application's style: the platform's own, with two repairs of Fusion (the style used where the desktop
 * offers no other) that keep a control's state readable in dark schemes as in light ones, made here once
 * rather than on each widget.
 *
 * Fusion draws the frames of fields, check boxes, buttons and pickers in the window colour darkened, which
 * on a dark window all but vanishes: where it would, they are drawn in ReadablePalette::frameColour. And a
 * checked button that is not a tool bar's (a segment of a segmented choice: Bundled or Custom, Line,
 * Triaxial or Grid) is filled with a share of the selection colour, so the chosen segment stands out from
 * the others.
 */
class ReadableStyle final : public QProxyStyle {
    Q_OBJECT
public:
    /// Over `base`, else over the style the application would use by itself.
    explicit ReadableStyle(QStyle* base = nullptr);

    /// Makes a ReadableStyle over the application's present style the application's style.
    static void install();

    /// The fill of the chosen segment in this palette.
    static QColor chosenSegmentFill(const QPalette& palette);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    /// The palette with a window colour from which the base style derives a readable frame; the palette
    /// itself when the base style's frames read already, or are not derived that way.
    bool repairsBase() const;
    QPalette withReadableFrames(const QPalette& palette) const;
    bool isChosenSegment(const QStyleOption* option, const QWidget* widget) const;
    void drawChosenSegment(const QStyleOption* option, QPainter* painter) const;

    /// Palettes worked out before, by the cache key of the palette they were made from.
    mutable QHash<qint64, QPalette> m_framed;
    mutable std::optional<bool> m_repairsBase;
};

} // namespace Orza
