#include "data/FieldNames.h"

#include "data/JetErrors.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"

namespace data {

bool hasField(const std::vector<std::string>& names, std::string_view name, std::size_t& position)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        // Field names match regardless of letter case, as the shop's old database engine matched them.
        if (platform::equalsIgnoringCase(names[i], name)) {
            position = i;
            return true;
        }
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot + 1 < name.size())
        return hasField(names, name.substr(dot + 1), position);
    return false;
}

std::size_t findField(const std::vector<std::string>& names, std::string_view name)
{
    std::size_t position = 0;
    if (!hasField(names, name, position))
        fieldNotFound(name);
    return position;
}

void fieldNotFound(std::string_view name)
{
    throw platform::Fault(ItemNotFound, "Item not found in this collection: '" + std::string(name) + "'.");
}

} // namespace data
