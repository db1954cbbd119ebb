#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QHBoxLayout;
class QToolButton;

namespace Orza {

/**
 * The footer row under a list or table: a plus button and a minus button at the leading edge, then free
 * space and optional trailing content such as a count. The add button's tooltip is `addHelp` when set,
 * else its label; the remove button's tooltip is its label.
 */
class ListFootButtons final : public QWidget {
    Q_OBJECT
public:
    ListFootButtons(const QString& addLabel, const QString& removeLabel, QWidget* parent = nullptr);

    QToolButton* addButton() const { return m_add; }
    QToolButton* removeButton() const { return m_remove; }

    void setCanAdd(bool canAdd);
    void setCanRemove(bool canRemove);
    void setAddHelp(const std::optional<QString>& help);
    /// Puts `content` at the trailing end, in place of any content there before (which is deleted).
    void setTrailing(QWidget* content);
    QWidget* trailing() const { return m_trailing; }

signals:
    void addRequested();
    void removeRequested();

private:
    QString m_addLabel;
    QToolButton* m_add;
    QToolButton* m_remove;
    QHBoxLayout* m_row;
    QWidget* m_trailing = nullptr;
};

} // namespace Orza
