#include "Orza/widgets/SegmentedPicker.h"

#include "Orza/platform/AccessibleOwnInterface.h"
#include "Orza/platform/FocusRing.h"
#include "Orza/widgets/AccessibleOneElement.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QButtonGroup>

namespace Orza {

namespace {

constexpr const char* segmentProperty = "orzaSegment";

/// A segment read as the radio button it acts as.
class SegmentInterface final : public QAccessibleWidget {
public:
    explicit SegmentInterface(QAbstractButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QString text(QAccessible::Text kind) const override {
        const QString own = QAccessibleWidget::text(kind);
        if (kind != QAccessible::Name || !own.isEmpty()) return own;
        return QString(button()->text()).remove(QLatin1Char('&'));
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* segmentFactory(const QString&, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    return button && button->property(segmentProperty).toBool() ? new SegmentInterface(button) : nullptr;
}

/// Only the chosen segment is reached by Tab, as the buttons of a group do for the one last focused.
void followChoice(QButtonGroup* segments) {
    for (QAbstractButton* button : segments->buttons()) {
        const Qt::FocusPolicy policy = button->focusPolicy();
        button->setFocusPolicy(button->isChecked() ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                   : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

} // namespace

void makeSegmentedPicker(QWidget* row, QButtonGroup* segments) {
    giveAccessibleRole(row, QAccessible::Grouping);
    for (QAbstractButton* button : segments->buttons()) {
        // The arrows reach the segments Tab skips, and choose them, as they do among radio buttons.
        button->setAutoExclusive(true);
        button->setProperty(segmentProperty, true);
        useOwnInterface<SegmentInterface>(button, segmentFactory);
        // A chosen segment's fill hides the style's own focus mark.
        FocusRing::attach(button);
    }
    followChoice(segments);
    QObject::connect(segments, &QButtonGroup::buttonToggled, row, [segments](QAbstractButton*, bool checked) {
        if (checked) followChoice(segments);
    });
}

} // namespace Orza
