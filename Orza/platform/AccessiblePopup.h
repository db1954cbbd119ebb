#pragma once

class QWidget;

namespace Orza {

/**
 * Lets assistive technology reach a popup (a Qt::Popup window) as a window of the application. Qt leaves
 * popups out of the application's windows and reports the focus in the window beneath, so a reader could
 * neither find the popup nor follow the focus into it. Once this is called the application lists the popup
 * while it is shown, as a window whose focus child is the popup's focus widget; showing it activates that
 * window and reports the focus in it, hiding it deactivates the window. The window it opens over reads as not
 * active meanwhile, so that one window is active.
 */
void exposePopupAsWindow(QWidget* popup);

} // namespace Orza
