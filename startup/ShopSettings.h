#pragma once

#include <optional>
#include <string>

#include <QString>

namespace startup {

// The settings the shop's management system leaves for its companion programs, under organisation
// "Velmora", application "Orvelle" (system scope). On Windows that is the machine's registry key
// "Software\Velmora\Orvelle"; elsewhere the system-wide settings file of the same names (tests point
// QSettings' system path at a temporary folder).
inline const QString kSettingsOrganisation = QStringLiteral("Velmora");
inline const QString kSettingsApplication = QStringLiteral("Orvelle");

// One text value of those settings; nothing when it is not there or is no text.
std::optional<QString> shopSetting(const QString& valueName);

// The shop's name ("Company"); empty when the settings name none.
std::string shopCompanyName();

} // namespace startup
