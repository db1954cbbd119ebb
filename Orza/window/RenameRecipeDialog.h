#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Orza {

/**
 * The "Rename Recipe" alert: one field titled "Name", "Rename" (Return) and "Cancel" (Escape). Window-modal,
 * deletes itself when closed; the window decides what a rename does, and a blank name is no error there:
 * the recipe keeps its name.
 */
class RenameRecipeDialog final : public QDialog {
    Q_OBJECT
public:
    RenameRecipeDialog(const QString& name, QWidget* parent);

    QString text() const;
    QLineEdit* nameField() const { return m_field; }
    /// The field's "Name" title, in sight whatever the field holds.
    QLabel* nameTitle() const { return m_title; }
    QPushButton* renameButton() const { return m_rename; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    void textEdited(const QString& text);

private:
    QLineEdit* m_field;
    QLabel* m_title;
    QPushButton* m_rename;
    QPushButton* m_cancel;
};

} // namespace Orza
