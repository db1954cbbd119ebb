#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/document/GlazeDocument.h"

#include <QByteArray>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace Orza {
class BookWindow;
}

// Shared set-up of the application's test suites.
namespace OrzaTest {

/**
 * Settings written to a fresh folder, and alerts collected instead of shown, for as long as it lives:
 * nothing a test stores reaches the user's settings or the next test. The application's wheel and focus filters
 * are put in as at start-up.
 */
class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();

    /// A folder for the test's book files.
    QString filePath(const QString& name) const { return m_files.filePath(name); }

private:
    QTemporaryDir m_settings;
    QTemporaryDir m_files;
};

/**
 * A suite whose every test runs in its own IsolatedEnvironment. A suite adds its own steps by overriding
 * setUp() and tearDown() — never as slots, or Qt Test would run them as tests — and declares no init()
 * or cleanup() slots of its own, which would hide these.
 */
class IsolatedSuite : public QObject {
    Q_OBJECT
protected:
    /// `sampleShown`: the first launch's sample book counts as shown already.
    explicit IsolatedSuite(bool sampleShown = false) : m_sampleShown(sampleShown) {}

    /// A path in the test's own folder.
    QString filePath(const QString& name) const { return m_env->filePath(name); }

    /// Runs once the environment stands.
    virtual void setUp() {}
    /// Runs while the environment still stands.
    virtual void tearDown() {}

private slots:
    void init();
    void cleanup();

private:
    bool m_sampleShown;
    std::unique_ptr<IsolatedEnvironment> m_env;
};

/// For suites that open book windows: the sample counts as shown, so that no window brings it up unasked.
class WindowSuite : public IsolatedSuite {
    Q_OBJECT
protected:
    WindowSuite() : IsolatedSuite(true) {}
};

/// A recipe of 20 silica.
GlazeCore::Recipe recipe(std::string name, std::string cone = "6");
GlazeCore::GlazeBook bookWithRecipes(const std::vector<std::string>& names);
std::vector<std::string> recipeNames(const GlazeCore::GlazeBook& book);

/// An oxidation tile of the recipe; without a code unless given one.
GlazeCore::TestTile tile(const GlazeCore::Uuid& recipeID, std::string cone = "6", std::string code = {});

/// Writes the book to `path` through a document, as the application saves it.
void saveBook(const GlazeCore::GlazeBook& book, const QString& path);

std::unique_ptr<Orza::BookWindow> makeWindow(Orza::GlazeDocument document);
/// A window over a book that is not the sample.
std::unique_ptr<Orza::BookWindow> makeWindow(GlazeCore::GlazeBook book = {});
/// The same, with the application's menus as the controller installs them.
std::unique_ptr<Orza::BookWindow> makeWindowWithMenus(GlazeCore::GlazeBook book = {});

/**
 * Stands in for the recipe pane on the window's detail area: sets the handlers of the recipe's commands and
 * the chemistry switch as that pane does, for as long as the detail shown now lives. They set the window
 * model's sheet requests as the pane does, and record the others in `calls` ("add material to A").
 */
void standInRecipePane(Orza::BookWindow& window, QStringList& calls);

/// Shows the window and waits until it is active, so that keys reach it; false if it never was.
[[nodiscard]] bool showActive(QWidget& window);

/// One notch of the wheel over the middle of `target` (down for a negative `delta`), as the mouse sends it: a
/// wheel the widget leaves goes on to its parents.
void wheel(QWidget* target, int delta);

/// The part of `rect`, in `widget`'s coordinates, that its window shows: what every parent leaves of it, in the
/// window's coordinates.
QRect shownPart(const QWidget* widget, QRect rect);

/// What a screen reader reads in `root`, through its accessibility interfaces in their order: each shown
/// element's name, followed by ": " and its value when it has another. Invisible elements and their children
/// are skipped.
QStringList spokenTexts(QWidget* root);

/// Delivers the queued events, deferred deletes among them.
void settle();
/// Closes every book window the application's controller holds, unsaved changes dropped, and settles.
void closeEveryWindow();

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

} // namespace OrzaTest
