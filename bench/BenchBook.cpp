// Speed of the whole Counter Price Book: every page priced by the pricing run, laid out and written as one
// PDF file, as "pricebook book DATAFOLDER --pdf FILE" does it, or written as the web store's price matrix, as
// "pricebook book DATAFOLDER --matrix FILE" does it. The demo book (every demo order, 38 quantities each), a
// book of 100 pages (the demo book's pages over and over), and the demo book with the shop database on a
// PostgreSQL server (its database named by PRICEBOOK_BENCH_PG). And the peak memory of the book command over
// books of several 100,000-quantity pages.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/ChildProcess.h"
#include "cli/DemoDataCommand.h"
#include "cli/GuiApplication.h"
#include "platform/Fault.h"
#include "platform/ReplacementFile.h"
#include "pricing/BookRun.h"
#include "pricing/PriceBook.h"
#include "pricing/PriceMatrix.h"
#include "pricing/PricedBook.h"
#include "sheet/BookLayout.h"
#include "sheet/BookPdf.h"

namespace fs = std::filesystem;

namespace {

struct Shop
{
    std::string dataFolder;
    std::string programFolder;
    std::string pdf;
    std::string matrix;
};

fs::path benchRoot()
{
    return fs::temp_directory_path() / ("pricebook-bench-book-" + std::to_string(getpid()));
}

const Shop& shop()
{
    static const Shop built = [] {
        const fs::path root = benchRoot();
        Shop s{(root / "data").string(), (root / "program").string(), (root / "book.pdf").string(),
               (root / "matrix.csv").string()};
        fs::create_directories(s.programFolder);
        cli::buildDemoShop(s.dataFolder, true);
        return s;
    }();
    return built;
}

// The demo shop on the server, in the database the connection string names (its shop tables replaced),
// with a data folder of its own pointing at it.
const Shop& serverShop(const std::string& conninfo)
{
    static const Shop built = [&] {
        const fs::path root = benchRoot();
        Shop s{(root / "server-data").string(), (root / "program").string(), (root / "book.pdf").string(),
               (root / "matrix.csv").string()};
        fs::create_directories(s.programFolder);
        cli::buildDemoShopOnServer(conninfo, s.dataFolder, true);
        return s;
    }();
    return built;
}

QGuiApplication* application()
{
    static const std::unique_ptr<QGuiApplication> app = cli::guiApplication();
    return app.get();
}

// The demo book's pages, repeated until the book has `count` pages (0: the demo book as it is).
std::vector<pricing::BookPage> bookOf(std::size_t count)
{
    const std::vector<pricing::BookPage> demo = pricing::readPriceBook(shop().dataFolder, {});
    if (count == 0)
        return demo;
    std::vector<pricing::BookPage> pages;
    for (std::size_t k = 0; k < count; ++k)
        pages.push_back(demo[k % demo.size()]);
    return pages;
}

void BM_Book(benchmark::State& state)
{
    application();
    const Shop* from = &shop();
    if (state.range(0) < 0) {
        const char* server = std::getenv("PRICEBOOK_BENCH_PG");
        if (!server) {
            state.SkipWithError("PRICEBOOK_BENCH_PG (the connection string of a database for the demo shop) is not set");
            return;
        }
        from = &serverShop(server);
    }
    const std::vector<pricing::BookPage> pages = bookOf(static_cast<std::size_t>(std::max<std::int64_t>(state.range(0), 0)));
    std::size_t quantities = 0;
    for (auto _ : state) {
        try {
            pricing::PricedBook priced(pricing::LastBook::open(from->dataFolder), false);
            pricing::BookRunCallbacks callbacks;
            quantities = 0;
            callbacks.onPriced = [&](std::size_t index, pricing::PricedPage& page) {
                quantities += page.lines.size();
                priced.add(index, page);
            };
            const pricing::BookRunResult result =
                pricing::priceBook(from->dataFolder, from->programFolder, pages, callbacks);
            for (const pricing::PricedPage& page : result.pages) {
                if (!page.printable()) {
                    state.SkipWithError(page.problem.c_str());
                    return;
                }
            }
            const sheet::LaidOutBook book = sheet::layOutBook(sheet::bookEntries(result.pages, priced),
                                                              {"Harbor Print", 46000.5, priced.changesSince()});
            sheet::writeBookPdf(
                book, [&](std::size_t entry) { return sheet::PageLines{priced.lines(entry), priced.marks(entry)}; },
                QString::fromStdString(from->pdf));
            priced.keepForNextBook(from->dataFolder, result.pages, "12/09/26");
        } catch (const platform::Fault& fault) {
            state.SkipWithError(fault.what());
            return;
        }
    }
    state.counters["pages"] = static_cast<double>(pages.size());
    state.counters["quantities"] = static_cast<double>(quantities);
}
// 0: the demo book (12 pages); 100: a book of 100 pages; -1: the demo book from the server.
BENCHMARK(BM_Book)->Arg(0)->Arg(100)->Arg(-1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same books priced alike, written as the price matrix (CSV) instead of the PDF.
void BM_BookMatrix(benchmark::State& state)
{
    const std::vector<pricing::BookPage> pages = bookOf(static_cast<std::size_t>(state.range(0)));
    pricing::MatrixSize size;
    for (auto _ : state) {
        try {
            pricing::PricedBook priced(std::nullopt, false);
            pricing::BookRunCallbacks callbacks;
            callbacks.onPriced = [&](std::size_t index, pricing::PricedPage& page) { priced.add(index, page); };
            const pricing::BookRunResult result =
                pricing::priceBook(shop().dataFolder, shop().programFolder, pages, callbacks);
            platform::writeWholeFile(shop().matrix, "The price matrix", [&](const auto& write) {
                size = pricing::writeBookMatrix(result.pages, priced, pricing::MatrixFormat::Csv, write);
            });
        } catch (const platform::Fault& fault) {
            state.SkipWithError(fault.what());
            return;
        }
    }
    if (size.rows != pages.size())
        state.SkipWithError("a page of the book was left out");
    state.counters["rows"] = static_cast<double>(size.rows);
    state.counters["quantities"] = static_cast<double>(size.quantities);
}
BENCHMARK(BM_BookMatrix)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

// Only what follows the pricing of the 100-page book: its PDF (laid out and painted) or its matrix (CSV, JSON),
// each from the same priced book.
void BM_BookOutput(benchmark::State& state)
{
    application();
    const std::vector<pricing::BookPage> pages = bookOf(100);
    pricing::PricedBook priced(std::nullopt, false);
    pricing::BookRunCallbacks callbacks;
    callbacks.onPriced = [&](std::size_t index, pricing::PricedPage& page) { priced.add(index, page); };
    const pricing::BookRunResult result = pricing::priceBook(shop().dataFolder, shop().programFolder, pages, callbacks);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            const sheet::LaidOutBook book =
                sheet::layOutBook(sheet::bookEntries(result.pages, priced), {"Harbor Print", 46000.5, {}});
            sheet::writeBookPdf(
                book, [&](std::size_t entry) { return sheet::PageLines{priced.lines(entry), priced.marks(entry)}; },
                QString::fromStdString(shop().pdf));
        } else {
            const auto format = state.range(0) == 1 ? pricing::MatrixFormat::Csv : pricing::MatrixFormat::Json;
            platform::writeWholeFile(shop().matrix, "The price matrix", [&](const auto& write) {
                pricing::writeBookMatrix(result.pages, priced, format, write);
            });
        }
    }
    state.SetLabel(state.range(0) == 0 ? "pdf" : state.range(0) == 1 ? "matrix csv" : "matrix json");
}
BENCHMARK(BM_BookOutput)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

// "pricebook book DIR --pdf FILE" as a whole process over a book of range(0) pages of range(1) quantities
// each (the letterhead 24101, 1 by 1), twice: the first book, then the next one that compares every price
// with it. The counter is the larger of the two processes' peak memory: the pages' lines are put aside as
// they are priced and painted one page at a time, so the peak does not grow with the pages. With range(2) 1,
// "pricebook book DIR --matrix FILE" once instead: the matrix too is written a page at a time.
void BM_BookProcess(benchmark::State& state)
{
    const auto pages = static_cast<std::size_t>(state.range(0));
    const std::string last = std::to_string(state.range(1));
    const fs::path root = fs::path(shop().dataFolder).parent_path() / ("long-" + std::to_string(pages) + "-" + last);
    const std::string folder = (root / "data").string();
    fs::remove_all(root);
    cli::buildDemoShop(folder, true);
    std::vector<pricing::BookPage> book;
    for (std::size_t k = 0; k < pages; ++k) {
        pricing::BookPage page = pricing::parsePriceBook("24101,1,Q,Letterheads " + std::to_string(k) + ",1,1," + std::to_string(state.range(1) - 2) +
                                                             ",1," + std::to_string(state.range(1) - 1) + ",1," + last +
                                                             ",none,down,times",
                                                         {})
                                     .front();
        book.push_back(page);
    }
    pricing::writePriceBook(folder, book);
    const bool matrix = state.range(2) == 1;
    std::vector<std::string> words = {PRICEBOOK_PROGRAM,
                                      "book",
                                      folder,
                                      matrix ? "--matrix" : "--pdf",
                                      (root / (matrix ? "matrix.csv" : "book.pdf")).string(),
                                      "--program-dir",
                                      shop().programFolder};
    long peakKilobytes = 0;
    for (auto _ : state) {
        for (int run = 0; run < (matrix ? 1 : 2); ++run) {
            const bench::ChildRun book = bench::runChild(words, STDERR_FILENO);
            peakKilobytes = std::max(peakKilobytes, book.peakKilobytes);
            if (!book.succeeded) {
                state.SkipWithError("pricebook book failed");
                break;
            }
        }
    }
    fs::remove_all(root);
    state.counters["peak_MB"] = static_cast<double>(peakKilobytes) / 1024.0;
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_BookProcess)
    ->Args({1, 100000, 0})
    ->Args({2, 100000, 0})
    ->Args({4, 100000, 0})
    ->Args({1, 100000, 1})
    ->Args({4, 100000, 1})
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
