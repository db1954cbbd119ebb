#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace Orza {

/**
 * The "Rename Recipe" alert: one "Name" field, "Rename" (Return) and "Cancel" (Escape). Window-modal,
 * deletes itself when closed; the window decides what a rename does.
 */
class RenameRecipeDialog final : public QDialog {
    Q_OBJECT
public:
    RenameRecipeDialog(const QString& name, QWidget* parent);

    QString text() const;
    QLineEdit* nameField() const { return m_field; }
    QPushButton* renameButton() const { return m_rename; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    void textEdited(const QString& text);

private:
    QLineEdit* m_field;
    QPushButton* m_rename;
    QPushButton* m_cancel;
};

} // namespace Orza
