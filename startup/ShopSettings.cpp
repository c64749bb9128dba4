#include "startup/ShopSettings.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace startup {

std::optional<QString> shopSetting(const QString& valueName)
{
    const QSettings settings(QSettings::SystemScope, kSettingsOrganisation, kSettingsApplication);
    if (settings.status() != QSettings::NoError || !settings.contains(valueName))
        return std::nullopt;
    const QVariant stored = settings.value(valueName);
    // A settings file splits an unquoted text at its commas; the value the shop typed is the whole text.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QLatin1Char(','));
    if (!stored.canConvert<QString>())
        return std::nullopt;
    return stored.toString();
}

std::string shopCompanyName()
{
    return shopSetting(QStringLiteral("Company")).value_or(QString()).toStdString();
}

} // namespace startup
