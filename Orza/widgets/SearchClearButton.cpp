#include "Orza/widgets/SearchClearButton.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>

namespace Orza {

void enableSearchClearButton(QLineEdit* field) {
    field->setClearButtonEnabled(true);
    // Qt's button takes its text and tooltip from this action of the field, which has none of its own.
    auto* clear = field->findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction"), Qt::FindDirectChildrenOnly);
    if (clear) clear->setText(QCoreApplication::translate("SearchField", "Clear the search"));
}

} // namespace Orza
