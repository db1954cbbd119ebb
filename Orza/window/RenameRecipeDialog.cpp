#include "Orza/window/RenameRecipeDialog.h"

#include "GlazeCore/text/UnicodeText.h"

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
    // A name of blanks alone would leave the recipe as it is: nothing to rename to.
    const auto updateRename = [this](const QString& text) {
        m_rename->setEnabled(!GlazeCore::UnicodeText::trimWhitespaceAndNewlines(text.toStdString()).empty());
    };
    connect(m_field, &QLineEdit::textChanged, this, updateRename);
    updateRename(name);
    m_field->selectAll(); // typing replaces the old name
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
