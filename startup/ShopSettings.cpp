#include "startup/ShopSettings.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace startup {

std::string shopCompanyName()
{
    const QSettings settings(QSettings::SystemScope, QStringLiteral("Velmora"), QStringLiteral("Orvelle"));
    if (settings.status() != QSettings::NoError || !settings.contains(QStringLiteral("Company")))
        return {};
    const QVariant stored = settings.value(QStringLiteral("Company"));
    // A settings file splits an unquoted text at its commas; the name the shop typed is the whole text.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QLatin1Char(',')).toStdString();
    return stored.canConvert<QString>() ? stored.toString().toStdString() : std::string();
}

} // namespace startup
