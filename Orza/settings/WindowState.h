#pragma once

#include <QObject>
#include <QString>

namespace Orza {

/**
 * The state a book window keeps for itself: the sidebar selection ("sidebarSelection") and whether the
 * recipe pane shows its chemistry ("showChemistry"). A window of a saved book keeps it under the file's
 * path, so reopening the book restores it; an untitled window holds it in memory until it is saved.
 */
class WindowState final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* sidebarSelectionKey = "sidebarSelection";
    static constexpr const char* showChemistryKey = "showChemistry";

    explicit WindowState(const QString& filePath = {}, QObject* parent = nullptr);

    const QString& sidebarSelection() const { return m_sidebarSelection; }
    /// Stored on every call, equal or not: the selection is saved whenever it is set.
    void setSidebarSelection(const QString& value);

    bool showChemistry() const { return m_showChemistry; }
    void setShowChemistry(bool value);

    /// The window's book got a (new) file: keep the current values under that path from now on.
    void setFilePath(const QString& filePath);

signals:
    void showChemistryChanged();

private:
    QString groupName() const;
    void write(const char* key, const QVariant& value) const;

    QString m_filePath;
    QString m_sidebarSelection;
    bool m_showChemistry = true;
};

} // namespace Orza
