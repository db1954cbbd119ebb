#include "Orza/settings/WindowState.h"

#include <QFileInfo>
#include <QSettings>

namespace Orza {

namespace {

QString canonicalPath(const QString& filePath) {
    if (filePath.isEmpty()) return {};
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(filePath).absoluteFilePath() : canonical;
}

} // namespace

WindowState::WindowState(const QString& filePath, QObject* parent)
    : QObject(parent), m_filePath(canonicalPath(filePath)) {
    if (m_filePath.isEmpty()) return;
    QSettings settings;
    settings.beginGroup(groupName());
    m_sidebarSelection = settings.value(QLatin1String(sidebarSelectionKey), QString()).toString();
    m_showChemistry = settings.value(QLatin1String(showChemistryKey), true).toBool();
}

void WindowState::setSidebarSelection(const QString& value) {
    m_sidebarSelection = value;
    write(sidebarSelectionKey, value);
}

void WindowState::setShowChemistry(bool value) {
    if (m_showChemistry == value) return;
    m_showChemistry = value;
    write(showChemistryKey, value);
    emit showChemistryChanged();
}

void WindowState::setFilePath(const QString& filePath) {
    m_filePath = canonicalPath(filePath);
    write(sidebarSelectionKey, m_sidebarSelection);
    write(showChemistryKey, m_showChemistry);
}

QString WindowState::groupName() const {
    // Paths hold slashes, which settings files read as nested groups; encode them away.
    return QStringLiteral("windows/") + QString::fromLatin1(m_filePath.toUtf8().toBase64(
                                            QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

void WindowState::write(const char* key, const QVariant& value) const {
    if (m_filePath.isEmpty()) return;
    QSettings settings;
    settings.beginGroup(groupName());
    settings.setValue(QLatin1String(key), value);
}

} // namespace Orza
