#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace Orza {

/**
 * A problem shown in place: the warning symbol in its own colours beside a sentence in the callout font,
 * wrapping onto as many lines as it needs. It reads as one alert named by its sentence; announce() tells a
 * screen reader so, that it speaks the sentence without the focus moving. The Linux bridge carries no alert
 * event, but it does carry an alert that is shown, which readers speak.
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

protected:
    bool event(QEvent* event) override;

private:
    QLabel* m_symbol;
    QLabel* m_text;
    /// Shown since the last announcement: showing it told the reader already.
    bool m_shownAnew = false;
};

} // namespace Orza
