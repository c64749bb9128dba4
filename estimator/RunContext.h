#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "data/Database.h"
#include "estimator/ReportRows.h"
#include "estimator/Summary.h"

namespace estimator {

// How the engine reaches its user, who is never the engine's own concern: a message (the front end shows
// a message box; without one, "title: text" goes to stderr), and a moment for pending window events after
// each ink, colour and bindery row (the window processes its events there; elsewhere nothing happens).
struct EngineHooks
{
    std::function<void(const std::string& text, const std::string& title)> message;
    std::function<void()> yield;

    void showMessage(const std::string& text, const std::string& title) const;
    void yieldEvents() const
    {
        if (yield)
            yield();
    }
};

// What the estimator objects of one pricing run share: the run's session of the shop database, the
// per-quantity summary, the bindery rows and totals, the pre-press line tables and the report database
// check, as the old engine shared them between all its objects of a program run. A run owns one and hands
// it to every estimator it makes, so a run's later quantities find what its earlier ones left, and two
// runs never see each other's.
struct RunContext
{
    std::string programFolder = "."; // holds the report work database "VMestrpt.mdb"
    EngineHooks hooks;
    // The run's session: every estimator of the run reads the shop database through it, inside the run's
    // snapshot. An estimator of a context without one (one made on its own, as the engine's tests make
    // them) opens the file its DataFile names.
    data::Database shop;

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

} // namespace estimator
