#pragma once

#include <QString>

#include "startup/ShopSettings.h"

namespace shell {

// The shop's settings (startup/ShopSettings.h) that start-up reads: the data folder ("NewDataDir", ending
// in a separator) and the shop's name ("Company").
using startup::kSettingsApplication;
using startup::kSettingsOrganisation;

inline const QString kDataNotAvailable = QStringLiteral("Orvelle Data Not Available At This Time");
inline const QString kCustomerNotAvailable = QStringLiteral("Orvelle Customer Name Not Available At This Time");

// Reads one text value of the shop's settings. True when the value is there and is text; otherwise false
// with an empty text.
bool GetKeyValue(const QString& valueName, QString& value);

// What the shop's settings hold.
struct ShopSettings
{
    bool namesDataFolder = false; // there is a "NewDataDir" value that is not empty
    QString dataFolder; // "NewDataDir" when that folder exists and holds at least one file, else empty
    bool namesCompany = false; // there is a "Company" value
    QString company;
};

// Reads "NewDataDir" and "Company". Start-up decides what the user is told: the settings matter only when
// the marker file names no data folder.
ShopSettings ReadSettings();

} // namespace shell
