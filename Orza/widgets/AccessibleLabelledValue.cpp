#include "Orza/widgets/AccessibleLabelledValue.h"

#include "Orza/platform/AccessibleOwnInterface.h"
#include "Orza/widgets/AccessibleHidden.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace Orza {

namespace {

constexpr const char* labelledProperty = "orzaAccessibleLabelledValue";

class LabelledValueInterface final : public QAccessibleWidget {
public:
    explicit LabelledValueInterface(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        const QString value = static_cast<QLabel*>(widget())->text();
        if (kind == QAccessible::Value) return value;
        const QString own = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Description && own.isEmpty()) return value;
        return own;
    }
};

QAccessibleInterface* labelledFactory(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (!label || !label->property(labelledProperty).toBool()) return nullptr;
    return new LabelledValueInterface(label);
}

} // namespace

void readAsLabelledValue(QLabel* title, QLabel* value) {
    hideFromAccessibility(title);
    value->setAccessibleName(title->text());
    value->setProperty(labelledProperty, true);
    useOwnInterface<LabelledValueInterface>(value, labelledFactory);
}

} // namespace Orza
