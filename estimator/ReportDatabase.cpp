#include "estimator/cEstimator.h"

#include <filesystem>
#include <system_error>

#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Format.h"
#include "platform/Statement.h"

namespace estimator {

namespace {

constexpr const char* kReportFileName = "VMestrpt.mdb";

// The report tables, their run-date indexes and their primary keys. On a database made at an earlier
// run each of these fails because the object exists; the failure is skipped.
const char* const kReportDdl[] = {
    "CREATE TABLE [PRINTRPT] "
    "([PRINTRPTRUNID] LONG NOT NULL, "
    "[SORTORDER] LONG NOT NULL, "
    "[DESCRIPTION] TEXT (25) NOT NULL, "
    "[QTY1VAL] TEXT (15) NOT NULL, "
    "[QTY2VAL] TEXT (15) NOT NULL, "
    "[QTY3VAL] TEXT (15) NOT NULL, "
    "[QTY4VAL] TEXT (15) NOT NULL, "
    "[BREAKAFTER] YESNO NOT NULL, "
    "[RUNDATE] DATETIME NOT NULL);",
    "CREATE INDEX [RUNDATE] ON [PRINTRPT] "
    "([RUNDATE] ASC);",
    "CREATE UNIQUE INDEX [PrimaryKey] ON [PRINTRPT] "
    "([PRINTRPTRUNID] ASC, [SORTORDER] ASC) "
    "WITH PRIMARY;",
    "CREATE TABLE [PREPRESSRPT] "
    "([PREPRESSRPTRUNID] LONG NOT NULL, "
    "[SORTORDER] LONG NOT NULL, "
    "[QTY] TEXT (10) NOT NULL, "
    "[DESCRIPTION] TEXT (25) NOT NULL, "
    "[SIZE] TEXT (15) NOT NULL, "
    "[COST] TEXT (15) NOT NULL, "
    "[MINUTES] TEXT (15) NOT NULL, "
    "[RETAIL] TEXT (15) NOT NULL, "
    "[BREAKAFTER] YESNO NOT NULL, "
    "[RUNDATE] DATETIME NOT NULL);",
    "CREATE INDEX [RUNDATE] ON [PREPRESSRPT] "
    "([RUNDATE] ASC);",
    "CREATE UNIQUE INDEX [PrimaryKey] ON [PREPRESSRPT] "
    "([PREPRESSRPTRUNID] ASC, [SORTORDER] ASC) "
    "WITH PRIMARY;",
    "CREATE TABLE [BINDERYRPT] "
    "([BINDERYRPTRUNID] LONG NOT NULL, "
    "[SORTORDER] LONG NOT NULL, "
    "[DESCRIPTION1] TEXT (25) NOT NULL, "
    "[UNITS1] TEXT (6) NOT NULL, "
    "[MRRUNTIME1] TEXT (6) NOT NULL, "
    "[PSSPOIL1] TEXT (10) NOT NULL, "
    "[COST1] TEXT (15) NOT NULL, "
    "[RETAIL1] TEXT (15) NOT NULL, "
    "[MRRUNTIME2] TEXT (6) NOT NULL, "
    "[PSSPOIL2] TEXT (10) NOT NULL, "
    "[COST2] TEXT (15) NOT NULL, "
    "[RETAIL2] TEXT (15) NOT NULL, "
    "[MRRUNTIME3] TEXT (6) NOT NULL, "
    "[PSSPOIL3] TEXT (10) NOT NULL, "
    "[COST3] TEXT (15) NOT NULL, "
    "[RETAIL3] TEXT (15) NOT NULL, "
    "[MRRUNTIME4] TEXT (6) NOT NULL, "
    "[PSSPOIL4] TEXT (10) NOT NULL, "
    "[COST4] TEXT (15) NOT NULL, "
    "[RETAIL4] TEXT (15) NOT NULL, "
    "[BREAKAFTER] YESNO NOT NULL, "
    "[RUNDATE] DATETIME NOT NULL);",
    "CREATE INDEX [RUNDATE] ON [BINDERYRPT] "
    "([RUNDATE] ASC);",
    "CREATE UNIQUE INDEX [PrimaryKey] ON [BINDERYRPT] "
    "([BINDERYRPTRUNID] ASC, [SORTORDER] ASC) "
    "WITH PRIMARY;",
    "CREATE TABLE [DEPTRPT] "
    "([DEPTRPTRUNID] LONG NOT NULL, "
    "[SORTORDER] LONG NOT NULL, "
    "[DESCRIPTION] TEXT (25) NOT NULL, "
    "[HOURS1] TEXT (6) NOT NULL, "
    "[COST1] TEXT (15) NOT NULL, "
    "[PCTMU1] TEXT (6) NOT NULL, "
    "[MU1] TEXT (15) NOT NULL, "
    "[TOTAL1] TEXT (15) NOT NULL, "
    "[HOURS2] TEXT (6) NOT NULL, "
    "[COST2] TEXT (15) NOT NULL, "
    "[PCTMU2] TEXT (6) NOT NULL, "
    "[MU2] TEXT (15) NOT NULL, "
    "[TOTAL2] TEXT (15) NOT NULL, "
    "[HOURS3] TEXT (6) NOT NULL, "
    "[COST3] TEXT (15) NOT NULL, "
    "[PCTMU3] TEXT (6) NOT NULL, "
    "[MU3] TEXT (15) NOT NULL, "
    "[TOTAL3] TEXT (15) NOT NULL, "
    "[HOURS4] TEXT (6) NOT NULL, "
    "[COST4] TEXT (15) NOT NULL, "
    "[PCTMU4] TEXT (6) NOT NULL, "
    "[MU4] TEXT (15) NOT NULL, "
    "[TOTAL4] TEXT (15) NOT NULL, "
    "[BREAKAFTER] YESNO NOT NULL, "
    "[RUNDATE] DATETIME NOT NULL);",
    "CREATE INDEX [RUNDATE] ON [DEPTRPT] "
    "([RUNDATE] ASC);",
    "CREATE UNIQUE INDEX [PrimaryKey] ON [DEPTRPT] "
    "([DEPTRPTRUNID] ASC, [SORTORDER] ASC) "
    "WITH PRIMARY;",
};

constexpr const char* kRunIdDdl = "CREATE TABLE [RPTRUNID] "
                                  "([PRINTRPTRUNID] LONG NOT NULL, "
                                  "[PREPRESSRPTRUNID] LONG NOT NULL, "
                                  "[BINDERYRPTRUNID] LONG NOT NULL, "
                                  "[DEPTRPTRUNID] LONG NOT NULL);";
constexpr const char* kRunIdFirstRow =
    "INSERT INTO RPTRUNID (PRINTRPTRUNID, PREPRESSRPTRUNID, BINDERYRPTRUNID, DEPTRPTRUNID) VALUES (0,0,0,0)";

// What the statements above make, by the names the file keeps them under (an index by its table's name and
// its own).
constexpr const char* kReportObjects =
    "SELECT count(*) AS MADE FROM sqlite_schema WHERE name IN ('PRINTRPT', 'PREPRESSRPT', 'BINDERYRPT', "
    "'DEPTRPT', 'RPTRUNID', 'PRINTRPT_RUNDATE', 'PRINTRPT_PrimaryKey', 'PREPRESSRPT_RUNDATE', "
    "'PREPRESSRPT_PrimaryKey', 'BINDERYRPT_RUNDATE', 'BINDERYRPT_PrimaryKey', 'DEPTRPT_RUNDATE', "
    "'DEPTRPT_PrimaryKey')";
constexpr long kReportObjectCount = 13;

bool endsWithSeparator(const std::string& folder)
{
    if (folder.empty())
        return false;
    const char last = folder.back();
#ifdef _WIN32
    return last == '/' || last == '\\';
#else
    return last == '/';
#endif
}

std::string reportDatabasePath(const std::string& folder)
{
    // An empty folder means the current one; joining would otherwise point at the file-system root.
    if (folder.empty())
        return kReportFileName;
    return endsWithSeparator(folder) ? folder + kReportFileName : folder + "/" + kReportFileName;
}

bool fileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

bool allProcessNamesIn(const std::string& upperList)
{
    for (const char* name : {"CYAN", "YELLOW", "MAGENTA", "BLACK"})
        if (upperList.find(name) == std::string::npos)
            return false;
    return true;
}

} // namespace

void cEstimator::VerifReportDB()
{
    if (m_context.reportDatabasePath.empty())
        m_context.reportDatabasePath = reportDatabasePath(m_context.programFolder);
    const std::string& path = m_context.reportDatabasePath;

    data::Database report;
    if (!fileExists(path))
        platform::resumeNext([&] { report = data::Database::create(path); });
    else
        platform::resumeNext([&] { report = data::Database::openSession(path); });

    // A database an earlier run made has all of them: each statement would fail and be skipped, so none
    // is run.
    bool complete = false;
    if (report.isOpen())
        platform::resumeNext(
            [&] { complete = report.openRecordset(kReportObjects).field(0).number() == kReportObjectCount; });
    if (complete) {
        report.close();
        return;
    }

    // Each statement on its own: one that fails (the object exists already, or no file could be made)
    // leaves the next to run.
    const auto execute = [&](const char* sql) {
        return platform::resumeNext([&] {
            if (!report.isOpen())
                platform::raise(91, "Object variable or With block variable not set");
            report.execute(sql);
        });
    };
    for (const char* sql : kReportDdl)
        execute(sql);

    // The run-number row belongs to a new table only: an existing table keeps its last run numbers.
    if (execute(kRunIdDdl))
        execute(kRunIdFirstRow);

    if (!fileExists(path))
        m_context.hooks.showMessage("Could not create report work file.", "Orvelle Estimator Module");

    report.close();
}

void cEstimator::SetSummary(const data::Recordset& order)
{
    SummaryRecord& record = summary();

    const platform::Value& stockId = order.field("STOCKID");
    record.orderNumber = m_key.orderNo;
    record.reference = "N/A";
    record.accountName = order.field("ACCTNAME").formatted();
    record.phone = order.field("PHONE").formatted();
    record.dueDate = platform::format(order.field("DUEDATE"), "mm/dd/yyyy");
    if (stockId.isNull()) {
        record.stockText = "";
        record.stockNumber = "";
    } else {
        record.stockText = order.field("STOCKPARENTSIZE").formatted() + "-" + order.field("STOCKDESC").formatted();
        record.stockNumber = platform::format(stockId, "0000");
    }
    record.pressName = order.field("PRESSNAME").formatted();
    record.pressSides = platform::toInt16(order.field("PRESSSIDES").number());
    record.numberUp = platform::toInt16(m_orderVariables.numberUp);
    record.mode = order.field("PRODUCTIONTYPE").number() == 0 ? "Sheet Mode" : "Book Mode";
    record.description = order.field("DESCRIPTION").formatted();
    record.pressSize = order.field("PRESSSIZE").formatted();
    record.finishedSize = order.field("PRESSFINISHEDSIZE").formatted();
    record.caliper = platform::val(platform::format(order.field("STOCKCALIPER"), "0.0000"));

    // Ink colours: "Process" for a four-colour job, else the colours as a list.
    data::Recordset colours = m_db.openRecordset(
        "SELECT DISTINCT INKCOLOR AS COLOR FROM INKSELECTIONS WHERE " + m_key.where());
    if (colours.recordCount() == 0) {
        record.inkColours = "N/A";
    } else {
        std::string list;
        bool allProcess = true;
        for (; !colours.eof(); colours.moveNext()) {
            const platform::Value& colour = colours.field("COLOR");
            if (!colour.isNull()) {
                const std::string name = colour.formatted();
                list += name + ", ";
                // A containment test: a shortened name such as "Yel" still counts as a process colour.
                if (std::string("CYAN|YELLOW|MAGENTA|BLACK").find(platform::upperCase(name)) == std::string::npos)
                    allProcess = false;
            }
            m_context.hooks.yieldEvents();
        }
        if (allProcess && allProcessNamesIn(platform::upperCase(list))) {
            record.inkColours = "Process";
        } else {
            std::string text = platform::trim(list);
            if (!text.empty() && text.back() == ',')
                text.pop_back();
            record.inkColours = text;
        }
    }
    colours.close();
}

} // namespace estimator
