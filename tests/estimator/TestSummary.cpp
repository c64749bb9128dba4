#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Fault.h"
#include "tests/estimator/EngineTestSupport.h"

namespace {

using enginetest::Area;
using enginetest::kNoDepartment;
using estimator::cEstimator;

const char* const kCustomerOrder = R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, ACCTNAME, PHONE, DUEDATE, STOCKID, STOCKDESC,
    STOCKPARENTSIZE, PRESSNAME, PRESSSIDES, PRESSNUMUPPRESSSHT, PRODUCTIONTYPE, DESCRIPTION, PRESSSIZE,
    PRESSFINISHEDSIZE, STOCKCALIPER)
VALUES ('S7', 3, 'Q', 1000, 'Harbour Deli', '555-0100', '2026-03-05', 12, '70# Opaque Offset', '25 X 38',
    'Two-colour 19', 2, 2.5, 0, 'Menu cards, folded', '12.5 X 19', '8.5 X 11', 0.00449);
)sql";

class Summary : public enginetest::EngineTest
{
};

TEST_F(Summary, CopiesTheOrdersDescriptiveFacts)
{
    testsupport::TestDatabase db(kCustomerOrder);
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    const estimator::SummaryRecord& s = summary(1);

    EXPECT_EQ(s.orderNumber.str(), "S7      ");
    EXPECT_EQ(s.reference.str(), "N/A     ");
    EXPECT_EQ(s.accountName.str(), "Harbour Deli" + std::string(28, ' '));
    EXPECT_EQ(s.phone.str(), "555-0100            ");
    EXPECT_EQ(s.dueDate.str(), "03/05/2026");
    EXPECT_EQ(s.stockText.str(), "25 X 38-70# Opaque Offset" + std::string(15, ' '));
    EXPECT_EQ(s.stockNumber.str(), "0012");
    EXPECT_EQ(trimmed(s.pressName.str()), "Two-colour 19");
    EXPECT_EQ(s.pressName.str().size(), 25u);
    EXPECT_EQ(s.pressSides, 2);
    EXPECT_EQ(s.mode.str(), "Sheet Mode          ");
    EXPECT_EQ(trimmed(s.description.str()), "Menu cards, folded");
    EXPECT_EQ(s.description.str().size(), 255u);
    EXPECT_EQ(s.pressSize.str(), "12.5 X 19      ");
    EXPECT_EQ(s.finishedSize.str(), "8.5 X 11       ");
    EXPECT_EQ(s.caliper, 0.0045); // "0.0045" read back
    EXPECT_EQ(s.quantity, 1000);
    EXPECT_EQ(trimmed(s.inkColours.str()), "N/A");
}

TEST_F(Summary, NumberUpIsTheOneLastLoaded)
{
    testsupport::TestDatabase db(kCustomerOrder);
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    EXPECT_EQ(summary(1).numberUp, 0); // no department has loaded the order variables yet
    engine.Estimate(Area::Bindery, 1, 1); // no bindery work, but the order variables are read
    EXPECT_EQ(summary(1).numberUp, 2); // 2.5 rounds to even
}

TEST_F(Summary, BookModeWithoutStock)
{
    testsupport::TestDatabase db(kCustomerOrder);
    db.exec("UPDATE ORDERS SET STOCKID = NULL, PRODUCTIONTYPE = 1, PRESSSIDES = 1.5;");
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    EXPECT_EQ(summary(1).stockText.str(), std::string(40, ' '));
    EXPECT_EQ(summary(1).stockNumber.str(), "    ");
    EXPECT_EQ(trimmed(summary(1).mode.str()), "Book Mode");
    EXPECT_EQ(summary(1).pressSides, 2); // 1.5 rounds to even
}

TEST_F(Summary, LongTextsAreCutAtTheirWidth)
{
    testsupport::TestDatabase db(kCustomerOrder);
    const std::string longDescription(300, 'd');
    db.exec("UPDATE ORDERS SET DESCRIPTION = '" + longDescription +
            "', ACCTNAME = 'The Harbour Delicatessen and Fine Foods Company of the Old Town';");
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    EXPECT_EQ(summary(1).description.str(), std::string(255, 'd'));
    EXPECT_EQ(summary(1).accountName.str(), "The Harbour Delicatessen and Fine Foods ");
}

TEST_F(Summary, GoesToTheCurrentSlot)
{
    testsupport::TestDatabase db(kCustomerOrder);
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    EXPECT_EQ(trimmed(summary(2).orderNumber.str()), "");
    EXPECT_EQ(trimmed(summary(1).orderNumber.str()), "S7");
}

struct ColourCase
{
    const char* why;
    std::vector<const char*> colours; // inserted in this order (alphabetical, so DISTINCT keeps it)
    const char* expected;
};

const ColourCase kColours[] = {
    {"the four process colours", {"Black", "Cyan", "Magenta", "Yellow"}, "Process"},
    {"lower-case process colours", {"black", "cyan", "magenta", "yellow"}, "Process"},
    {"three process colours: the list without its last comma", {"Cyan", "Magenta", "Yellow"},
     "Cyan, Magenta, Yellow"},
    {"a spot colour", {"Black", "PMS 185"}, "Black, PMS 185"},
    {"process plus a spot colour", {"Black", "Cyan", "Magenta", "PMS 185", "Yellow"},
     "Black, Cyan, Magenta, PMS 185, Yellow"},
    // "Yel" is contained in the process names, but the list must still hold all four full names.
    {"a shortened name without the full one", {"Black", "Cyan", "Magenta", "Yel"}, "Black, Cyan, Magenta, Yel"},
    {"a shortened name beside the full four", {"Black", "Cyan", "Magenta", "Yel", "Yellow"}, "Process"},
    {"one colour twice", {"Black", "Black"}, "Black"},
    {"no colours selected", {}, "N/A"},
};

TEST_F(Summary, InkColours)
{
    testsupport::TestDatabase db(kCustomerOrder);
    for (const ColourCase& c : kColours) {
        db.exec("DELETE FROM INKSELECTIONS;");
        for (const char* colour : c.colours)
            db.exec(std::string("INSERT INTO INKSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, INKCOLOR) VALUES ('S7', 3, "
                                "'Q', '") +
                    colour + "');");
        // Colours of the job with the same number and of another part are not this part's.
        db.exec("INSERT INTO INKSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, INKCOLOR) VALUES ('S7', 3, 'J', 'Gold'), "
                "('S7', 1, 'Q', 'Silver');");
        cEstimator engine(m_context);
        pointAt(engine, db, "S7", 3, "Q");
        engine.Estimate(kNoDepartment, 1, 0);
        EXPECT_EQ(trimmed(summary(1).inkColours.str()), c.expected) << c.why;
    }
}

TEST_F(Summary, EmptyColourRowsAreSkipped)
{
    testsupport::TestDatabase db(kCustomerOrder);
    db.exec("INSERT INTO INKSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, INKCOLOR) VALUES ('S7', 3, 'Q', NULL), "
            "('S7', 3, 'Q', 'Black');");
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    int yields = 0;
    m_context.hooks.yield = [&] { ++yields; };
    engine.Estimate(kNoDepartment, 1, 0);
    m_context.hooks.yield = {};
    EXPECT_EQ(trimmed(summary(1).inkColours.str()), "Black");
    EXPECT_EQ(yields, 2); // window events run after each colour row, the empty one included
}

TEST_F(Summary, OnlyEmptyColourRowsGiveAnEmptyText)
{
    testsupport::TestDatabase db(kCustomerOrder);
    db.exec("INSERT INTO INKSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, INKCOLOR) VALUES ('S7', 3, 'Q', NULL);");
    cEstimator engine(m_context);
    pointAt(engine, db, "S7", 3, "Q");
    engine.Estimate(kNoDepartment, 1, 0);
    EXPECT_EQ(summary(1).inkColours.str(), std::string(255, ' '));
}

TEST_F(Summary, OrderNumberWithQuoteCharactersFindsItsColours)
{
    // The colour query writes the key between double quotes; a quote inside it is doubled.
    testsupport::TestDatabase db(R"sql(
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY) VALUES ('12" ruler', 1, 'J', 1000);
INSERT INTO INKSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, INKCOLOR) VALUES ('12" ruler', 1, 'J', 'PMS 286');
)sql");
    cEstimator engine(m_context);
    pointAt(engine, db, "12\" ruler", 1, "J");
    engine.Estimate(kNoDepartment, 1, 0);
    EXPECT_EQ(trimmed(summary(1).inkColours.str()), "PMS 286");
    EXPECT_EQ(summary(1).orderNumber.str(), "12\" rule"); // cut at 8
}

} // namespace
