#include "shell/modRegistry.h"

#include <QDir>

#include "startup/ShopSettings.h"

namespace shell {

bool GetKeyValue(const QString& valueName, QString& value)
{
    const std::optional<QString> stored = startup::shopSetting(valueName);
    value = stored.value_or(QString());
    return stored.has_value();
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
