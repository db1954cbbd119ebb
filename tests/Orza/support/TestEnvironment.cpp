#include "support/TestEnvironment.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/app/AppMenus.h"
#include "Orza/app/DocumentController.h"
#include "Orza/app/Translations.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/ContextMenuKey.h"
#include "Orza/platform/FocusInView.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/platform/SpokenWindowTitle.h"
#include "Orza/platform/WheelNeedsFocus.h"
#include "Orza/settings/Settings.h"
#include "Orza/settings/WindowState.h"
#include "Orza/window/BookWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

namespace OrzaTest {

IsolatedEnvironment::IsolatedEnvironment() {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("OrzaTest"));
    QCoreApplication::setApplicationName(QStringLiteral("OrzaTest"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    Orza::MessageBox::setRecordingAlerts(true);
    Orza::Translations::install();
    Orza::WheelNeedsFocus::install();
    Orza::ContextMenuKey::install();
    Orza::FocusInView::install();
    Orza::SpokenWindowTitle::install();
}

IsolatedEnvironment::~IsolatedEnvironment() {
    Orza::MessageBox::setRecordingAlerts(false);
}

void IsolatedSuite::init() {
    m_env = std::make_unique<IsolatedEnvironment>();
    if (m_sampleShown) Orza::Settings::instance().set(Orza::Settings::Key::firstLaunchSampleShown, true);
    setUp();
}

void IsolatedSuite::cleanup() {
    tearDown();
    m_env.reset();
}

GlazeCore::Recipe recipe(std::string name, std::string cone) {
    GlazeCore::RecipeLine line{GlazeCore::Uuid::random(), "silica", 20, false};
    return {GlazeCore::Uuid::random(), std::move(name), std::move(cone), {line}, ""};
}

GlazeCore::GlazeBook bookWithRecipes(const std::vector<std::string>& names) {
    GlazeCore::GlazeBook book;
    for (const auto& name : names)
        book.recipes.push_back(recipe(name));
    return book;
}

std::vector<std::string> recipeNames(const GlazeCore::GlazeBook& book) {
    std::vector<std::string> names;
    for (const auto& r : book.recipes)
        names.push_back(r.name);
    return names;
}

GlazeCore::TestTile tile(const GlazeCore::Uuid& recipeID, std::string cone, std::string code) {
    GlazeCore::TestTile made;
    made.id = GlazeCore::Uuid::random();
    made.recipeID = recipeID;
    made.cone = std::move(cone);
    made.atmosphere = "Oxidation";
    made.code = std::move(code);
    return made;
}

void saveBook(const GlazeCore::GlazeBook& book, const QString& path) {
    Orza::BookDocument(Orza::GlazeDocument::make(book, false)).save(path);
}

std::unique_ptr<Orza::BookWindow> makeWindow(Orza::GlazeDocument document) {
    return std::make_unique<Orza::BookWindow>(std::make_unique<Orza::BookDocument>(std::move(document)));
}

std::unique_ptr<Orza::BookWindow> makeWindow(GlazeCore::GlazeBook book) {
    return makeWindow(Orza::GlazeDocument::make(std::move(book), false));
}

std::unique_ptr<Orza::BookWindow> makeWindowWithMenus(GlazeCore::GlazeBook book) {
    auto window = makeWindow(std::move(book));
    Orza::installAppMenus(*window, Orza::DocumentController::instance());
    return window;
}

void standInRecipePane(Orza::BookWindow& window, QStringList& calls) {
    const auto id = window.selectedRecipeID();
    const Orza::BookDocument& document = *window.document();
    const QString name = id && document.recipe(*id) ? QString::fromStdString(document.recipe(*id)->name) : QString();
    Orza::WindowModel* model = window.model();
    Orza::WindowState* state = window.state();
    QStringList* log = &calls;
    Orza::ActionRegistry& actions = *window.actions();
    QWidget* pane = window.detail();
    const auto on = [&](Orza::Command command, std::function<void()> run) { actions.setHandler(pane, command, {run}); };
    on(Orza::Command::addMaterial, [log, name] { *log << QStringLiteral("add material to ") + name; });
    on(Orza::Command::lineBlend, [model] { model->setBlendMode(Orza::BlendMode::line); });
    on(Orza::Command::triaxialBlend, [model] { model->setBlendMode(Orza::BlendMode::triaxial); });
    on(Orza::Command::gridBlend, [model] { model->setBlendMode(Orza::BlendMode::grid); });
    on(Orza::Command::batchSheet, [model] { model->setShowBatch(true); });
    on(Orza::Command::printBatchSheet, [log, name] { *log << QStringLiteral("print ") + name; });
    on(Orza::Command::oxideNudge, [model] { model->setNudge(Orza::NudgeRequest{}); });
    on(Orza::Command::replaceMaterial, [model] { model->setReplace(Orza::ReplaceRequest{}); });
    actions.setHandler(pane, Orza::Command::toggleChemistry,
                       {[state] { state->setShowChemistry(!state->showChemistry()); },
                        {},
                        [state] { return state->showChemistry(); }});
}

bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void wheel(QWidget* target, int delta) {
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    // Only a wheel from the system travels up to the parents; one sent by the program stays where it was sent
    // (and sendEvent() would make it such a one).
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(target, &event);
}

QRect shownPart(const QWidget* widget, QRect rect) {
    for (; !widget->isWindow(); widget = widget->parentWidget()) {
        rect = rect.intersected(widget->rect()).translated(widget->pos());
        if (rect.isEmpty()) return {};
    }
    return rect.intersected(widget->rect());
}

namespace {

void collectSpoken(QAccessibleInterface* element, QStringList& spoken) {
    if (!element || element->state().invisible) return;
    const QString name = element->text(QAccessible::Name);
    const QString value = element->text(QAccessible::Value);
    if (!name.isEmpty() || !value.isEmpty())
        spoken << (value.isEmpty() || value == name ? name : name + QStringLiteral(": ") + value);
    for (int i = 0; i < element->childCount(); ++i)
        collectSpoken(element->child(i), spoken);
}

} // namespace

QStringList spokenTexts(QWidget* root) {
    QStringList spoken;
    collectSpoken(QAccessible::queryAccessibleInterface(root), spoken);
    return spoken;
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void closeEveryWindow() {
    for (Orza::BookWindow* window : Orza::DocumentController::instance().windows()) {
        window->approveClose();
        window->close();
    }
    settle();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

} // namespace OrzaTest
