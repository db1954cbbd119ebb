#pragma once

#include <QString>
#include <QWidget>

namespace Orza {

/// One line of text cut with an ellipsis when its width is too small: at its end, or in its middle so that both
/// ends of a long material name stay readable. It asks for its full width. Its accessible name follows the
/// text until its owner sets another.
class ElidedLabel final : public QWidget {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideRight);

    const QString& text() const { return m_text; }
    void setText(const QString& text);
    /// The text as drawn at the current width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Qt::TextElideMode m_mode;
};

} // namespace Orza
