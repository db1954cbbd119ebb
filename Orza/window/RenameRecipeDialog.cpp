#include "Orza/window/RenameRecipeDialog.h"

#include "Orza/platform/DialogKeys.h"
#include "Orza/widgets/OneLineText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orza {

RenameRecipeDialog::RenameRecipeDialog(const QString& name, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(name)), m_title(new QLabel(tr("Name"))) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Rename Recipe"));

    auto* title = new QLabel(tr("Rename Recipe"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    OneLineText::keepWhole(m_field);
    m_title->setBuddy(m_field);
    m_field->setAccessibleName(tr("New recipe name"));
    m_field->setMinimumWidth(260);
    connect(m_field, &QLineEdit::textChanged, this, &RenameRecipeDialog::textEdited);

    auto* buttons = new QDialogButtonBox;
    m_rename = buttons->addButton(tr("Rename"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    m_field->selectAll(); // typing replaces the old name
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* field = new QHBoxLayout;
    field->addWidget(m_title);
    field->addWidget(m_field, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(field);
    layout->addWidget(buttons);
    DialogKeys::follow(*this, *m_rename);
}

QString RenameRecipeDialog::text() const {
    return m_field->text();
}

} // namespace Orza
