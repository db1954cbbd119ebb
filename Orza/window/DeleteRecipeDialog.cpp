#include "Orza/window/DeleteRecipeDialog.h"

#include <QPushButton>

namespace Orza {

DeleteRecipeDialog::DeleteRecipeDialog(QWidget* parent) : QMessageBox(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setIcon(QMessageBox::Warning);
    setText(tr("Delete this recipe?"));
    setInformativeText(tr("Test log entries for this recipe stay in the book. You can undo this with Edit > Undo."));
    m_delete = addButton(tr("Delete Recipe"), QMessageBox::DestructiveRole);
    m_cancel = addButton(tr("Cancel"), QMessageBox::RejectRole);
    setDefaultButton(qobject_cast<QPushButton*>(m_cancel));
    setEscapeButton(m_cancel);
    connect(this, &QMessageBox::buttonClicked, this, [this](QAbstractButton* button) {
        if (button == m_delete) emit deleteConfirmed();
    });
}

} // namespace Orza
