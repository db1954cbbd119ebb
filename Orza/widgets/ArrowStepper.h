#pragma once

#include <QString>
#include <QWidget>

class QToolButton;

namespace Orza {

/**
 * A small up and down arrow pair that holds no value: each press only asks for a step, and the owner
 * decides what a step means. Focused, it steps with the Up and Down keys. It reads as a spin box: the owner
 * gives it the number it changes, as its value and the text that shows it, and its increase and decrease
 * actions step as the arrows do.
 */
class ArrowStepper final : public QWidget {
    Q_OBJECT
public:
    explicit ArrowStepper(QWidget* parent = nullptr);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    QSize sizeHint() const override;

    /// The number a step changes, and how it is shown, as a reader hears them.
    void setSteppedValue(double value, const QString& text);
    double steppedValue() const { return m_value; }
    QString steppedText() const { return m_text; }

signals:
    void incremented();
    void decremented();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refreshIcons();

    QToolButton* m_up;
    QToolButton* m_down;
    double m_value = 0;
    QString m_text;
};

} // namespace Orza
