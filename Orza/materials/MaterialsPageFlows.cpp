// The Materials page's three changes to the book: add, duplicate and delete.

#include "Orza/materials/MaterialsPage.h"

#include "GlazeCore/library/MaterialRules.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/BookItems.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/platform/MessageBox.h"

#include <QLineEdit>

namespace Orza {

void MaterialsPage::addMaterial() {
    GlazeCore::Material material = newCustomMaterial(m_document.book());
    const std::string id = material.id;
    if (!m_document.insertMaterial(m_document.book().customMaterials.size(), std::move(material), tr("Add Material")))
        return;
    setScope(Scope::custom);
    selectCustom(id);
    focusNewMaterialName();
}

void MaterialsPage::duplicateAsCustom(const GlazeCore::Material& bundled) {
    GlazeCore::Material copy;
    copy.id = newCustomMaterial(m_document.book()).id;
    copy.name = bundled.name + tr(" (custom)").toStdString();
    copy.analysis = bundled.analysis;
    copy.loi = bundled.loi;
    copy.source = tr("Copied from bundled %1: %2")
                      .arg(QString::fromStdString(bundled.id), QString::fromStdString(bundled.source))
                      .toStdString();
    const std::string id = copy.id;
    if (!m_document.insertMaterial(m_document.book().customMaterials.size(), std::move(copy),
                                   tr("Duplicate as Custom Material")))
        return;
    setScope(Scope::custom);
    selectCustom(id);
}

void MaterialsPage::deleteSelectedMaterial() {
    if (!m_customSelection) return;
    const std::string id = *m_customSelection;
    const auto index = m_document.materialIndex(id);
    // The alert quotes names from the book.
    const std::string name = visibleText(index ? m_document.book().customMaterials[*index].name : id).toStdString();
    auto users = GlazeCore::MaterialRules::recipeNamesUsing(id, m_document.book());
    for (std::string& user : users)
        user = visibleText(user).toStdString();
    if (const auto blocker = GlazeCore::MaterialRules::deleteBlocker(name, users)) {
        MessageBox::alert(window(), tr("This Material Is in Use"), QString::fromStdString(*blocker));
        return;
    }
    m_document.removeMaterial(id);
    selectCustom(std::nullopt);
}

void MaterialsPage::focusNewMaterialName() {
    CustomMaterialEditor* shown = editor();
    if (!shown || !isVisible()) return;
    // Ready to be named: typing replaces "New material N".
    shown->nameField()->setFocus(Qt::OtherFocusReason);
    shown->nameField()->selectAll();
}

} // namespace Orza
