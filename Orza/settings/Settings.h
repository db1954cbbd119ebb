#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace Orza {

/**
 * The per-user settings, shared by every window. One table maps each key to its stored name and default;
 * nothing else in the application spells a settings name. Values are read at the point of use, so a
 * change made in one window reaches the others on their next read.
 */
class Settings final : public QObject {
    Q_OBJECT
public:
    enum class Key {
        firstLaunchSampleShown,
        includeAdditions,
        limitSetID,
        labelSheetID,
        batchTotalGrams,
        batchPrecision,
        /// Registered false so that launching opens an untitled book, not an open panel.
        showOpenPanelAtLaunch,
        /// The book window toolbar's items, in order, as comma-separated identifiers; shared by every window.
        bookToolbar,
        /// The folder of the book last opened or saved: where the open and save panels start.
        lastFolder,
        /// Whether book windows show their toolbar; shared by every window, like its items.
        bookToolbarShown,
    };
    Q_ENUM(Key)

    static Settings& instance();

    static QString name(Key key);
    static QVariant defaultValue(Key key);

    /// The stored value, or the default when nothing is stored.
    QVariant value(Key key) const;
    bool boolValue(Key key) const;
    QString stringValue(Key key) const;
    /// The stored number, or the default when it is missing or not a finite number.
    double doubleValue(Key key) const;

    /// Stores the value; does nothing, and signals nothing, when it equals the current one.
    void set(Key key, const QVariant& value);

signals:
    void changed(Orza::Settings::Key key);

private:
    Settings() = default;
};

} // namespace Orza
