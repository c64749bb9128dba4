#pragma once

#include <string>

namespace startup {

// The shop's name ("Company") from the settings the shop's management system leaves for its companion
// programs (organisation "Velmora", application "Orvelle", system scope); empty when they name none.
std::string shopCompanyName();

} // namespace startup
