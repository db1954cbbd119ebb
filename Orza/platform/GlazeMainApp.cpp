#include "Orza/platform/GlazeMainApp.h"

#include "GlazeCore/layout/WindowLayout.h"
#include "Orza/platform/MessageBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QScreen>

namespace Orza {

namespace {

constexpr const char* bundleNameProperty = "orzaBundleName";
// Chosen when the application is built (ORZA_PAGES_HOST); only the paths are the program's own.
const QString pagesHost = QStringLiteral(ORZA_PAGES_HOST);

std::function<bool(const QUrl&)>& pageOpener() {
    static std::function<bool(const QUrl&)> open = [](const QUrl& page) { return QDesktopServices::openUrl(page); };
    return open;
}

std::function<void()>& helpOpener() {
    static std::function<void()> open;
    return open;
}

} // namespace

QString GlazeMainApp::appName() {
    const QVariant name = qApp ? qApp->property(bundleNameProperty) : QVariant();
    if (name.typeId() == QMetaType::QString && !name.toString().isEmpty()) return name.toString();
    return QStringLiteral("Orza");
}

QSize GlazeMainApp::defaultWindowSize(std::optional<QSize> visibleFrame) {
    std::optional<GlazeCore::LayoutSize> frame;
    if (visibleFrame) frame = GlazeCore::LayoutSize{double(visibleFrame->width()), double(visibleFrame->height())};
    const GlazeCore::LayoutSize size = GlazeCore::WindowLayout::defaultWindowSize(frame);
    return {int(size.width), int(size.height)};
}

QSize GlazeMainApp::defaultWindowSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return defaultWindowSize(screen ? std::optional(screen->availableGeometry().size()) : std::nullopt);
}

GlazeDocument GlazeMainApp::makeNewDocument() {
    return GlazeDocument::makeNew();
}

QUrl GlazeMainApp::supportPage() {
    static const QUrl page(pagesHost + QStringLiteral("/support/"));
    return page;
}

QUrl GlazeMainApp::privacyPage() {
    static const QUrl page(pagesHost + QStringLiteral("/privacy/"));
    return page;
}

void GlazeMainApp::openPage(const QUrl& page, QWidget* window) {
    if (pageOpener()(page)) return;
    MessageBox::alert(
        window, QCoreApplication::translate("GlazeMainApp", "The page could not be opened."),
        QCoreApplication::translate("GlazeMainApp", "No web browser could be started to show it. The page is at %1.")
            .arg(page.toString()));
}

void GlazeMainApp::setPageOpener(std::function<bool(const QUrl&)> open) {
    pageOpener() = std::move(open);
}

void GlazeMainApp::setHelpWindowOpener(std::function<void()> open) {
    helpOpener() = std::move(open);
}

const std::function<void()>& GlazeMainApp::helpWindowOpener() {
    return helpOpener();
}

void GlazeMainApp::nameApplication(QApplication& application) {
    application.setProperty(bundleNameProperty, QStringLiteral("Orza"));
    QApplication::setOrganizationName(QStringLiteral("Orza"));
    QApplication::setApplicationName(QStringLiteral("Orza"));
    QApplication::setApplicationDisplayName(appName());
    QApplication::setDesktopFileName(QStringLiteral("orza"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orza/icons/orza.svg")));
}

} // namespace Orza
