#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace data {

// The position of a column by name, matched without regard to case; a name written "TABLE.COLUMN"
// also finds COLUMN. An unknown name is fault 3265 "Item not found in this collection.".
std::size_t findField(const std::vector<std::string>& names, std::string_view name);

// Whether a column of that name is there (no fault).
bool hasField(const std::vector<std::string>& names, std::string_view name, std::size_t& position);

[[noreturn]] void fieldNotFound(std::string_view name);

} // namespace data
