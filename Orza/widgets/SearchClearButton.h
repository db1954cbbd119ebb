#pragma once

class QLineEdit;

namespace Orza {

/// Gives a search field Qt's clear button, named "Clear the search" for the pointer's tooltip and for
/// assistive technology, which otherwise meet a button with no name.
void enableSearchClearButton(QLineEdit* field);

} // namespace Orza
