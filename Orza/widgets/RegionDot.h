#pragma once

#include "GlazeCore/chemistry/Stull.h"

#include <QColor>
#include <QIcon>
#include <QWidget>

#include <optional>

class QPainter;

namespace Orza {

/**
 * The small dot in front of a recipe in the sidebar: filled with the colour of the recipe's Stull region,
 * or a hollow ring when there is no region to show. It carries no text; the row names the region.
 *
 * The colours are the same in light and dark palettes; only the thin border over a filled dot follows
 * the contrast setting.
 */
class RegionDot final : public QWidget {
    Q_OBJECT
public:
    enum class Contrast { standard, increased };
    static constexpr int diameter = 10;

    explicit RegionDot(std::optional<GlazeCore::StullRegion> region = std::nullopt, QWidget* parent = nullptr);

    std::optional<GlazeCore::StullRegion> region() const { return m_region; }
    void setRegion(std::optional<GlazeCore::StullRegion> region);
    Contrast contrast() const { return m_contrast; }
    void setContrast(Contrast contrast);

    QSize sizeHint() const override { return {diameter, diameter}; }

    /// The fill of a region: the one region colour of the interface, opaque sRGB.
    static QColor color(GlazeCore::StullRegion region);
    /// Draws the dot centred in `bounds`, at most `diameter` across.
    static void paint(QPainter& painter, const QRectF& bounds, std::optional<GlazeCore::StullRegion> region,
                      const QPalette& palette, Contrast contrast);
    /// The dot as an icon for item views, drawn with the application's palette when it is shown.
    static QIcon icon(std::optional<GlazeCore::StullRegion> region, Contrast contrast = systemContrast());
    /// The desktop's contrast preference; Qt offers no way to read it before 6.10, so this is standard there.
    static Contrast systemContrast();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<GlazeCore::StullRegion> m_region;
    Contrast m_contrast;
};

} // namespace Orza
