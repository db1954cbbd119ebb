#pragma once

#include "Orza/actions/ToolbarItems.h"

#include <QDialog>

#include <vector>

class QDialogButtonBox;
class QListWidget;
class QPushButton;

namespace Orza {

/**
 * Chooses the book window toolbar's items and their order: the items not shown on one side, the shown
 * ones in order on the other. OK stores the choice for every window; Cancel changes nothing.
 */
class CustomizeToolbarDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CustomizeToolbarDialog(QWidget* parent = nullptr);

    QListWidget* availableList() const { return m_available; }
    QListWidget* shownList() const { return m_shown; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* upButton() const { return m_up; }
    QPushButton* downButton() const { return m_down; }
    QPushButton* defaultsButton() const { return m_defaults; }

    /// The shown list as it stands.
    std::vector<ToolbarItems::Item> chosenItems() const;

private:
    void orderTabStops(QDialogButtonBox* buttons);
    void fill(const std::vector<ToolbarItems::Item>& shown);
    void addChosen();
    void removeChosen();
    void moveChosen(int step);
    void updateButtons();

    QListWidget* m_available;
    QListWidget* m_shown;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_defaults;
};

} // namespace Orza
