#include "data/FieldNames.h"

#include "platform/Fault.h"

namespace data {

namespace {

constexpr int ItemNotFound = 3265;

constexpr unsigned char upperAscii(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Field names match regardless of letter case, as the shop's old database engine matched them. Every
// field read of the estimate looks its name up, so this stays a plain loop over ASCII letters.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(static_cast<unsigned char>(a[i])) != upperAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

bool hasField(const std::vector<std::string>& names, std::string_view name, std::size_t& position)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameName(names[i], name)) {
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
