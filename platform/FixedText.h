#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// A fixed-length text, as the old records held them: assigned texts are cut at the width or padded with
// blanks to it.
std::string fixedText(std::string_view text, std::size_t width);

template <std::size_t Width>
class FixedText
{
public:
    FixedText() : m_text(Width, ' ') {}
    FixedText(std::string_view text) : m_text(fixedText(text, Width)) {}
    FixedText& operator=(std::string_view text)
    {
        m_text = fixedText(text, Width);
        return *this;
    }
    const std::string& str() const noexcept { return m_text; }
    static constexpr std::size_t width() noexcept { return Width; }
    bool operator==(const FixedText&) const = default;

private:
    std::string m_text;
};

} // namespace platform
