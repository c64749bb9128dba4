#pragma once

// Shared pieces of the press tests: a small builder of table rows, the shop's standard presses, plates
// and markups, and a fixture that prices an order the way the pricing run does (stock, pre-press, bindery,
// press at quantity slot 1).

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "estimator/RunContext.h"
#include "estimator/cEstimator.h"
#include "estimator/press/PressInputs.h"
#include "tests/support/TestDatabase.h"

namespace presstest {

// One row of a table, written as an INSERT. Setting a column again replaces its value, so a test
// starts from a standard row and changes only what its case is about.
class Row
{
public:
    explicit Row(std::string table) : m_table(std::move(table)) {}

    Row& num(const std::string& column, double value)
    {
        std::ostringstream text;
        text.precision(17);
        text << value;
        return sql(column, text.str());
    }
    Row& text(const std::string& column, const std::string& value)
    {
        std::string quoted = "'";
        for (char c : value) {
            quoted += c;
            if (c == '\'')
                quoted += '\'';
        }
        return sql(column, quoted + "'");
    }
    Row& null(const std::string& column) { return sql(column, "NULL"); }
    Row& sql(const std::string& column, const std::string& literal)
    {
        for (auto& [name, value] : m_columns)
            if (name == column) {
                value = literal;
                return *this;
            }
        m_columns.emplace_back(column, literal);
        return *this;
    }

    std::string insert() const
    {
        std::string names, values;
        for (const auto& [name, value] : m_columns) {
            names += (names.empty() ? "" : ", ") + name;
            values += (values.empty() ? "" : ", ") + value;
        }
        return "INSERT INTO " + m_table + " (" + names + ") VALUES (" + values + ");\n";
    }

private:
    std::string m_table;
    std::vector<std::pair<std::string, std::string>> m_columns;
};

// The one-colour letterhead: 5,000 pieces two up on a 12 X 18 press sheet cut four out of a 23 X 35
// parent sheet of a selected stock, one plate, one pass, one head, on press 1 with plate 1.
inline Row letterheadOrder()
{
    Row row("ORDERS");
    row.text("ORDERNO", "Q100").num("PARTNO", 1).text("QUOTEORJOB", "Q");
    row.text("DESCRIPTION", "Letterhead").text("ACCTNAME", "Harbour Dental").text("PHONE", "555-0101");
    row.num("STOCKID", 12).text("STOCKDESC", "24# Bond").text("STOCKPARENTSIZE", "23 X 35");
    row.num("STOCKCALIPER", 0.0045).num("STOCKWT1000", 40).num("STOCKPARTS", 1).num("STOCKPRESSEFFPERC", 100);
    row.num("STOCKUSEPRESSEFF", 0).num("STOCKIND1", 1).num("STOCKIND2", 2).num("STOCKIND3", 4);
    row.num("STOCK1000CTN", 2.5).num("STOCKCOST1", 80).num("STOCKCOST2", 70).num("STOCKCOST3", 60);
    row.num("STOCKUSEDOLLARMARKUP", 0).num("STOCKDOLLAREFF", 0).num("STOCKDOLLARKFACTOR", 0);
    row.num("STOCKQTYEFF", 0).num("STOCKQTYKFACTOR", 0);
    row.num("PRESSID", 1).text("PRESSNAME", "Offset 1").num("PRESSTYPE", 1).num("PRESSSIDES", 1);
    row.num("PRESSQTY", 5000).text("PRESSFINISHEDSIZE", "8.5 X 11").text("PRESSBLEEDSIZE", "8.5 X 11");
    row.text("PRESSSIZE", "12 X 18").num("PRESSNUMUPPRESSSHT", 2).num("PRESSNUMUPPARENTSHT", 4);
    row.num("PRESSDIFFFRMPRESSSHT", 1).num("PRODUCTIONTYPE", 0).num("PRESSSIGNATURES", 1);
    row.num("PRESSPLATEID", 1).num("PRESSPLATES", 1).num("PRESSPASSES", 1).num("PRESSPRINTHEADS", 1);
    row.num("PRESSSPEC", 0).num("PRESSDIFFICULTY", 5);
    row.num("PRESSSPEEDEFF", 0).num("PRESSSPEEDKFACTOR", 0).num("PRESSSPOILEFF", 0).num("PRESSSPOILKFACTOR", 0);
    row.num("PPTYPESETVALUE", 40).num("PPTYPESETVALUETYPE", 0).num("PPTYPESETMINUTES", 30);
    return row;
}

// Press 1, a single-colour offset press: 2,000 to 6,000 impressions an hour, 1 to 6 per cent spoilage,
// a 10-inch feeder, $60 an hour.
inline Row offsetPress(int pressId = 1)
{
    Row row("PRESSES");
    row.num("PRESSID", pressId).text("PRESSNAME", "Offset 1").num("PRESSTYPE", 1).num("PRINTHEADS", 1);
    row.num("FEEDERHEIGHT", 10).num("MINSPEED", 2000).num("MAXSPEED", 6000);
    row.num("MINSPOILAGE", 1).num("MAXSPOILAGE", 6);
    row.num("CARBONLESSIMPACTFLAG", 0).num("STOCKIMPACTFLAG", 0);
    row.num("FEEDERLOADINGTIME", 6).num("REGGUIDETIME", 5).num("DELIVERYTIME", 3).num("SETUPTIME", 10);
    row.num("WASHUPTIME", 15).num("FOUNTAINWASTE", 0.25).num("COSTPERHOUR", 60);
    return row;
}

// The same press held at exactly 4,000 an hour and 3.2 per cent spoilage (both ends of each range
// equal), so that a case's figures do not depend on the performance curves.
inline Row steadyPress(int pressId = 1)
{
    Row row = offsetPress(pressId);
    row.num("MINSPEED", 4000).num("MAXSPEED", 4000).num("MINSPOILAGE", 3.2).num("MAXSPOILAGE", 3.2);
    return row;
}

// Plate 1: a paper plate, 20 make-ready sheets, 10,000 impressions of life, $8.
inline Row paperPlate(int plateId = 1)
{
    Row row("PLATES");
    row.num("PLATEID", plateId).text("PLATENAME", "Paper").text("PLATEDESC", "Polyester plate");
    row.num("SHEETSPERPLATE", 20).num("IMPRESSIONSPERPLATE", 10000);
    row.num("MOUNTINGTIME", 12).num("REMOUNTTIME", 8).num("WTTIME", 4).num("COSTPERPLATE", 8);
    return row;
}

// The shop's department markups (per cent).
inline std::string shopMarkups(double stockMinimum = 10, double stockMaximum = 40)
{
    std::ostringstream sql;
    sql << "INSERT INTO MARKUPS VALUES ('Stock (minimum)', " << stockMinimum << ");\n"
        << "INSERT INTO MARKUPS VALUES ('Stock (maximum)', " << stockMaximum << ");\n"
        << "INSERT INTO MARKUPS VALUES ('Press', 50);\n"
        << "INSERT INTO MARKUPS VALUES ('Pre-Press:', 30);\n"
        << "INSERT INTO MARKUPS VALUES ('Bindery', 20);\n"
        << "INSERT INTO MARKUPS VALUES ('Outside Services', 15);\n";
    return sql.str();
}

// An ink selection of an order part.
inline std::string inkSelection(const std::string& orderNo, const std::string& quoteOrJob, int colorId,
                                const std::string& inkColor, double coverage)
{
    return Row("INKSELECTIONS")
        .text("ORDERNO", orderNo)
        .num("PARTNO", 1)
        .text("QUOTEORJOB", quoteOrJob)
        .num("COLORID", colorId)
        .text("INKCOLOR", inkColor)
        .num("PMSID", 0)
        .num("COVERAGE", coverage)
        .insert();
}

inline std::string colour(int colorId, const std::string& name, double costPerPound, double mileage)
{
    return Row("COLORS")
        .num("COLORID", colorId)
        .text("COLORNAME", name)
        .num("COSTPERLB", costPerPound)
        .num("MILEAGE", mileage)
        .insert();
}

// A test's shop database, its rows written in one transaction (one disk sync instead of one a row).
class ShopDatabase : public testsupport::TestDatabase
{
public:
    explicit ShopDatabase(const std::string& rows) : TestDatabase("BEGIN;\n" + rows + "COMMIT;\n") {}
};

// Prices one order part as the pricing run does, at quantity slot 1. `beforePress` runs after the
// bindery and before the press, to put in place what the bindery of a case would have left.
class PressShopTest : public ::testing::Test
{
protected:
    // One program folder for the whole test program: the report work database is made once, and later
    // checks find it there.
    void SetUp() override { startNewRun(); }

    // A fresh run context, its report work database in the test program's folder.
    void startNewRun()
    {
        static const testsupport::TemporaryFolder programFolder;
        m_context = estimator::RunContext{};
        m_context.programFolder = programFolder.path();
    }

    static void openOrder(estimator::cEstimator& engine, const testsupport::TestDatabase& db,
                          const std::string& orderNo, const std::string& quoteOrJob)
    {
        engine.DataFile(db.path());
        engine.QuoteOrJob(quoteOrJob);
        engine.OrderNo(orderNo);
        engine.PartNo(1);
    }

    // Returns what the press estimate returned.
    static double price(estimator::cEstimator& engine, const testsupport::TestDatabase& db, const std::string& orderNo,
                        const std::string& quoteOrJob,
                        const std::function<void(estimator::cEstimator&)>& beforePress = {})
    {
        openOrder(engine, db, orderNo, quoteOrJob);
        using Area = estimator::EstimateArea;
        engine.Estimate(Area::Stock, 1, 0);
        engine.Estimate(Area::PrePress, 1, 0);
        engine.Estimate(Area::Bindery, 1, 1);
        if (beforePress)
            beforePress(engine);
        return engine.Estimate(Area::Press, 1, 1);
    }

    estimator::SummaryRecord& summary() { return m_context.summary[1]; }

    estimator::RunContext m_context; // a fresh one for each test
};

// ---- the same jobs as inputs of the press department ----------------------------------------------------

// The ink colour of one selection.
inline estimator::press::InkColour inkColour(const char* name, double costPerPound, double mileage, double coverage)
{
    return {name, {{costPerPound, platform::Value::fromDouble(mileage), platform::Value::fromDouble(coverage)}}};
}

// The shop's department markups: stock 10 to 40, press 50, pre-press 30, bindery 20, outside services 15.
inline estimator::press::Markups shopMarkupPercents()
{
    return {10, 40, 50, 30, 20, 15};
}

// 5,000 pieces 2 up on a 12 X 18 press sheet cut four out of a 23 X 35 parent sheet of a selected stock
// running at 100 per cent; one plate, one pass, one head; $40 of typesetting (30 minutes); no bindery
// work, so no caliper loaded.
inline estimator::press::PressInputs letterheadInputs()
{
    estimator::press::PressInputs in;
    in.order = {.quantity = 5000, .piecesToProduce = 5000, .numberUp = 2, .signatures = 1, .parts = 1,
                .pressDiffFactor = 1, .pressSheetsPerParent = 4, .stockSelected = true, .pressTypeZero = false,
                .parentSheetKnown = true, .parentUsageRatio = 8.5 * 11 * 2 * 4 / (23.0 * 35)};
    estimator::press::PressSettings& p = in.settings;
    p.pressId = 1;
    p.plateId = 1;
    p.stockPressEfficiency = 100;
    p.speedEfficiency = 20;
    p.speedKFactor = 5;
    p.spoilEfficiency = 20;
    p.spoilKFactor = 20;
    p.difficulty = 5;
    p.plates = 1;
    p.passes = 1;
    p.printHeads = 1;
    p.feederHeight = 10;
    p.minSpeed = 2000;
    p.maxSpeed = 6000;
    p.minSpoilage = 1;
    p.maxSpoilage = 6;
    p.feederLoadingTime = 6;
    p.regGuideTime = 5;
    p.deliveryTime = 3;
    p.setupTime = 10;
    p.washupTime = 15;
    p.fountainWaste = 0.25;
    p.costPerHour = 60;
    p.sheetsPerPlate = 20;
    p.impressionsPerPlate = 10000;
    p.mountingTime = 12;
    p.remountTime = 8;
    p.wtTime = 4;
    p.costPerPlate = 8;
    in.stock = {.cartonThousands = 2.5, .break2 = 2, .break3 = 4, .cost1 = 80, .cost2 = 70, .cost3 = 60,
                .weightPerThousand = 40};
    in.prePress.workMinutes = 30;
    in.prePress.workCost = 40;
    in.prePress.resultCost = 40;
    return in;
}

// The letterhead on the steady press: exactly 4,000 an hour and 3.2 per cent spoilage.
inline estimator::press::PressInputs steadyLetterheadInputs()
{
    estimator::press::PressInputs in = letterheadInputs();
    in.settings.minSpeed = 4000;
    in.settings.maxSpeed = 4000;
    in.settings.minSpoilage = 3.2;
    in.settings.maxSpoilage = 3.2;
    return in;
}

} // namespace presstest
