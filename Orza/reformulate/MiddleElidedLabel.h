#pragma once

#include <QString>
#include <QWidget>

namespace Orza {

/// One line of text cut in the middle when it is too narrow, so that both ends of a long material name
/// stay readable. It asks for its full width. Its accessible name is set by its owner, not by the text.
class MiddleElidedLabel final : public QWidget {
public:
    explicit MiddleElidedLabel(QWidget* parent = nullptr);

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
};

} // namespace Orza
