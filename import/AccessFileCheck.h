#pragma once

#include <string>

#include "platform/Outcome.h"

namespace access_import {

// Checks that a file is an Access database whose size fits its page size. Nothing when it looks sound;
// otherwise a fault whose text is the reason it cannot be read ("the file is truncated"), numbered as the
// old engine numbered a missing (3024), unreadable (3051) or unrecognised (3343) file, or a path that
// names no file (3044).
platform::Outcome accessFileProblem(const std::string& accessFile);

} // namespace access_import
