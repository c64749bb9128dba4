#include "shell/modRegistry.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "ui/MessageBox.h"

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

void ReadSettings(QString& dataFolder, QString& company)
{
    QString folder;
    // An empty folder value names no folder at all (listing "" would look at the current folder).
    if (!GetKeyValue(QStringLiteral("NewDataDir"), folder) || folder.isEmpty()) {
        ui::showMessage(kDataNotAvailable);
        return;
    }
    const QDir dir(folder);
    if (dir.exists() && !dir.entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty())
        dataFolder = folder;

    QString name;
    if (GetKeyValue(QStringLiteral("Company"), name))
        company = name;
    else
        ui::showMessage(kCustomerNotAvailable);
}

} // namespace shell
