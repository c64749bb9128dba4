#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The most a small file of the program's own ("Categories.dat", "PriceData.dta", "vmOrvCk.dat") may hold to
// be read: far more than any of them reaches in a shop's lifetime.
inline constexpr std::size_t kSmallFileLimit = std::size_t{1} << 20;

// The whole of a small file of the program's own, read without ever waiting or growing without bound, whatever
// stands at the name. A missing file is fault 53 ("File not found"); anything that is not an ordinary file of at
// most kSmallFileLimit bytes (a folder, a FIFO, a device, a file too large, a system file whose size is not
// what it holds) is fault 75, whose text names the file and says why it was not read.
std::string readSmallFile(const std::string& path);

// The same, with none for a missing file (no file yet is the normal start for most of them).
std::optional<std::string> readSmallFileIfThere(const std::string& path);

} // namespace platform
