#pragma once

#include <QMessageBox>

namespace Orza {

/// The "Delete this recipe?" confirmation: "Delete Recipe" (destructive) and "Cancel". Window-modal, deletes
/// itself when closed; accepted() is sent only for "Delete Recipe".
class DeleteRecipeDialog final : public QMessageBox {
    Q_OBJECT
public:
    explicit DeleteRecipeDialog(QWidget* parent);

    QAbstractButton* deleteButton() const { return m_delete; }
    QAbstractButton* cancelButton() const { return m_cancel; }

signals:
    void deleteConfirmed();

private:
    QAbstractButton* m_delete;
    QAbstractButton* m_cancel;
};

} // namespace Orza
