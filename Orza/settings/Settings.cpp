#include "Orza/settings/Settings.h"

#include <QSettings>

#include <array>
#include <cmath>

namespace Orza {

namespace {

struct Entry {
    Settings::Key key;
    const char* name;
    QVariant defaultValue;
};

const std::array<Entry, 10>& table() {
    static const std::array<Entry, 10> entries{{
        {Settings::Key::firstLaunchSampleShown, "firstLaunchSampleShown", false},
        {Settings::Key::includeAdditions, "includeAdditions", false},
        {Settings::Key::limitSetID, "limitSetID", QString()},
        {Settings::Key::labelSheetID, "labelSheetID", QStringLiteral("letter-30")},
        {Settings::Key::batchTotalGrams, "batchTotalGrams", 1000.0},
        {Settings::Key::batchPrecision, "batchPrecision", 0.1},
        {Settings::Key::showOpenPanelAtLaunch, "NSShowAppCentricOpenPanelInsteadOfUntitledFile", false},
        {Settings::Key::bookToolbar, "orza.book.toolbar",
         QStringLiteral("addRecipe,replaceMaterial,oxideNudge,findTest,blend,batchSheet,chemistry")},
        {Settings::Key::lastFolder, "lastFolder", QString()},
        {Settings::Key::bookToolbarShown, "orza.book.toolbarShown", true},
    }};
    return entries;
}

const Entry& entry(Settings::Key key) {
    return table()[static_cast<std::size_t>(key)];
}

} // namespace

Settings& Settings::instance() {
    static Settings* settings = new Settings; // lives for the process; QObjects cannot be static-destroyed safely
    return *settings;
}

QString Settings::name(Key key) {
    return QString::fromLatin1(entry(key).name);
}

QVariant Settings::defaultValue(Key key) {
    return entry(key).defaultValue;
}

QVariant Settings::value(Key key) const {
    return QSettings().value(name(key), defaultValue(key));
}

bool Settings::boolValue(Key key) const {
    return value(key).toBool();
}

QString Settings::stringValue(Key key) const {
    return value(key).toString();
}

double Settings::doubleValue(Key key) const {
    bool ok = false;
    const double number = value(key).toDouble(&ok);
    if (!ok || !std::isfinite(number)) return defaultValue(key).toDouble();
    return number;
}

void Settings::set(Key key, const QVariant& newValue) {
    // Stored values come back as text from the settings file, so compare in the default's type.
    const auto typed = [key](const QVariant& v) {
        QVariant converted = v;
        converted.convert(defaultValue(key).metaType());
        return converted;
    };
    QSettings settings;
    const bool stored = settings.contains(name(key));
    const QVariant before = typed(settings.value(name(key), defaultValue(key)));
    if (stored && before == typed(newValue)) return;
    settings.setValue(name(key), newValue);
    if (before != typed(newValue)) emit changed(key);
}

} // namespace Orza
