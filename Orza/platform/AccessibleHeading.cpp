#include "Orza/platform/AccessibleHeading.h"

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
    static const bool installed = (QAccessible::installFactory(headingFactory), true);
    (void)installed;
    label->setProperty(headingProperty, true);
    // A label makes its accessible interface as soon as it gets text; drop that one so the next query
    // reaches the factory.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(label);
    if (made && made->role() != QAccessible::Heading)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

bool isHeading(const QLabel* label) {
    return label->property(headingProperty).toBool();
}

} // namespace Orza
