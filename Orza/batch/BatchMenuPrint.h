#pragma once

#include "GlazeCore/book/BookTypes.h"

class QWidget;

namespace Orza {

class BookLibrary;

/**
 * File ▸ Print Batch Sheet… without the sheet: the recipe's printed page at the stored batch weight and
 * step, through the print panel over `window`. Rows with an amount but no material bring the alert
 * "The batch sheet cannot be printed" and nothing prints; a recipe with nothing to list, or a printer that
 * cannot be painted on, sounds the system beep.
 */
void printBatchSheetFromMenu(QWidget* window, const GlazeCore::Recipe& recipe, const BookLibrary& library);

} // namespace Orza
