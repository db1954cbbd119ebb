#include "Orza/blends/TileCard.h"

#include "GlazeCore/text/OxideText.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/printing/TextFit.h"
#include "Orza/widgets/RegionNames.h"
#include "Orza/widgets/SheetStyle.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace Orza {

namespace {

constexpr int titleLineLimit = 2;
constexpr qreal cornerRadius = 6;
constexpr int amountGap = 8;
constexpr int preferredWidth = 180;

QString formula(GlazeCore::Oxide oxide) {
    return QString::fromStdString(GlazeCore::OxideText::formula(oxide));
}

} // namespace

QString TileCardText::spoken() const {
    QStringList parts{heading, title};
    for (const Row& row : rows)
        parts << row.name + QLatin1Char(' ') + row.amount;
    parts << chemistry;
    return parts.join(QStringLiteral(", "));
}

QString surfaceHint(GlazeCore::StullRegion region) {
    if (region == GlazeCore::StullRegion::unknown) return TileCard::tr("Outside chart");
    return regionDisplayName(region);
}

QStringList tileCardChemistryLines(const std::optional<GlazeCore::Chemistry>& chemistry) {
    if (!chemistry) return {TileCard::tr("No chemistry")};
    const double siO2 = GlazeCore::oxideValue(chemistry->umf, GlazeCore::Oxide::SiO2);
    const double al2O3 = GlazeCore::oxideValue(chemistry->umf, GlazeCore::Oxide::Al2O3);
    const QString oxides = TileCard::tr("%1 %2  %3 %4")
                               .arg(formula(GlazeCore::Oxide::SiO2), formatDoublePlaces(2, siO2),
                                    formula(GlazeCore::Oxide::Al2O3), formatDoublePlaces(2, al2O3));
    const QString ratio =
        TileCard::tr("Si:Al %1  %2")
            .arg(formatDoublePlaces(1, chemistry->siAlRatio), surfaceHint(GlazeCore::Stull::region(siO2, al2O3)));
    return {oxides, ratio};
}

TileCardText tileCardText(const BlendTile& tile, const BookLibrary& library, const QString& title) {
    TileCardText text;
    text.heading = TileCard::tr("Tile %1").arg(tile.number);
    text.title = title;
    for (const GlazeCore::RecipeLine& line : tile.recipe.lines) {
        QString name = materialDisplayName(line.materialID, library);
        if (line.isAddition) name = TileCard::tr("%1 (add.)").arg(name);
        text.rows.push_back({name, formatDouble(line.amount)});
    }
    text.chemistry = tileCardChemistryLines(tile.chemistry);
    return text;
}

TileCard::TileCard(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TileCard::setText(TileCardText text) {
    m_text = std::move(text);
    m_titleAt.reset();
    setAccessibleName(m_text.spoken());
    updateGeometry();
    update();
}

QFont TileCard::headlineFont() const {
    QFont headline = font();
    headline.setWeight(QFont::DemiBold);
    return headline;
}

QFont TileCard::captionFont() const {
    QFont caption = font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    return caption;
}

QStringList TileCard::titleLines(int width) const {
    if (m_titleAt && m_titleAt->first == width) return m_titleAt->second;
    const qreal room = std::max(1, width - 2 * padding);
    m_titleAt.emplace(width, Printing::wrappedLinesCutAtEnd(m_text.title, captionFont(), *this, room, titleLineLimit));
    return m_titleAt->second;
}

int TileCard::heightForWidth(int width) const {
    const QFontMetrics headline(headlineFont());
    const QFontMetrics caption(captionFont());
    const int titleRows = std::max<int>(1, int(titleLines(width).size()));
    const int rows = int(m_text.rows.size());
    const int chemistryRows = int(m_text.chemistry.size());
    const int items = 1 + 1 + rows + 1 + chemistryRows;
    return 2 * padding + headline.height() + titleRows * caption.lineSpacing() + rows * caption.height() + 1 +
           chemistryRows * caption.height() + (items - 1) * spacing;
}

QSize TileCard::sizeHint() const {
    return {preferredWidth, heightForWidth(preferredWidth)};
}

void TileCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor secondary = SheetStyle::secondaryColor(palette());
    QColor fill = text;
    fill.setAlphaF(SheetStyle::cardFill);
    QColor border = text;
    border.setAlphaF(0.16f);

    // Stroked inside the edge: the border is part of the card's own size.
    const QRectF edge = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(edge, cornerRadius, cornerRadius);

    const int left = padding;
    const int right = width() - padding;
    const int room = right - left;
    int y = padding;
    const auto drawLine = [&](const QString& line, const QFont& font, const QColor& color) {
        painter.setFont(font);
        painter.setPen(color);
        const QFontMetrics metrics(font);
        painter.drawText(QRect(left, y, room, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(line, Qt::ElideRight, room));
        y += metrics.height() + spacing;
    };

    drawLine(m_text.heading, headlineFont(), text);
    const QFont caption = captionFont();
    const QFontMetrics captionMetrics(caption);
    painter.setFont(caption);
    painter.setPen(secondary);
    const QStringList title = titleLines(width());
    for (const QString& line : title) {
        painter.drawText(QRect(left, y, room, captionMetrics.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += captionMetrics.lineSpacing();
    }
    if (title.isEmpty()) y += captionMetrics.lineSpacing();
    y += spacing;

    painter.setPen(text);
    for (const TileCardText::Row& row : m_text.rows) {
        const int amountWidth = captionMetrics.horizontalAdvance(row.amount);
        const int nameRoom = std::max(0, room - amountWidth - amountGap);
        painter.drawText(QRect(left, y, nameRoom, captionMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         captionMetrics.elidedText(row.name, Qt::ElideRight, nameRoom));
        painter.drawText(QRect(left, y, room, captionMetrics.height()), Qt::AlignRight | Qt::AlignVCenter, row.amount);
        y += captionMetrics.height() + spacing;
    }

    painter.setPen(QPen(border, 1));
    painter.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
    y += 1 + spacing;

    for (int i = 0; i < m_text.chemistry.size(); ++i)
        drawLine(m_text.chemistry[i], caption, i == 0 && m_text.chemistry.size() > 1 ? text : secondary);
}

void TileCard::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_titleAt.reset();
        updateGeometry();
    }
}

} // namespace Orza
