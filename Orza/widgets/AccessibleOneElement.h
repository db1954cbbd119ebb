#pragma once

#include <QAccessible>

class QWidget;

namespace Orza {

/// Reads a widget as one element in `role`, by its own accessible name and description, with its children left
/// out: a row of labels that says in its name what its labels show would otherwise be read twice, once as the
/// row and once label by label.
void readAsOneElement(QWidget* widget, QAccessible::Role role = QAccessible::StaticText);

/// Reads a widget in `role` and keeps its children: a plain widget made a window reads as a window.
void giveAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace Orza
