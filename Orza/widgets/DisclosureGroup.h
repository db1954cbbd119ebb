#pragma once

#include <QWidget>

class QToolButton;

namespace Orza {

/// A titled row with a triangle that shows or hides the content below it; collapsed at first.
class DisclosureGroup final : public QWidget {
    Q_OBJECT
public:
    /// Takes ownership of `content`.
    DisclosureGroup(const QString& title, QWidget* content, QWidget* parent = nullptr);

    bool isExpanded() const;
    void setExpanded(bool expanded);
    QToolButton* toggle() const { return m_toggle; }
    QWidget* content() const { return m_content; }

private:
    QToolButton* m_toggle;
    QWidget* m_content;
};

} // namespace Orza
