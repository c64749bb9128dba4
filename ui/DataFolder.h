#pragma once

#include <string>
#include <string_view>

namespace ui {

// Where the program keeps its own files and where the shop's data folder is.
//
// The program folder holds the marker file "vmOrvCk.dat", whose first item names the data folder (the
// folder of the shop's "vmdata.mdb", "Categories.dat" and "PriceData.dta"), and the report work database.
// Start-up sets it once; the windows read it.
void setProgramFolder(const std::string& folder);
const std::string& programFolder();

inline constexpr std::string_view kMarkerFileName = "vmOrvCk.dat";

// The marker file of the program folder. Copies of the folder made on a system that ignores letter case
// may hold it as "VMORVCK.DAT" or "vmorvck.dat"; an existing file of any case is the marker file, so the
// shop's setting is found again. Without one, the path of a new "vmOrvCk.dat".
std::string markerFilePath();

// The first item of the marker file (up to a comma or the end of the first line; a folder written in quotes
// keeps its commas). A missing or unreadable file is a platform::Fault; an empty file gives an empty text.
std::string readMarkerFile();

// Replaces the marker file with one line holding the folder text, in quotes where it holds a comma, a quote
// or surrounding blanks, so it reads back whole. A platform::Fault when it cannot be written.
void writeMarkerFile(const std::string& folder);

// The program-wide data folder text set by start-up; the category editor works in it.
void setDataFolder(const std::string& folder);
const std::string& dataFolder();

// A file of a data folder: the folder text, the platform's separator and the file name. The folder text
// carries no trailing separator, as the marker file holds it.
std::string dataFilePath(const std::string& folder, std::string_view fileName);

} // namespace ui
