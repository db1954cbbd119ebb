#include "Orza/widgets/LineLimitedLabel.h"

#include <QPainter>
#include <QTextLayout>

namespace Orza {

namespace {

constexpr int preferredWidth = 200;

} // namespace

LineLimitedLabel::LineLimitedLabel(const QString& text, int maximumLines, QWidget* parent)
    : QWidget(parent), m_text(text), m_maximumLines(std::max(1, maximumLines)) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(text);
}

QStringList LineLimitedLabel::shownLines(int width) const {
    return layoutLines(width, nullptr);
}

QStringList LineLimitedLabel::layoutLines(int width, bool* elided) const {
    width = std::max(width, 1);
    QTextLayout layout(m_text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    bool cut = false;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const int start = line.textStart();
        if (lines.size() + 1 == m_maximumLines) {
            // The last line allowed takes whatever is left, cut with an ellipsis when it does not fit.
            const QString rest = m_text.mid(start).simplified();
            const QString shown = fontMetrics().elidedText(rest, Qt::ElideRight, width);
            cut = shown != rest;
            lines << shown;
            break;
        }
        lines << m_text.mid(start, line.textLength()).trimmed();
    }
    layout.endLayout();
    if (elided) *elided = cut;
    return lines;
}

bool LineLimitedLabel::isElided() const {
    bool elided = false;
    layoutLines(width(), &elided);
    return elided;
}

int LineLimitedLabel::heightForWidth(int width) const {
    return int(shownLines(width).size()) * fontMetrics().lineSpacing();
}

QSize LineLimitedLabel::sizeHint() const {
    return {preferredWidth, heightForWidth(preferredWidth)};
}

QSize LineLimitedLabel::minimumSizeHint() const {
    // Any width will do: the text wraps and cuts to fit the column it is given.
    return {fontMetrics().averageCharWidth() * 4, fontMetrics().lineSpacing()};
}

void LineLimitedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const int lineSpacing = fontMetrics().lineSpacing();
    int y = 0;
    for (const QString& line : shownLines(width())) {
        painter.drawText(QRect(0, y, width(), lineSpacing), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineSpacing;
    }
}

} // namespace Orza
