#pragma once

#include <QImage>
#include <QWidget>

namespace Orza {

/**
 * A picture scaled to fit its width and a height limit, keeping its proportions, small pictures enlarged
 * as large ones are reduced. Its height follows its width, so it fits a column of any width.
 */
class PhotoView final : public QWidget {
    Q_OBJECT
public:
    explicit PhotoView(int maximumHeight, QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// The picture's size in device-independent pixels.
    QSizeF shownSize() const;
    QSizeF fitted(int width) const;

    int m_maximumHeight;
    QImage m_image;
};

} // namespace Orza
