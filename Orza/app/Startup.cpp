#include "Orza/app/Startup.h"

#include "Orza/app/DocumentController.h"
#include "Orza/app/ReadablePalette.h"
#include "Orza/app/ReadableStyle.h"
#include "Orza/app/Translations.h"
#include "Orza/help/HelpWindow.h"
#include "Orza/platform/ContextMenuKey.h"
#include "Orza/platform/FocusInView.h"
#include "Orza/platform/GlazeMainApp.h"
#include "Orza/platform/SpokenWindowTitle.h"
#include "Orza/platform/WheelNeedsFocus.h"
#include "Orza/resources/Resources.h"

#include <QApplication>

namespace Orza::Startup {

void start(QApplication& application, const QStringList& files) {
    ensureResources();
    Translations::install();
    ReadablePalette::keep(application);
    ReadableStyle::install();
    WheelNeedsFocus::install();
    ContextMenuKey::install();
    FocusInView::install();
    SpokenWindowTitle::install();
    GlazeMainApp::nameApplication(application);
    GlazeMainApp::setHelpWindowOpener([] { HelpWindow::showHelp(); });
    DocumentController::instance().launch(files);
}

} // namespace Orza::Startup
