// Speed of what the counter staff feel around the pricing run: laying out and writing the sheet, the
// command line as a whole process, and the main window coming up over a shop with 1,000 orders.
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QEvent>

#include "bench/ChildProcess.h"
#include "cli/DemoDataCommand.h"
#include "platform/Fault.h"
#include "sheet/SheetPainter.h"
#include "sheet/SheetPdf.h"
#include "sheet/PriceSheet.h"
#include "ui/DataFolder.h"
#include "ui/frmPrice.h"


namespace fs = std::filesystem;

namespace {

fs::path benchRoot()
{
    static const fs::path root = [] {
        const fs::path path = fs::temp_directory_path() / ("pricebook-bench-frontend-" + std::to_string(::getpid()));
        fs::remove_all(path);
        fs::create_directories(path / "program");
        return path;
    }();
    return root;
}

// The demo shop, built once; with `extraOrders` copies of its first order added under new numbers.
std::string demoFolder(int extraOrders)
{
    const fs::path folder = benchRoot() / ("shop-" + std::to_string(extraOrders));
    if (fs::exists(folder / "vmdata.mdb"))
        return folder.string();
    fs::create_directories(folder);
    const std::string database = cli::buildDemoShop(folder.string(), true);
    if (extraOrders > 0) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const std::string sql =
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(extraOrders) +
            ") INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION) "
            "SELECT printf('B%07d', i), 1, 'Q', 'Counter job ' || i FROM n";
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error ? error : "insert failed";
            sqlite3_free(error);
            sqlite3_close(db);
            throw std::runtime_error(text);
        }
        sqlite3_close(db);
    }
    return folder.string();
}

QApplication& application()
{
    static int argc = 1;
    static char name[] = "bench_frontend";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

sheet::SheetInputs sheetOf38()
{
    sheet::SheetInputs in;
    int quantity = 100;
    for (int i = 0; i < 38; ++i) {
        in.priceLines.push_back(std::to_string(quantity) + std::string(27, ' ') + "$" + std::to_string(1400 + i) + ".25");
        quantity += i < 16 ? 25 : i < 31 ? 100 : 500;
    }
    in.category = "Brochures and Folders";
    in.orderNo = "24102";
    in.description = "Tri-fold brochure, 4/4 process";
    in.stock = "100# Gloss Text";
    in.size = "8.5 X 11";
    in.bindery = "Guillotine Cutting, Tri-Fold Folder, 40 lb Carton Pack-Out";
    in.typeface = pricing::Typeface::TimesRoman;
    return in;
}

// Laying out the 38-line sheet and writing it as a PDF file.
void BM_Sheet(benchmark::State& state)
{
    application();
    const sheet::SheetInputs inputs = sheetOf38();
    const QString pdf = QString::fromStdString((benchRoot() / "sheet.pdf").string());
    for (auto _ : state) {
        try {
            sheet::writeSheetPdf(inputs, 46000.5, pdf);
        } catch (const platform::Fault& fault) {
            state.SkipWithError(fault.what());
        }
    }
}

// The demo shop on a database server (its database given by PRICEBOOK_BENCH_PG, emptied of shop tables),
// with a data folder pointing at it.
std::string serverFolder(const std::string& conninfo)
{
    const fs::path folder = benchRoot() / "server-shop";
    if (!fs::exists(folder / "vmdata.pg"))
        cli::buildDemoShopOnServer(conninfo, folder.string(), true);
    return folder.string();
}

// `pricebook price DIR --order 24101 --format json` as a whole process: start, price 38 quantities, print.
// With a range above 0, the schedule 1 by 1 to that many quantities in CSV, and the process's peak memory: the
// price command writes each quantity as it is priced and keeps none, so the peak does not grow with the
// schedule. Range -1: the 38 quantities with the shop database on a server (PRICEBOOK_BENCH_PG).
void BM_PriceProcess(benchmark::State& state)
{
    std::string folder;
    if (state.range(0) < 0) {
        const char* server = std::getenv("PRICEBOOK_BENCH_PG");
        if (!server) {
            state.SkipWithError("PRICEBOOK_BENCH_PG (the connection string of a database for the demo shop) is not set");
            return;
        }
        folder = serverFolder(server);
    } else {
        folder = demoFolder(0);
    }
    const std::string program = (benchRoot() / "program").string();
    std::vector<std::string> words = {PRICEBOOK_PROGRAM, "price", folder, "--order", "24101", "--format", "json",
                                      "--program-dir", program};
    if (state.range(0) > 0) {
        // 1 to N by 1: the last two quantities are the second and third stretch's, each above the one before.
        const auto quantity = [&state](long below) { return std::to_string(state.range(0) - below); };
        words = {PRICEBOOK_PROGRAM, "price", folder, "--order", "24101", "--format", "csv", "--program-dir", program,
                 "--schedule", "1,1," + quantity(2) + ",1," + quantity(1) + ",1," + quantity(0)};
    }
    long peakKilobytes = 0;
    for (auto _ : state) {
        const bench::ChildRun run = bench::runChild(words, STDOUT_FILENO);
        peakKilobytes = std::max(peakKilobytes, run.peakKilobytes);
        if (!run.succeeded) {
            state.SkipWithError("pricebook price failed");
            break;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peakKilobytes) / 1024.0;
}

// Notes the first paint of the window's order list.
class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// The main window made (marker file, categories, price data, the order list of 1,000 + 12 orders), shown
// and painted once.
void BM_MainWindow1000(benchmark::State& state)
{
    QApplication& app = application();
    const std::string folder = demoFolder(1000);
    const std::string program = (benchRoot() / "program").string();
    ui::setProgramFolder(program);
    ui::writeMarkerFile(folder);
    int listed = 0;
    for (auto _ : state) {
        FirstPaint paint;
        {
            ui::frmPrice window;
            listed = window.findChild<QComboBox*>(QStringLiteral("cboJobs"))->count();
            window.installEventFilter(&paint);
            window.show();
            while (!paint.painted)
                app.processEvents(QEventLoop::AllEvents, 5);
            state.PauseTiming();
        }
        app.processEvents();
        state.ResumeTiming();
    }
    state.counters["orders"] = listed;
}

} // namespace

BENCHMARK(BM_Sheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PriceProcess)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PriceProcess)->Arg(-1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PriceProcess)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_MainWindow1000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
