#include "shell/modRegistry.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace shell {

bool GetKeyValue(const QString& valueName, QString& value)
{
    value.clear();
    const QSettings settings(QSettings::SystemScope, kSettingsOrganisation, kSettingsApplication);
    if (settings.status() != QSettings::NoError || !settings.contains(valueName))
        return false;
    const QVariant stored = settings.value(valueName);
    // A settings file splits an unquoted text at its commas; the value the shop typed is the whole text.
    if (stored.typeId() == QMetaType::QStringList) {
        value = stored.toStringList().join(QLatin1Char(','));
        return true;
    }
    if (!stored.canConvert<QString>())
        return false;
    value = stored.toString();
    return true;
}

ShopSettings ReadSettings()
{
    ShopSettings settings;
    QString folder;
    // An empty folder value names no folder at all (listing "" would look at the current folder).
    settings.namesDataFolder = GetKeyValue(QStringLiteral("NewDataDir"), folder) && !folder.isEmpty();
    const QDir dir(folder);
    if (settings.namesDataFolder && dir.exists() && !dir.entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty())
        settings.dataFolder = folder;
    settings.namesCompany = GetKeyValue(QStringLiteral("Company"), settings.company);
    return settings;
}

} // namespace shell
