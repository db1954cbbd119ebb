#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/platform/MessageBox.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

// Shared set-up of the application's test suites.
namespace OrzaTest {

/**
 * Settings written to a fresh folder for each test, and alerts collected instead of shown. Make one in
 * a suite's init(); nothing a test stores reaches the user's settings or the next test.
 */
class IsolatedEnvironment {
public:
    IsolatedEnvironment() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("OrzaTest"));
        QCoreApplication::setApplicationName(QStringLiteral("OrzaTest"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        Orza::MessageBox::setRecordingAlerts(true);
    }
    ~IsolatedEnvironment() { Orza::MessageBox::setRecordingAlerts(false); }

    /// A folder for the test's book files.
    QString filePath(const QString& name) const { return m_files.filePath(name); }

private:
    QTemporaryDir m_settings;
    QTemporaryDir m_files;
};

inline GlazeCore::Recipe recipe(std::string name, std::string cone = "6") {
    GlazeCore::RecipeLine line{GlazeCore::Uuid::random(), "silica", 20, false};
    return {GlazeCore::Uuid::random(), std::move(name), std::move(cone), {line}, ""};
}

inline GlazeCore::GlazeBook bookWithRecipes(const std::vector<std::string>& names) {
    GlazeCore::GlazeBook book;
    for (const auto& name : names)
        book.recipes.push_back(recipe(name));
    return book;
}

inline std::vector<std::string> recipeNames(const GlazeCore::GlazeBook& book) {
    std::vector<std::string> names;
    for (const auto& r : book.recipes)
        names.push_back(r.name);
    return names;
}

} // namespace OrzaTest
