#pragma once

#include <functional>
#include <string>

#include "platform/Fault.h"

namespace testsupport {

// The old runtime's error number of the fault an action raises (0 when it raises none); with `text`, the
// fault's text too. Lets a table of cases say "this input is overflow (6)" in one column.
inline int faultNumber(const std::function<void()>& action, std::string* text = nullptr)
{
    try {
        action();
    } catch (const platform::Fault& fault) {
        if (text)
            *text = fault.what();
        return fault.number();
    }
    return 0;
}

} // namespace testsupport
