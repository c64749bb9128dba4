#include "tests/estimator/bindery/BinderyShop.h"

#include "estimator/RunContext.h"

namespace bindery_test {

std::string shopSql(std::string_view extra)
{
    std::string sql = R"sql(
INSERT INTO BINDERYCATEGORIES (BINDERYCATEGORYID, BINDERYCATEGORY) VALUES
    (1, 'CUTTING'), (2, 'AutoCut'), (3, 'Padding'), (4, 'PACKAGING'), (5, 'FOLDING'),
    (6, 'FOIL STAMPING'), (7, 'STITCHING'), (8, 'DELIVERY'), (9, 'FIXED CHIP PADDING');
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, PRESSQTY, STOCKPARTS, PRESSDIFFFRMPRESSSHT,
    PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, STOCKPARENTSIZE, STOCKID, STOCKCALIPER, STOCKWT1000,
    STOCKUSEPRESSEFF)
VALUES ('1001', 1, 'Q', 1000, 1, 1, 4, 2, 0, 1, 0, '8.5 X 11', '', '17 X 22', '22 X 34', NULL, 0.004, 0, 0);
)sql";
    sql += extra;
    return sql;
}

std::string binderySql(int binderyId, int categoryId, std::string_view name)
{
    return "INSERT INTO BINDERIES (BINDERYID, BINDERYCATEGORYID, BINDERYNAME, MINSPEED, MAXSPEED, MINSPOILAGE, "
           "MAXSPOILAGE, SETUPTIME, COSTPERHR, ADDLSETUPTIME, FIXEDWASTE, ADDLRUNTIME, MINCOST, FOILFLAG, "
           "CARBONLESSSPOILAGEFLAG, THICKNESSFLAG, MULTIBINDERFILEFLAG, STOCKFLAG, LENGTHFLAG, WTBASEDFILEFLAG, "
           "DELIVERYFILEFLAG, PACKAGINGFILEFLAG, PAGESFLAG, SIGNATURESFLAG) VALUES (" +
           std::to_string(binderyId) + ", " + std::to_string(categoryId) + ", '" + std::string(name) +
           "', 1000, 1000, 0, 0, 0, 60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);\n";
}

std::string selectionSql(int selectionId, int binderyId)
{
    return "INSERT INTO BINDERYSELECTIONS (BINDERYSELECTIONID, ORDERNO, PARTNO, QUOTEORJOB, BINDERYID, SHEETSIZE, "
           "DIFFICULTY, RUNS, SETUPS, PCTOFRUN, SPEEDEFFICIENCY, SPEEDKFACTOR, SPOILEFFICIENCY, SPOILKFACTOR) "
           "VALUES (" +
           std::to_string(selectionId) + ", '1001', 1, 'Q', " + std::to_string(binderyId) +
           ", 0, 5, 0, 1, 100, 0, 0, 0, 0);\n";
}

void BinderyTest::SetUp()
{
    m_context.programFolder = m_programFolder.path();
}

std::unique_ptr<estimator::cEstimator> BinderyTest::openEstimator(const testsupport::TestDatabase& shop)
{
    auto engine = std::make_unique<estimator::cEstimator>(m_context);
    engine->DataFile(shop.path());
    engine->QuoteOrJob("Q");
    engine->OrderNo("1001");
    engine->PartNo(1);
    engine->Estimate(estimator::EstimateArea::Bindery, 1, 0);
    return engine;
}

} // namespace bindery_test
