#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Fault.h"

namespace pricing {

inline constexpr const char* CategoriesFileName = "Categories.dat";

// data folder + "/Categories.dat"
std::string categoriesPath(const std::string& dataFolder);

// Every item of the category file, in file order, as the item reader reads them (a name the old program
// wrote with a comma reads back as two categories). No file gives an empty list. So does a file that is there
// but cannot be read (a folder, a FIFO, one too large); `unreadable` then gets the fault naming it and why.
std::vector<std::string> readCategories(const std::string& dataFolder,
                                        std::optional<platform::Fault>* unreadable = nullptr);

// Save: appends one category as a new line (the file is created when missing), in quotes where it holds a
// comma, a quote or surrounding blanks, so it reads back whole. An empty name adds nothing and returns false;
// a file that cannot be read or written returns false, with the fault in `fault`.
bool appendCategory(const std::string& dataFolder, const std::string& name,
                    std::optional<platform::Fault>* fault = nullptr);

// Delete: the categories not selected, in order (selected[i] for categories[i]; missing flags count as
// not selected), which the caller shows again and which replace the file.
std::vector<std::string> remainingCategories(const std::vector<std::string>& categories,
                                             const std::vector<bool>& selected);

// Replaces the file with one line per category, written as Save writes it. Returns false, with the fault in
// `fault`, when the file could not be written, or is there but cannot be read (it is then left as it is).
bool rewriteCategories(const std::string& dataFolder, const std::vector<std::string>& categories,
                       std::optional<platform::Fault>* fault = nullptr);

} // namespace pricing
