#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "data/Database.h"
#include "data/Recordset.h"
#include "estimator/EstimateResults.h"
#include "estimator/OrderKey.h"
#include "estimator/OrderVariables.h"
#include "estimator/PrePressInputs.h"
#include "estimator/RunContext.h"
#include "estimator/bindery/OperationFigures.h"

namespace estimator {

// The departments Estimate prices, by the numbers the rules call them with. Any other number prices
// nothing and only refreshes the quantity's summary.
enum class EstimateArea : std::int32_t
{
    Stock = 0,
    PrePress = 1,
    Bindery = 2,
    Press = 3,
};

namespace bindery {
class BinderyStatements;
struct DepartmentRun;
struct OrderFigures;
} // namespace bindery

namespace press {
struct PressInputs;
struct InkInputs;
struct JobTotalsInputs;
struct PressResults;
} // namespace press

// The estimating engine. One object prices one order part of the shop database: the caller sets
// DataFile and the order key, then calls Estimate once per department (stock, pre-press, bindery,
// press) and reads the results. It works in the run context it is given, which the
// estimators of one pricing run share and which must outlive them. The department estimates are private procedures of this
// class, each in its own file (stock, pre-press, vendor here; bindery/ and press/ below).
//
// Properties keep their old names: a getter and a setter of the same name, as the old object's
// read and write properties were.
class cEstimator
{
public:
    explicit cEstimator(RunContext& context);
    ~cEstimator();
    cEstimator(const cEstimator&) = delete;
    cEstimator& operator=(const cEstimator&) = delete;

    // Outside services of the order part at a quantity level (1 to 4): sets VendorCost and VendorRetail.
    double EstimateVendor(std::int16_t& level);

    std::int32_t PressSheetsToOrder() const noexcept { return m_results.PressSheetsToOrder; }

    void QuoteOrJob(const std::string& value);
    const std::string& QuoteOrJob() const noexcept { return m_key.quoteOrJob; }
    void PartNo(std::int16_t value) noexcept { m_key.partNo = value; }
    std::int16_t PartNo() const noexcept { return m_key.partNo; }
    void OrderNo(const std::string& value) { m_key.orderNo = value; }
    const std::string& OrderNo() const noexcept { return m_key.orderNo; }

#define PRICEBOOK_RESULT_GETTER(name) \
    double name() const noexcept { return m_results.name; }
    PRICEBOOK_ESTIMATE_RESULTS(PRICEBOOK_RESULT_GETTER)
#undef PRICEBOOK_RESULT_GETTER
    const EstimateResults& results() const noexcept { return m_results; }
    // The bindery estimate's own copies of the quantity's rows and totals.
    const BinderyRowTable& BinderyRows() const noexcept { return m_binderyRows; }
    const BinderyTotalsTable& BinderyTotals() const noexcept { return m_binderyTotals; }
    RunContext& context() const noexcept { return m_context; }

    void DataFile(const std::string& path);

    // Prices one department at a quantity slot. A fault (database, arithmetic) ends the call and passes
    // up as platform::Fault; the object keeps what it had written.
    double Estimate(EstimateArea area, std::int16_t currentQuantity, std::int16_t count);

    // The order variables as the latest bindery or press estimate read them.
    const OrderVariables& orderVariables() const noexcept { return m_orderVariables; }
    // What the latest pre-press estimate left for the press estimate.
    const prepress::PrePressFigures& prePressFigures() const noexcept { return m_prePress; }

    // Kept for callers of the old object; it shows nothing.
    void ShowTimeSummary() {}

private:
    RunContext& m_context;

    // ---- key and connection (cEstimator.cpp) ----
    std::string m_dataFile;
    OrderKey m_key;
    data::Database m_db;
    data::Recordset m_order; // the order row; open only when the first Estimate found it
    bool m_connected = false;
    std::array<std::int32_t, 5> m_quantity{}; // slots 1 to 4; only slot 1 is ever loaded
    std::int16_t m_currentQuantity = 0;

    SummaryRecord& summary();      // the summary record of the current quantity slot

    // ---- order variables (OrderVariables.h), read afresh by the bindery and press estimates ----
    OrderVariables m_orderVariables;
    void CheckVariables();

    // ---- results ----
    EstimateResults m_results;

    // ---- summary and report work database (ReportDatabase.cpp) ----
    void SetSummary(const data::Recordset& order);
    void VerifReportDB();

    // ---- stock (StockEstimate.cpp over StockPricing.h) ----
    double EstimateStock();
    std::string m_stockIdText; // STOCKID as "0000"; the bindery looks the stock up by it

    // ---- pre-press (PrePressEstimate.cpp over PrePressLoader.h and PrePressPricing.h) ----
    double EstimatePrePress();
    prepress::PrePressFigures m_prePress;
    // ---- engine core helpers (cEstimator.cpp) ----
    bool m_orderMissing = false; // the first Estimate found no ORDERS row; later calls leave it alone
    std::int32_t currentQuantityValue() const; // quantity of the current slot; fault 9 outside 1 to 4
    // @estimator-members: further members of the estimator core go above this line.

    // ---- bindery (bindery/) ----
    // The department is read by loaders and costed by plain functions (bindery/OperationCost.h,
    // bindery/DepartmentRules.h); these members hold what lives on between operations and estimates.
    double EstimateBindery(BinderyRowTable& rows, BinderyTotalsTable& totals);
    void EstimateBinderyOperation(const data::Recordset& selections, bindery::DepartmentRun& run,
                                  bindery::BinderyStatements& statement);
    std::string CalcModule(std::int32_t& selectionId, const bindery::OrderFigures& order);
    bindery::OrderFigures BinderyOrderFigures() const; // the order variables the bindery works from
    BinderyRowTable m_binderyRows;     // the object's own copy of this quantity's rows
    BinderyTotalsTable m_binderyTotals; // and of the totals
    bindery::OperationFigures m_binderyFigures; // the latest operation's working figures
    double m_costPerHour = 0;  // of the latest bindery operation; the job totals price bindery time by it
    double m_stockCaliper = 0; // loaded by the bindery operation; the press may replace it by 0.004

    // ---- press, ink and job totals (press/) ----
    // Each step loads its rows, prices them in a plain function over what was loaded and keeps the
    // figures (press/EstimatePress.cpp).
    double EstimatePress();
    std::int32_t m_speed = 0;          // curve speed after the clamps, before difficulty
    double m_spoilagePercent = 0;      // curve spoilage after the clamps
    double m_stockPressEfficiency = 0;
    press::PressInputs LoadPressHandover();
    bool LoadPressRows(const data::Recordset& order, press::PressInputs& in);
    press::InkInputs LoadInks(const data::Recordset& order) const;
    press::JobTotalsInputs LoadJobTotals(const data::Recordset& order, bool printed);
    double ReadMarkup(const char* sql) const;
    void KeepPressFigures(press::PressResults& out, const std::function<void()>& step);
};

} // namespace estimator
