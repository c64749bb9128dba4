#include "estimator/Summary.h"

#include <cctype>

namespace estimator {

namespace {

// Field names for readers outside the engine (exports, tests): the member name in snake_case, so
// orderNumber reads order_number and prePressHours reads pre_press_hours.
std::string snakeCase(std::string_view memberName)
{
    std::string name;
    for (const char c : memberName) {
        if (std::isupper(static_cast<unsigned char>(c))) {
            name += '_';
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else {
            name += c;
        }
    }
    return name;
}

platform::Value fieldValue(double value)
{
    return platform::Value::fromDouble(value);
}

platform::Value fieldValue(std::int16_t value)
{
    return platform::Value::fromInteger(value);
}

platform::Value fieldValue(std::int32_t value)
{
    return platform::Value::fromInteger(value);
}

template <std::size_t Width>
platform::Value fieldValue(const platform::FixedText<Width>& value)
{
    return platform::Value::fromText(value.str());
}

} // namespace

void forEachSummaryField(const SummaryRecord& record,
                         const std::function<void(std::string_view name, const platform::Value& value)>& visit)
{
#define PRICEBOOK_VISIT_SUMMARY_FIELD(type, member) visit(snakeCase(#member), fieldValue(record.member));
    PRICEBOOK_SUMMARY_FIELDS(PRICEBOOK_VISIT_SUMMARY_FIELD)
#undef PRICEBOOK_VISIT_SUMMARY_FIELD
}

} // namespace estimator
