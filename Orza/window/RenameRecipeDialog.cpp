#include "Orza/window/RenameRecipeDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orza {

RenameRecipeDialog::RenameRecipeDialog(const QString& name, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(name)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Rename Recipe"));

    auto* title = new QLabel(tr("Rename Recipe"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    m_field->setPlaceholderText(tr("Name"));
    m_field->setAccessibleName(tr("New recipe name"));
    m_field->setMinimumWidth(260);
    connect(m_field, &QLineEdit::textChanged, this, &RenameRecipeDialog::textEdited);

    auto* buttons = new QDialogButtonBox;
    m_rename = buttons->addButton(tr("Rename"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    m_rename->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_field);
    layout->addWidget(buttons);
}

QString RenameRecipeDialog::text() const {
    return m_field->text();
}

} // namespace Orza
