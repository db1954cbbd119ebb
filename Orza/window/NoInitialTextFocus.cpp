#include "Orza/window/NoInitialTextFocus.h"

#include <QAbstractSpinBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

namespace Orza {

NoInitialTextFocus::NoInitialTextFocus(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

bool NoInitialTextFocus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show && !m_done) {
        m_done = true;
        m_window->removeEventFilter(this);
        QPointer<NoInitialTextFocus> probe(this);
        QTimer::singleShot(0, this, [probe] {
            if (probe) probe->clearTextFocus();
        });
        QTimer::singleShot(secondPassMilliseconds, this, [probe] {
            if (probe) probe->clearTextFocus();
        });
    }
    return QObject::eventFilter(watched, event);
}

void NoInitialTextFocus::clearTextFocus() {
    QWidget* focused = m_window->focusWidget();
    if (!focused) return;
    const bool isText = qobject_cast<QLineEdit*>(focused) || qobject_cast<QTextEdit*>(focused) ||
                        qobject_cast<QPlainTextEdit*>(focused) || qobject_cast<QAbstractSpinBox*>(focused);
    if (isText) focused->clearFocus();
}

} // namespace Orza
