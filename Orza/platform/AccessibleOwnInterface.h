#pragma once

#include <QAccessible>
#include <QObject>

namespace Orza {

/**
 * Hands `object` to an accessibility factory of our own: the factory, installed once, is asked first for
 * every object; `marked` says whether it makes an interface of type `Ours` for this one. An object may have
 * made Qt's own interface already (its first accessibility event does, with or without an assistive tool),
 * so that one is dropped and the next query reaches the factory.
 */
template <class Ours> void useOwnInterface(QObject* object, QAccessible::InterfaceFactory factory) {
    static const bool installed = (QAccessible::installFactory(factory), true);
    (void)installed;
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object);
    if (made && !dynamic_cast<Ours*>(made)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace Orza
