#pragma once

#include <string>
#include <vector>

namespace pricing {

inline constexpr const char* CategoriesFileName = "Categories.dat";

// data folder + "/Categories.dat"
std::string categoriesPath(const std::string& dataFolder);

// Every item of the category file, in file order. A name written with a comma reads back as two
// categories, and surrounding blanks are lost, as the item reader reads them. No file gives an empty
// list (no message).
std::vector<std::string> readCategories(const std::string& dataFolder);

// Save: appends one category as a new line (the file is created when missing). An empty name adds
// nothing and returns false; a write failure returns false.
bool appendCategory(const std::string& dataFolder, const std::string& name);

// Delete: the categories not selected, in order (selected[i] for categories[i]; missing flags count as
// not selected), which the caller shows again and which replace the file.
std::vector<std::string> remainingCategories(const std::vector<std::string>& categories,
                                             const std::vector<bool>& selected);

// Replaces the file with one line per category. Returns false when the file could not be written.
bool rewriteCategories(const std::string& dataFolder, const std::vector<std::string>& categories);

} // namespace pricing
