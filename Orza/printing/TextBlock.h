#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <limits>
#include <memory>

class QPaintDevice;
class QPainter;
class QTextLayout;

namespace Orza::Printing {

/**
 * A piece of page text in a page font (pageFont()) laid out once for one device: broken into lines at
 * `maxWidth` points (at word boundaries where it can, line breaks in the text kept), then measured and
 * painted from that layout.
 */
class TextBlock final {
public:
    static constexpr qreal unlimited = 100000;

    TextBlock(const QString& text, const QFont& font, const QPaintDevice& device, qreal maxWidth = unlimited);
    TextBlock(TextBlock&&) noexcept;
    TextBlock& operator=(TextBlock&&) noexcept;
    ~TextBlock();

    const QString& text() const { return m_text; }
    /// The widest line's width and the lines' height, in points.
    QSizeF size() const { return m_size; }
    int lineCount() const;

    /// Paints the text in `color` with its top left at `topLeft`.
    void paint(QPainter& painter, QPointF topLeft, const QColor& color) const;

private:
    QString m_text;
    std::unique_ptr<QTextLayout> m_layout;
    QSizeF m_size;
};

} // namespace Orza::Printing
