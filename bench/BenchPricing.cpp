// Speed of the pricing run on the demo shop, measured against the database floor: the statements a run
// sends with its read cache off (every read the engine asks for) replayed straight through sqlite3 with no
// engine work. Every benchmark prices from the database file: each quantity writes the order row into the
// run's working copy and the engine reads it back, as in the window.
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/DemoDataCommand.h"
#include "data/ColumnValues.h"
#include "data/Database.h"
#include "data/SqlFunctions.h"
#include "estimator/RunContext.h"
#include "estimator/cEstimator.h"
#include "platform/Value.h"
#include "pricing/OrderSelection.h"
#include "pricing/PricingRun.h"
#include "pricing/Schedule.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> DemoOrders = {"24101", "24102", "24103", "24104", "24105", "24106", "24107"};

enum class JournalMode { Wal, Rollback };

void execOrThrow(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string text = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw std::runtime_error(text);
    }
}

// A demo data folder and program folder of their own for one journal mode, built once per process.
struct DemoShop
{
    std::string dataFolder;
    std::string programFolder;
    std::string databaseFile;
};

const DemoShop& demoShop(JournalMode mode)
{
    static std::map<JournalMode, DemoShop> shops;
    auto found = shops.find(mode);
    if (found != shops.end())
        return found->second;
    const fs::path root = fs::temp_directory_path() /
                          ("pricebook-bench-" + std::to_string(::getpid()) + (mode == JournalMode::Wal ? "-wal" : "-rollback"));
    fs::remove_all(root);
    fs::create_directories(root / "data");
    fs::create_directories(root / "program");
    DemoShop shop;
    shop.dataFolder = (root / "data").string();
    shop.programFolder = (root / "program").string();
    shop.databaseFile = cli::buildDemoShop(shop.dataFolder, true);
    sqlite3* db = nullptr;
    sqlite3_open_v2(shop.databaseFile.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    execOrThrow(db, mode == JournalMode::Wal ? "PRAGMA journal_mode = WAL" : "PRAGMA journal_mode = DELETE");
    sqlite3_close(db);
    return shops.emplace(mode, shop).first->second;
}

pricing::PricingInputs inputsFor(const DemoShop& shop, const std::string& orderNo)
{
    std::optional<pricing::OrderSelection> order = pricing::selectOrder(shop.databaseFile, orderNo);
    if (!order)
        throw std::runtime_error("demo order " + orderNo + " not found");
    pricing::PricingInputs inputs;
    inputs.dataFolder = shop.dataFolder;
    inputs.programFolder = shop.programFolder;
    inputs.order = *order;
    inputs.request.quoteOrJob = order->quoteOrJob;
    return inputs;
}

// The window's default schedule: 100 to 500 by 25, then by 100 to 2000, then by 500 to 5000.
const pricing::Schedule& defaultSchedule()
{
    static const pricing::Schedule schedule = pricing::buildSchedule(pricing::PriceParameters{});
    return schedule;
}

pricing::Schedule longSchedule(int count)
{
    pricing::PriceParameters parameters;
    const std::string last = std::to_string(count);
    parameters.qty1 = "1";
    parameters.jump1 = "1";
    parameters.qty2 = last;
    parameters.jump2 = "1";
    parameters.qty3 = last;
    parameters.jump3 = "1";
    parameters.qty4 = last;
    return pricing::buildSchedule(parameters);
}

pricing::PricingResult priceOnce(const pricing::PricingInputs& inputs, const pricing::Schedule& schedule,
                                 pricing::PricingCallbacks callbacks = {})
{
    pricing::PricingRun run(inputs, std::move(callbacks));
    return run.run(schedule);
}

// The number of statements one run of the schedule sends to the shop database.
std::size_t statementsSent(const pricing::PricingInputs& inputs, const pricing::Schedule& schedule)
{
    std::size_t sent = 0;
    pricing::PricingCallbacks callbacks;
    callbacks.session.trace = [&sent](const std::string&, std::span<const platform::Value>) { ++sent; };
    priceOnce(inputs, schedule, std::move(callbacks));
    return sent;
}

// ---- The database floor -------------------------------------------------------------------------------

struct CapturedStatement
{
    std::string sql;
    std::vector<platform::Value> parameters;
};

// The statements one 38-quantity run of an order sends to SQLite with its read cache off, with their bound
// values: every read the engine asks for, as runs sent them before they kept their reads (the working
// copy's making and dropping, the snapshot and each quantity's savepoint among them). The run before the
// capture lets the once-a-program work (statements prepared, report work database) happen outside it.
const std::vector<CapturedStatement>& capturedRun(const std::string& orderNo)
{
    static std::map<std::string, std::vector<CapturedStatement>> captured;
    auto found = captured.find(orderNo);
    if (found != captured.end())
        return found->second;
    const pricing::PricingInputs inputs = inputsFor(demoShop(JournalMode::Wal), orderNo);
    priceOnce(inputs, defaultSchedule());
    std::vector<CapturedStatement> statements;
    pricing::PricingCallbacks callbacks;
    callbacks.session.readCache = false;
    callbacks.session.trace = [&statements](const std::string& sql, std::span<const platform::Value> parameters) {
        statements.push_back({sql, std::vector<platform::Value>(parameters.begin(), parameters.end())});
    };
    priceOnce(inputs, defaultSchedule(), std::move(callbacks));
    return captured.emplace(orderNo, std::move(statements)).first->second;
}

// The captured statements, each prepared once on the connection that knows its tables (the shop
// database, else the report work database), then stepped through every row with every column read.
class FloorReplay
{
public:
    FloorReplay(const DemoShop& shop, const std::vector<CapturedStatement>& statements)
    {
        m_shop = openWithFunctions(shop.databaseFile);
        const fs::path report = fs::path(shop.programFolder) / "VMestrpt.mdb";
        if (fs::exists(report))
            m_report = openWithFunctions(report.string());
        for (const CapturedStatement& captured : statements)
            m_plan.push_back({&captured.sql, &captured.parameters});
    }
    ~FloorReplay()
    {
        for (auto& [sql, statement] : m_prepared)
            sqlite3_finalize(statement);
        sqlite3_close(m_shop);
        if (m_report)
            sqlite3_close(m_report);
    }
    FloorReplay(const FloorReplay&) = delete;
    FloorReplay& operator=(const FloorReplay&) = delete;

    std::size_t statementCount() const noexcept { return m_plan.size(); }

    // Runs every statement once, in the captured order; returns the number of values read.
    std::int64_t replay()
    {
        std::int64_t values = 0;
        for (const Step& step : m_plan) {
            // Prepared at first use: the run's working copy of the order rows exists only from its
            // CREATE on, and SQLite prepares a kept statement again when the copy comes and goes.
            sqlite3_stmt*& statement = m_prepared[*step.sql];
            if (!statement)
                statement = prepare(*step.sql);
            int index = 1;
            for (const platform::Value& value : *step.parameters)
                data::bindValue(statement, index++, value);
            const int columns = sqlite3_column_count(statement);
            int rc;
            while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
                for (int i = 0; i < columns; ++i) {
                    if (sqlite3_column_type(statement, i) == SQLITE_TEXT)
                        benchmark::DoNotOptimize(sqlite3_column_text(statement, i));
                    else
                        benchmark::DoNotOptimize(sqlite3_column_double(statement, i));
                    ++values;
                }
            }
            if (rc != SQLITE_DONE)
                throw std::runtime_error(std::string("replay failed: ") + sqlite3_errstr(rc));
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
        return values;
    }

private:
    struct Step
    {
        const std::string* sql;
        const std::vector<platform::Value>* parameters;
    };

    static sqlite3* openWithFunctions(const std::string& path)
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
        data::installFunctions(db);
        sqlite3_busy_timeout(db, 5000);
        // The same durability as the shop connection: a log-mode file syncs at checkpoints only.
        sqlite3_stmt* mode = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr) == SQLITE_OK &&
            sqlite3_step(mode) == SQLITE_ROW && sqlite3_column_text(mode, 0) &&
            std::string(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0))) == "wal")
            execOrThrow(db, "PRAGMA synchronous = NORMAL");
        sqlite3_finalize(mode);
        return db;
    }

    sqlite3_stmt* prepare(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_shop, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
            return statement;
        if (m_report && sqlite3_prepare_v2(m_report, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
            return statement;
        throw std::runtime_error("cannot prepare: " + sql);
    }

    sqlite3* m_shop = nullptr;
    sqlite3* m_report = nullptr;
    std::map<std::string, sqlite3_stmt*> m_prepared;
    std::vector<Step> m_plan;
};

// The floor's time of each order, in nanoseconds, kept for the run-to-floor ratio of BM_PricingRun.
std::map<std::string, double>& floorNanoseconds()
{
    static std::map<std::string, double> floors;
    return floors;
}

double measureFloorOnce(const std::string& orderNo)
{
    FloorReplay replay(demoShop(JournalMode::Wal), capturedRun(orderNo));
    replay.replay(); // warm
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        const auto start = std::chrono::steady_clock::now();
        replay.replay();
        times.push_back(std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double floorOf(const std::string& orderNo)
{
    auto& floors = floorNanoseconds();
    auto found = floors.find(orderNo);
    if (found == floors.end())
        found = floors.emplace(orderNo, measureFloorOnce(orderNo)).first;
    return found->second;
}

// ---- Benchmarks ---------------------------------------------------------------------------------------

void BM_SqlFloor(benchmark::State& state, std::string orderNo)
{
    FloorReplay replay(demoShop(JournalMode::Wal), capturedRun(orderNo));
    std::int64_t values = 0;
    for (auto _ : state)
        values += replay.replay();
    benchmark::DoNotOptimize(values);
    state.counters["statements"] = static_cast<double>(replay.statementCount());
}

void BM_PricingRun(benchmark::State& state, std::string orderNo, JournalMode mode)
{
    const pricing::PricingInputs inputs = inputsFor(demoShop(mode), orderNo);
    priceOnce(inputs, defaultSchedule()); // report work database made, statements prepared
    std::size_t lines = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        pricing::PricingResult result = priceOnce(inputs, defaultSchedule());
        lines = result.lines.size();
        benchmark::DoNotOptimize(result);
    }
    const double elapsed = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    state.counters["quantities"] = static_cast<double>(lines);
    // What the run sends to the shop database, against a run of the schedule's first quantity alone.
    state.counters["statements"] = static_cast<double>(statementsSent(inputs, defaultSchedule()));
    pricing::Schedule first = defaultSchedule();
    first.entries.resize(1);
    state.counters["statements_1qty"] = static_cast<double>(statementsSent(inputs, first));
    if (mode == JournalMode::Wal) {
        // Mean time of one run (wall clock) over the floor's median; same file, same process.
        const double floor = floorOf(orderNo);
        state.counters["floor_ms"] = floor / 1e6;
        if (state.iterations() > 0 && floor > 0)
            state.counters["run_to_floor"] = elapsed / static_cast<double>(state.iterations()) / floor;
    }
}

void BM_PricingRunLong(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const pricing::Schedule schedule = longSchedule(count);
    const pricing::PricingInputs inputs = inputsFor(demoShop(JournalMode::Wal), "24104");
    priceOnce(inputs, defaultSchedule());
    for (auto _ : state) {
        pricing::PricingResult result = priceOnce(inputs, schedule);
        benchmark::DoNotOptimize(result);
    }
    state.counters["quantities"] = static_cast<double>(schedule.entries.size());
    state.counters["quantities_per_s"] = benchmark::Counter(
        static_cast<double>(schedule.entries.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

void BM_Estimate(benchmark::State& state, int area)
{
    const DemoShop& shop = demoShop(JournalMode::Wal);
    const pricing::PricingInputs inputs = inputsFor(shop, "24104");
    priceOnce(inputs, defaultSchedule()); // leaves the order row at its own quantity
    estimator::RunContext context;
    context.programFolder = shop.programFolder;
    estimator::cEstimator engine(context);
    engine.DataFile(shop.databaseFile);
    engine.QuoteOrJob(pricing::quoteOrJobCode(inputs.request.quoteOrJob));
    engine.OrderNo(inputs.order.orderNo);
    engine.PartNo(static_cast<std::int16_t>(std::stoi(inputs.order.partNo)));
    for (int warm = 0; warm < 4; ++warm)
        engine.Estimate(static_cast<estimator::EstimateArea>(warm), 1, warm >= 2 ? 1 : 0);
    const std::int16_t count = area >= 2 ? 1 : 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.Estimate(static_cast<estimator::EstimateArea>(area), 1, count));
}

void registerAll()
{
    for (const std::string& order : DemoOrders) {
        benchmark::RegisterBenchmark(("BM_SqlFloor/" + order).c_str(), BM_SqlFloor, order)
            ->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("BM_PricingRun/" + order).c_str(), BM_PricingRun, order, JournalMode::Wal)
            ->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::RegisterBenchmark("BM_PricingRun_RollbackJournal/24104", BM_PricingRun, std::string("24104"),
                                 JournalMode::Rollback)
        ->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("BM_PricingRunLong", BM_PricingRunLong)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    const char* areas[] = {"stock", "prepress", "bindery", "press"};
    for (int area = 0; area < 4; ++area)
        benchmark::RegisterBenchmark((std::string("BM_Estimate/") + areas[area]).c_str(), BM_Estimate, area)
            ->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
