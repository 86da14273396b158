#include "app/settings/AppSettings.h"

#include <QSettings>

namespace {
const QString kCfgKey = QStringLiteral("CfgFile");
const QString kRecentKey = QStringLiteral("RecentFiles");
const QString kCrsKey = QStringLiteral("GisCoordinateSystem");
}  // namespace

void AppSettings::ReadCfgFile() {
    m_cfgFilePath = QSettings(kOrganisation, kApplication).value(kCfgKey).toString().toStdString();
}

void AppSettings::WriteCfgFile() const {
    QSettings settings(kOrganisation, kApplication);
    settings.setValue(kCfgKey, QString::fromStdString(m_cfgFilePath));
    settings.sync();
}

QStringList AppSettings::RecentFiles() const {
    // A hand-edited list may be of any length; only its head is ever shown or kept.
    return QSettings(kOrganisation, kApplication)
        .value(kRecentKey)
        .toStringList()
        .mid(0, kRecentFiles);
}

void AppSettings::AddRecentFile(const QString& path) {
    QStringList recent = RecentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentFiles) recent.removeLast();
    QSettings(kOrganisation, kApplication).setValue(kRecentKey, recent);
}

bool AppSettings::RemoveRecentFile(const QString& path) {
    QStringList recent = RecentFiles();
    if (recent.removeAll(path) == 0) return false;
    QSettings(kOrganisation, kApplication).setValue(kRecentKey, recent);
    return true;
}

QString AppSettings::CoordinateSystem() const {
    return QSettings(kOrganisation, kApplication).value(kCrsKey).toString();
}

void AppSettings::SetCoordinateSystem(const QString& crs) {
    QSettings(kOrganisation, kApplication).setValue(kCrsKey, crs);
}
