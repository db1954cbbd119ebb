#pragma once

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

// What the accessibility bus would carry, recorded in a test.
namespace OrzaTest {

/// One event as it went out: what it was about, read at the moment it was sent.
struct AccessibleEventRecord {
    QAccessible::Event type;
    QPointer<QObject> object;
    int child = -1;
    QString name;
    QString value;
    QAccessible::Role role = QAccessible::NoRole;
    QAccessible::State state;
    /// The number a value-change event carries.
    QVariant changedValue;
};

/**
 * Records every accessibility event while it lives, as a reader listening on the bus hears them: the
 * platform's accessibility is switched on, as a reader switches it on, so that every control sends what it
 * sends to a reader.
 */
class AccessibleEvents {
public:
    AccessibleEvents();
    ~AccessibleEvents();
    AccessibleEvents(const AccessibleEvents&) = delete;
    AccessibleEvents& operator=(const AccessibleEvents&) = delete;

    const QList<AccessibleEventRecord>& all() const;
    QList<AccessibleEventRecord> of(QAccessible::Event type) const;
    /// The events of `type` whose element is named `name`.
    QList<AccessibleEventRecord> named(QAccessible::Event type, const QString& name) const;
    void clear();
};

} // namespace OrzaTest
