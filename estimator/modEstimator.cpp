#include "estimator/modEstimator.h"

#include "platform/Conversions.h"
#include "platform/Format.h"
#include "platform/Statement.h"

namespace estimator {

namespace {

std::string hoursAndMinutes(std::int16_t hours, std::int16_t minutes)
{
    return platform::format(hours, "000") + ":" + platform::format(minutes, "00");
}

} // namespace

std::string ConvertMinutes(double minutes)
{
    const double hoursExact = minutes / 60;
    const std::int16_t hours = platform::toInt16(platform::intFloor(hoursExact));
    const std::int16_t rest = platform::toInt16((hoursExact - hours) * 60);
    return hoursAndMinutes(hours, rest);
}

std::string ConvertHours(double hours)
{
    // The summaries must always get a text: a duration too long for the 16-bit hours leaves hours and
    // minutes at 0 instead of stopping the estimate.
    std::int16_t whole = 0;
    std::int16_t minutes = 0;
    platform::resumeNext([&] { whole = platform::toInt16(platform::intFloor(hours)); });
    platform::resumeNext([&] { minutes = platform::toInt16((hours - whole) * 60); });
    std::string text;
    platform::resumeNext([&] { text = hoursAndMinutes(whole, minutes); });
    return text;
}

std::string Quotes(std::string_view text, std::int32_t selector)
{
    const char quote = selector != 0 ? '\'' : '"';
    std::string quoted(1, quote);
    for (const char c : text) {
        quoted += c;
        if (c == quote)
            quoted += quote;
    }
    quoted += quote;
    return quoted;
}

} // namespace estimator
