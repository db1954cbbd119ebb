#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace Orza {

/**
 * A problem shown in place: the warning symbol in its own colours beside a sentence in the callout font,
 * wrapping onto as many lines as it needs. announce() raises an accessibility alert, so a screen reader
 * speaks the sentence without the focus moving.
 */
class ProblemLabel final : public QWidget {
    Q_OBJECT
public:
    explicit ProblemLabel(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    /// Raises an alert of the label's text, and reports it through announced().
    void announce();

signals:
    void announced(const QString& text);

private:
    QLabel* m_symbol;
    QLabel* m_text;
};

} // namespace Orza
