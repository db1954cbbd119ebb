#pragma once

#include <QWidget>

class QLabel;
class QHBoxLayout;

namespace Orza {

/// A centred symbol, title and description that stand where content would be; optional buttons below.
class ContentUnavailableView final : public QWidget {
    Q_OBJECT
public:
    ContentUnavailableView(const QString& symbol, const QString& title, const QString& description,
                           QWidget* parent = nullptr);

    QString title() const;
    QString description() const;
    /// Wraps the description to `width`, for a pane narrower than the view's usual width.
    void setDescriptionWidth(int width);
    /// The row of buttons under the description, 12 points apart; empty until buttons are added.
    QHBoxLayout* buttonRow() const { return m_buttons; }

private:
    QLabel* m_title;
    QLabel* m_description;
    QHBoxLayout* m_buttons;
};

} // namespace Orza
