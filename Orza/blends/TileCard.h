#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/chemistry/Stull.h"
#include "Orza/blends/BlendTiles.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

namespace Orza {

class BookLibrary;

/// What one blend tile's card says, top to bottom.
struct TileCardText {
    /// One material line: the material's name (" (add.)" after an addition) and its amount.
    struct Row {
        QString name;
        QString amount;
    };

    QString heading;
    QString title;
    std::vector<Row> rows;
    /// "SiO₂ 3.10  Al₂O₃ 0.35" and "Si:Al 8.9  Gloss", or "No chemistry" alone.
    QStringList chemistry;

    /// Every text in reading order, as a screen reader hears the card.
    QString spoken() const;
};

/// The surface Stull's chart predicts: the region's display name, "Outside chart" off the chart.
QString surfaceHint(GlazeCore::StullRegion region);
/// The two chemistry lines of a tile, from the raw UMF values (0 for an oxide the UMF lacks); the hint is
/// the region of those same values, so it agrees with the sidebar's dot for the recipe.
QStringList tileCardChemistryLines(const std::optional<GlazeCore::Chemistry>& chemistry);
TileCardText tileCardText(const BlendTile& tile, const BookLibrary& library, const QString& title);

/**
 * The small read-only panel of one blend tile: its number, its title (two lines at most, cut at the
 * end of the second), its material lines with their amounts, a divider and its chemistry. It takes the width it is
 * given and the height that needs; it is read out as one element.
 */
class TileCard final : public QWidget {
    Q_OBJECT
public:
    static constexpr int padding = 8;
    static constexpr int spacing = 4;

    explicit TileCard(QWidget* parent = nullptr);

    const TileCardText& text() const { return m_text; }
    void setText(TileCardText text);

    /// The title as drawn at the card's width: one or two lines.
    QStringList titleLines(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont headlineFont() const;
    QFont captionFont() const;

    TileCardText m_text;
    /// The title's lines at the width they were last laid out for: the grid asks for every card's height
    /// several times a layout.
    mutable std::optional<std::pair<int, QStringList>> m_titleAt;
};

} // namespace Orza
