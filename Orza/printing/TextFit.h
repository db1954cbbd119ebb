#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPaintDevice;

/// Fitting a piece of text into a room that may be too small for it, on a page or on screen. Widths are in
/// the font's own units: pixels of a screen font, text units of a page font (pageFont()).
namespace Orza::Printing {

/// The text cut in its middle to "start…end", keeping as many characters as `fits` accepts, a little more
/// of the start than of the end, and moving the cut to whole words where that leaves some of each piece;
/// the text itself when it fits, "…" when nothing more does.
QString elideMiddle(const QString& text, const std::function<bool(const QString&)>& fits);

/// The text broken into lines at `width` (at word boundaries where it can, else anywhere), each line
/// without the blanks it breaks at.
QStringList wrappedLines(const QString& text, const QFont& font, const QPaintDevice& device, qreal width);

/// The text broken into lines as wrappedLines does, at most `lineLimit` of them: when more would be needed,
/// the last line kept takes the rest of the text and is cut at its end with "…".
QStringList wrappedLinesCutAtEnd(const QString& text, const QFont& font, const QPaintDevice& device, qreal width,
                                 int lineLimit);

/// One line of text shrunk to fit a width: the font at the largest size down to `minimumScale` of its own
/// at which the text fits, and the text cut at its end when even that size is too large.
struct ShrunkLine {
    QString text;
    QFont font;
    qreal scale = 1;
};
ShrunkLine shrinkToWidth(const QString& text, const QFont& font, const QPaintDevice& device, qreal width,
                         qreal minimumScale);

/// The characters the functions here have measured or laid out on this thread, all told. Laying out costs what it
/// is given, so a test holds a huge text to the ends shown by this count, which no load on the machine changes.
quint64 charactersLaidOut();

} // namespace Orza::Printing
