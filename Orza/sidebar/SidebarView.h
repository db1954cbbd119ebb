#pragma once

#include "Orza/models/WindowTypes.h"

#include <QWidget>

#include <optional>

class QTreeView;
class QVBoxLayout;

namespace Orza {

class SidebarModel;

/**
 * The sidebar column: the list of recipes and book pages, with a place for notes at its foot.
 *
 * It shows the window model's selection and reports the user's choices; while the model is inserting,
 * removing or moving rows, the view's own selection changes are not reported, so the window alone decides
 * what is selected after recipes come and go.
 */
class SidebarView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 200;
    static constexpr int idealWidth = 220;
    static constexpr int maximumWidth = 360;

    SidebarView(SidebarModel* model, QWidget* parent = nullptr);

    QTreeView* list() const { return m_list; }
    SidebarModel* model() const { return m_model; }
    /// The foot of the column where notes stack, top to bottom.
    QVBoxLayout* notesArea() const { return m_notes; }

    /// Shows `item` as selected, without reporting it back.
    void showSelection(const std::optional<SidebarItem>& item);
    QSize sizeHint() const override;

signals:
    void selectionChosen(const std::optional<Orza::SidebarItem>& item);
    /// Delete or Backspace in the list.
    void deleteRequested();
    /// F2 on the selected recipe, or a double-click on a recipe row.
    void renameRequested(const GlazeCore::Uuid& recipeID);
    /// A recipe row's context menu is asked for, at a point on the screen.
    void recipeMenuRequested(const GlazeCore::Uuid& recipeID, const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reportSelection();
    void showContextMenu(const QPoint& position);

    SidebarModel* m_model;
    QTreeView* m_list;
    QVBoxLayout* m_notes;
    std::optional<SidebarItem> m_shown;
    int m_structuralChanges = 0;
    bool m_showing = false;
};

} // namespace Orza
