#pragma once

#include <string>
#include <vector>

#include "tests/cli/CapturedOutput.h"

namespace importtest {

// The Access sample files the import is tried on.
std::string jet3File(); // testV1997.mdb: Table1 with a value of each kind, Table2..Table4
std::string jet4File(); // fixedNumericTestV2000.mdb: test, a memo and Numeric (18, 0) columns

using Outcome = testsupport::CommandOutcome;

// Runs `pricebook import-mdb ARGS` in this process with its output caught.
Outcome importMdb(const std::vector<std::string>& args);

// The files in a folder (empty when it does not exist).
std::vector<std::string> filesIn(const std::string& folder);

// Rows of a CSV text as mdb-export writes it: fields in double quotes may hold commas, quotes doubled.
std::vector<std::vector<std::string>> parseCsv(const std::string& text);

// What `mdb-export` prints for a table, dates and times as yyyy-mm-dd hh:mm:ss; nullopt-like empty vector
// with `found` false when mdb-export is not on PATH.
struct Export
{
    bool found = false;
    std::vector<std::vector<std::string>> rows; // the header row first
};
Export mdbExport(const std::string& file, const std::string& table);

} // namespace importtest
