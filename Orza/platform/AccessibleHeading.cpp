#include "Orza/platform/AccessibleHeading.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace Orza {

namespace {

constexpr const char* headingProperty = "orzaAccessibleHeading";

class HeadingInterface final : public QAccessibleWidget {
public:
    explicit HeadingInterface(QLabel* label) : QAccessibleWidget(label, QAccessible::Heading) {}

    QString text(QAccessible::Text kind) const override {
        const QString own = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && own.isEmpty()) return static_cast<QLabel*>(widget())->text();
        return own;
    }
};

QAccessibleInterface* headingFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLabel") || !object || !object->property(headingProperty).toBool()) return nullptr;
    return new HeadingInterface(static_cast<QLabel*>(object));
}

} // namespace

void markAsHeading(QLabel* label) {
    label->setProperty(headingProperty, true);
    useOwnInterface<HeadingInterface>(label, headingFactory);
}

bool isHeading(const QLabel* label) {
    return label->property(headingProperty).toBool();
}

} // namespace Orza
