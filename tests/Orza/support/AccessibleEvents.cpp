#include "support/AccessibleEvents.h"

// Qt sends accessibility events only while its platform's accessibility is active, which a screen reader makes
// it; the platform of the tests has no reader, so the test switches it on through the few functions Qt's own
// accessibility tests use. Declared here as Qt exports them.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration* platform_integration;
};

namespace OrzaTest {

namespace {

void setReaderListening(bool listening) {
    if (!QGuiApplicationPrivate::platform_integration) return;
    if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platform_integration->accessibility())
        platform->setActive(listening);
}

QList<AccessibleEventRecord>& recorded() {
    static QList<AccessibleEventRecord> events;
    return events;
}

void record(QAccessibleEvent* event) {
    AccessibleEventRecord entry{event->type(), event->object(), event->child()};
    if (QAccessibleInterface* element = event->accessibleInterface()) {
        entry.name = element->text(QAccessible::Name);
        entry.value = element->text(QAccessible::Value);
        entry.role = element->role();
        entry.state = element->state();
    }
    if (event->type() == QAccessible::ValueChanged)
        entry.changedValue = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    recorded().append(entry);
}

} // namespace

AccessibleEvents::AccessibleEvents() {
    recorded().clear();
    QAccessible::installUpdateHandler(record);
    setReaderListening(true);
}

AccessibleEvents::~AccessibleEvents() {
    setReaderListening(false);
    QAccessible::installUpdateHandler(nullptr);
    recorded().clear();
}

const QList<AccessibleEventRecord>& AccessibleEvents::all() const {
    return recorded();
}

QList<AccessibleEventRecord> AccessibleEvents::of(QAccessible::Event type) const {
    QList<AccessibleEventRecord> found;
    for (const AccessibleEventRecord& event : recorded())
        if (event.type == type) found << event;
    return found;
}

QList<AccessibleEventRecord> AccessibleEvents::named(QAccessible::Event type, const QString& name) const {
    QList<AccessibleEventRecord> found;
    for (const AccessibleEventRecord& event : of(type))
        if (event.name == name) found << event;
    return found;
}

void AccessibleEvents::clear() {
    recorded().clear();
}

} // namespace OrzaTest
