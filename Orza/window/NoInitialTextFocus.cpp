#include "Orza/window/NoInitialTextFocus.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
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
        // A key or click before the second pass put the focus where the potter wants it: leave it there.
        qApp->installEventFilter(this);
        QPointer<NoInitialTextFocus> probe(this);
        QTimer::singleShot(0, this, [probe] {
            if (probe) probe->clearTextFocus();
        });
        QTimer::singleShot(secondPassMilliseconds, this, [probe] {
            if (!probe) return;
            qApp->removeEventFilter(probe);
            if (!probe->m_userActed) probe->clearTextFocus();
        });
    } else if (!m_userActed && isUserInput(event) && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->window() == m_window) {
        m_userActed = true;
        qApp->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}

bool NoInitialTextFocus::isUserInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
        return true;
    case QEvent::FocusIn:
        // A command that puts the focus in a field (Find Test) acts for the potter, whether it came by key,
        // menu or toolbar; in a slow start it may land after the first pass.
        return static_cast<const QFocusEvent*>(event)->reason() == Qt::ShortcutFocusReason;
    default:
        return false;
    }
}

void NoInitialTextFocus::clearTextFocus() {
    QWidget* focused = m_window->focusWidget();
    if (!focused) return;
    const bool isText = qobject_cast<QLineEdit*>(focused) || qobject_cast<QTextEdit*>(focused) ||
                        qobject_cast<QPlainTextEdit*>(focused) || qobject_cast<QAbstractSpinBox*>(focused);
    if (isText) focused->clearFocus();
}

} // namespace Orza
