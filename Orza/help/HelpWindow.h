#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;

namespace Orza {

/**
 * The application's one help window: a heading, a pointer to the support page and ten topics in one
 * scrolling column. Asking for it again brings the same window forward; it lives until the application
 * quits. The topic texts name the application by its current name each time the window is built.
 */
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    struct Topic {
        QString id;
        QString title;
        QString text;
    };

    static constexpr QSize defaultSize{560, 640};
    /// Smaller than this the window cannot be made.
    static constexpr QSize minimumContentSize{420, 360};
    /// The text column grows no wider, however wide the window.
    static constexpr int maximumColumnWidth = 640;

    /// The topics in display order, made afresh with the application's name as it is now.
    static std::vector<Topic> topics();

    /// Shows the help window, making it on first use, and brings it forward.
    static HelpWindow* showHelp();
    /// The help window when it has been made, else none.
    static HelpWindow* existing();

    QLabel* heading() const { return m_heading; }
    /// The link to the support page.
    QLabel* supportLink() const { return m_supportLink; }
    /// The column of topics, scrolling under the heading and the support line.
    QWidget* column() const { return m_column; }

private:
    explicit HelpWindow(QWidget* parent = nullptr);

    QLabel* m_heading = nullptr;
    QLabel* m_supportLink = nullptr;
    QWidget* m_column = nullptr;
};

} // namespace Orza
