#include "estimator/Sheets.h"

#include <string>

#include "data/Recordset.h"
#include "platform/Conversions.h"

namespace estimator {

double readDimension(std::string_view text, std::int16_t part, std::string_view separator)
{
    // A size is written "width X height"; the separator matches in either letter case.
    const std::string upperText = platform::upperCase(text);
    const std::size_t found = upperText.find(platform::upperCase(separator));

    if (found == std::string::npos) {
        // A single number stands for both sides of a square sheet.
        return platform::isNumeric(text) ? platform::val(text) : 0;
    }
    const std::size_t after = found + separator.size();
    if (found == 0)
        return part == 1 ? platform::val(text.substr(after)) : 0;
    if (part == 0)
        return platform::val(text.substr(0, found));
    if (after >= text.size())
        return 0;
    return platform::val(text.substr(after));
}

std::int32_t calcPressSheets(const data::Recordset& order, std::int32_t quantity)
{
    if (!order.isOpen() || order.recordCount() == 0)
        return 0;
    const double numberUpValue = order.field("PRESSNUMUPPRESSSHT").number();
    if (numberUpValue == 0)
        return 0;

    const std::int32_t signatures = platform::toInt32(order.field("PRESSSIGNATURES").number());
    const std::int32_t difference = platform::toInt32(order.field("PRESSDIFFFRMPRESSSHT").number());
    const std::int32_t numberUp = platform::toInt32(numberUpValue);

    const std::int32_t product = platform::multiply32(platform::multiply32(signatures, quantity), difference);
    return platform::toInt32(platform::divide(product, numberUp));
}

} // namespace estimator
