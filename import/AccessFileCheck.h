#pragma once

#include <string>

namespace access_import {

// Checks that a file is an Access database whose size fits its page size; the reason it cannot be read
// otherwise. Empty when it looks sound.
std::string accessFileProblem(const std::string& accessFile);

} // namespace access_import
