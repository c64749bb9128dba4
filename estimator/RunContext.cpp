#include "estimator/RunContext.h"

#include <iostream>

namespace estimator {

void EngineHooks::showMessage(const std::string& text, const std::string& title) const
{
    if (message) {
        message(text, title);
        return;
    }
    std::cerr << title << ": " << text << std::endl;
}

} // namespace estimator
