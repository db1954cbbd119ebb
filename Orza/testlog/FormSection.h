#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace Orza {

/**
 * One section of a grouped form: a heading over a rounded panel that holds the section's rows. The
 * heading is announced as a heading, so the form can be read section by section.
 */
class FormSection final : public QWidget {
    Q_OBJECT
public:
    explicit FormSection(const QString& title, QWidget* parent = nullptr);

    QLabel* heading() const { return m_heading; }
    /// The panel's rows, top to bottom.
    QVBoxLayout* rows() const { return m_rows; }

private:
    QLabel* m_heading;
    QVBoxLayout* m_rows;
};

/// The callout font: a little smaller than the body text, for problems and messages.
QFont calloutFont(const QFont& base);
/// The caption font: smaller still, for notes and column headers.
QFont captionFont(const QFont& base);
/// Dims a label's text to the secondary colour of notes and totals.
void makeSecondary(QWidget* label);

} // namespace Orza
