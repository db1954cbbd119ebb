#pragma once

#include <QAction>

class QLineEdit;
class QToolButton;

namespace Orza {

/// The warning mark a line edit shows at its trailing edge while it holds text it refuses, the reason as its
/// tooltip and as the name of the alert it reads as. It keeps its contrast when the field's palette turns dark or
/// light.
class ProblemMark final : public QAction {
    Q_OBJECT
public:
    explicit ProblemMark(QLineEdit* field);

    /// Shown with `problem` as its tooltip; hidden when `problem` is empty.
    void showProblem(const QString& problem);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintIcon();

    QLineEdit* m_field;
    /// The button the line edit shows the mark as.
    QToolButton* m_button = nullptr;
};

} // namespace Orza
