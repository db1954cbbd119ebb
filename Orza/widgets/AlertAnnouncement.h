#pragma once

class QWidget;

namespace Orza {

/**
 * Tells a screen reader the sentence of `alert`, a widget read as an alert named by it, without the focus
 * moving. The Linux bridge carries no alert event, but it does carry an alert that is shown, which readers
 * speak: an alert that came into view just now (`justShown`) told it already, one shown before is shown again.
 */
void announceAlert(QWidget* alert, bool justShown);

} // namespace Orza
