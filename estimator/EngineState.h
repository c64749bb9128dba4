#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "estimator/Summary.h"
#include "platform/FixedText.h"

namespace estimator {

// One bindery report row: an operation's row or a quantity's totals record.
struct BinderyReportRow
{
    platform::FixedText<25> description;
    std::int16_t setups = 0;
    std::int16_t sheetSizeCode = 0;
    std::int16_t runs = 0;
    std::int16_t percentOfRun = 0;
    std::int16_t difficulty = 0;
    double setupMinutes = 0;
    double runMinutes = 0;
    double totalMinutes = 0;
    platform::FixedText<10> setupTimeText;
    platform::FixedText<10> runTimeText;
    platform::FixedText<10> totalTimeText;
    std::int32_t waste = 0;
    double spoilagePercent = 0;
    double averageSpoilagePercent = 0;
    double cost = 0;
    double retail = 0;
};

// Rows by quantity slot (1 to 4) and operation number (1 to n); index 0 of each is unused so the
// numbers read as the shop's estimating rules count them.
using BinderyRowTable = std::array<std::vector<BinderyReportRow>, 5>;
using BinderyTotalsTable = std::array<BinderyReportRow, 5>;

// One camera or scan selection line of the pre-press estimate.
struct PrePressLine
{
    double quantity = 0;
    platform::FixedText<15> typeName;
    platform::FixedText<15> sizeName;
    double lineCost = 0;
    double lineMinutes = 0;
    double lineRetail = 0;
};

// What the old engine kept once per program run and shared between all its estimator objects: the
// per-quantity summary, the bindery rows and totals, the pre-press line tables and the report database
// check. It outlives the estimators of a pricing run; tests reset it to start a fresh "process".
struct ProcessState
{
    std::array<SummaryRecord, 5> summary; // slots 1 to 4
    BinderyRowTable binderyRows;
    BinderyTotalsTable binderyTotals;
    std::vector<PrePressLine> cameraLines; // first line at index 0
    std::vector<PrePressLine> scanLines;
    bool reportDatabaseChecked = false;
    std::string reportDatabasePath; // worked out on the first check
    std::string dataFile;           // copies of the last DataFile and QuoteOrJob set on any estimator
    std::string quoteOrJob;

    void clearSummary() { summary = {}; }
};

ProcessState& processState();
void resetProcessState();

// The folder the report work database "VMestrpt.mdb" lives in (the program folder). Set by the front
// ends at start-up; the current folder until then.
void setProgramFolder(const std::string& folder);
const std::string& programFolder();

// How the engine tells the user something (it has no windows): the front ends install a handler that
// shows a message box; the default writes "title: text" to stderr.
using MessageHandler = std::function<void(const std::string& text, const std::string& title)>;
void setMessageHandler(MessageHandler handler);
void showMessage(const std::string& text, const std::string& title);

} // namespace estimator
