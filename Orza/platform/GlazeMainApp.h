#pragma once

#include "Orza/document/GlazeDocument.h"

#include <QSize>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QApplication;
class QWidget;

namespace Orza {

/**
 * The application: its name, the size of a new book window and the pages it links to. It keeps no state of
 * its own beyond the one seam through which the help window, a part of its own, makes itself known.
 */
class GlazeMainApp final {
public:
    /// The bundle name the build gives the application, else "Orza".
    static QString appName();

    /// A new book window's size on a screen whose available area is `visibleFrame`.
    static QSize defaultWindowSize(std::optional<QSize> visibleFrame);
    /// The same for the primary screen.
    static QSize defaultWindowSize();

    static GlazeDocument makeNewDocument();

    static QUrl supportPage();
    static QUrl privacyPage();
    /// Shows the page in the user's web browser; when no browser can show it, says so over `window`.
    static void openPage(const QUrl& page, QWidget* window = nullptr);
    /// How pages are opened; tests put in one that reports no browser. Returns whether the page opened.
    static void setPageOpener(std::function<bool(const QUrl&)> open);

    /// The help window's opener, once that window exists; the Help menu offers it only then.
    static void setHelpWindowOpener(std::function<void()> open);
    static const std::function<void()>& helpWindowOpener();

    /// Names the application for the settings and the desktop, and gives it its icon.
    static void nameApplication(QApplication& application);
};

} // namespace Orza
