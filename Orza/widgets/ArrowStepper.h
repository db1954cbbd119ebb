#pragma once

#include <QWidget>

class QToolButton;

namespace Orza {

/**
 * A small up and down arrow pair that holds no value: each press only asks for a step, and the owner
 * decides what a step means. Focused, it steps with the Up and Down keys.
 */
class ArrowStepper final : public QWidget {
    Q_OBJECT
public:
    explicit ArrowStepper(QWidget* parent = nullptr);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    QSize sizeHint() const override;

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
};

} // namespace Orza
