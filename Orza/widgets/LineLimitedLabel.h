#pragma once

#include <QString>
#include <QWidget>

namespace Orza {

/**
 * Plain text wrapped to the widget's width and cut at a number of lines: when more text is left, the
 * last line shown ends in an ellipsis. Its height follows its width, so it fits a column of any width.
 */
class LineLimitedLabel final : public QWidget {
    Q_OBJECT
public:
    LineLimitedLabel(const QString& text, int maximumLines, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    int maximumLines() const { return m_maximumLines; }

    /// The lines as drawn at `width`, the last one elided when the text goes on.
    QStringList shownLines(int width) const;
    /// Whether text is left out at the widget's current width.
    bool isElided() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList layoutLines(int width, bool* elided) const;

    QString m_text;
    int m_maximumLines;
};

} // namespace Orza
