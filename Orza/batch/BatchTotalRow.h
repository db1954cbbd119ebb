#pragma once

#include <QString>
#include <QWidget>

namespace Orza {

/// "Total" at the leading edge and the batch's weight at the trailing edge, read out as one line.
class BatchTotalRow final : public QWidget {
    Q_OBJECT
public:
    explicit BatchTotalRow(QWidget* parent = nullptr);

    /// The weight with its unit, "1,000.0 g".
    const QString& weightText() const { return m_weight; }
    void setWeightText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont headlineFont() const;

    QString m_label;
    QString m_weight;
};

} // namespace Orza
