#include "Orza/platform/ExactWindowTitle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace Orza {

ExactWindowTitle::ExactWindowTitle(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
    showTitle();
}

bool ExactWindowTitle::eventFilter(QObject* watched, QEvent* event) {
    // The platform writes the title when the native window is made and whenever the title changes.
    const QEvent::Type type = event->type();
    if (watched == m_window && (type == QEvent::WindowTitleChange || type == QEvent::Show)) showTitle();
    return false;
}

void ExactWindowTitle::showTitle() {
    QWindow* native = m_window->windowHandle();
    if (!native) return;
    // The desktop platforms add the display name only to a title that does not end with it already, and every
    // title ends with an empty one: the name is set aside while the title goes out, and put back. The
    // application always sets its display name at start, so putting it back changes no other window.
    const QString displayName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QString());
    native->setTitle(native->title());
    QGuiApplication::setApplicationDisplayName(displayName);
}

} // namespace Orza
