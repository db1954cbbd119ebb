#include "Orza/printing/TextFit.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <limits>
#include <vector>

namespace Orza::Printing {

namespace {

const QString ellipsis(QChar(0x2026));

thread_local quint64 laidOut = 0;

/// The text, counted as measured or laid out.
const QString& counted(const QString& text) {
    laidOut += quint64(text.size());
    return text;
}

/// Where each user-perceived character starts, and the text's end: a cut never splits one.
std::vector<int> characterBounds(const QString& text) {
    std::vector<int> bounds{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, counted(text));
    for (int at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        bounds.push_back(at);
    if (bounds.back() != text.size()) bounds.push_back(int(text.size()));
    return bounds;
}

/// The first `kept` characters split between start and end around the ellipsis.
QString keptMiddle(const QString& text, const std::vector<int>& bounds, int kept) {
    const int count = int(bounds.size()) - 1;
    const int head = (kept + 1) / 2;
    const int tail = kept - head;
    return text.left(bounds[std::size_t(head)]) + ellipsis + text.mid(bounds[std::size_t(count - tail)]);
}

/// The same cut moved out to whole words where the pieces keep some of them, so that no piece of a word or
/// number is left that reads as something else ("0%" of "100%").
QString keptWholeWords(const QString& text, const std::vector<int>& bounds, int kept) {
    const int count = int(bounds.size()) - 1;
    const int headEnd = bounds[std::size_t((kept + 1) / 2)];
    const int tailStart = bounds[std::size_t(count - (kept - (kept + 1) / 2))];
    QString head = text.left(headEnd);
    QString tail = text.mid(tailStart);
    const bool headCutsWord =
        headEnd < text.size() && !text[headEnd].isSpace() && headEnd > 0 && !text[headEnd - 1].isSpace();
    if (headCutsWord) {
        const auto space = head.lastIndexOf(QLatin1Char(' '));
        if (space > 0) head.truncate(space + 1);
    }
    const bool tailCutsWord =
        tailStart > 0 && tailStart < text.size() && !text[tailStart - 1].isSpace() && !text[tailStart].isSpace();
    if (tailCutsWord) {
        const auto space = tail.indexOf(QLatin1Char(' '));
        if (space >= 0 && space + 1 < tail.size()) tail = tail.mid(space + 1);
    }
    return head + ellipsis + tail;
}

qreal widthOf(const QString& text, const QFont& font, const QPaintDevice& device) {
    return QFontMetricsF(font, &device).horizontalAdvance(counted(text));
}

} // namespace

quint64 charactersLaidOut() {
    return laidOut;
}

QString elideMiddle(const QString& text, const std::function<bool(const QString&)>& fits) {
    if (fits(text)) return text;
    const std::vector<int> bounds = characterBounds(text);
    const int count = int(bounds.size()) - 1;
    // The most characters that still fit, found by halving: fitting never gets easier with more of them.
    int low = 0;
    int high = count - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(keptMiddle(text, bounds, middle)))
            low = middle;
        else
            high = middle - 1;
    }
    const QString whole = keptWholeWords(text, bounds, low);
    return fits(whole) ? whole : keptMiddle(text, bounds, low);
}

QStringList wrappedLines(const QString& text, const QFont& font, const QPaintDevice& device, qreal width) {
    return wrappedLinesCutAtEnd(text, font, device, width, std::numeric_limits<int>::max());
}

QStringList wrappedLinesCutAtEnd(const QString& text, const QFont& font, const QPaintDevice& device, qreal width,
                                 int lineLimit) {
    QTextLayout layout(counted(text), font, &device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(width, 1));
        if (lines.size() + 1 == lineLimit && line.textStart() + line.textLength() < text.size()) {
            lines
                << QFontMetricsF(font, &device).elidedText(counted(text.mid(line.textStart())), Qt::ElideRight, width);
            break;
        }
        QString piece = text.mid(line.textStart(), line.textLength());
        while (!piece.isEmpty() && piece.back().isSpace())
            piece.chop(1);
        lines << piece;
    }
    layout.endLayout();
    return lines;
}

ShrunkLine shrinkToWidth(const QString& text, const QFont& font, const QPaintDevice& device, qreal width,
                         qreal minimumScale) {
    const qreal natural = widthOf(text, font, device);
    if (natural <= width) return {text, font, 1};
    // Unhinted text widens in proportion to its size, so the fitting scale is found in one step, then
    // checked, as rounding can leave it a hair too wide.
    qreal scale = std::max(minimumScale, width / natural);
    QFont shrunk = font;
    for (int attempt = 0; attempt < 8; ++attempt) {
        shrunk.setPointSizeF(font.pointSizeF() * scale);
        if (widthOf(text, shrunk, device) <= width || scale <= minimumScale) break;
        scale = std::max(minimumScale, scale * 0.99);
    }
    const QString shown = QFontMetricsF(shrunk, &device).elidedText(counted(text), Qt::ElideRight, width);
    return {shown, shrunk, scale};
}

} // namespace Orza::Printing
