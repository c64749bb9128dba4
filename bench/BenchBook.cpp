// Speed of the whole Counter Price Book: every page priced by the pricing run, laid out and written as one
// PDF file, as "pricebook book DATAFOLDER --pdf FILE" does it. The demo book (every demo order, 38 quantities
// each), a book of 100 pages (the demo book's pages over and over), and the demo book with the shop
// database on a PostgreSQL server (its database named by PRICEBOOK_BENCH_PG).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/DemoDataCommand.h"
#include "cli/GuiApplication.h"
#include "platform/Fault.h"
#include "pricing/BookRun.h"
#include "pricing/PriceBook.h"
#include "sheet/BookLayout.h"
#include "sheet/BookPdf.h"

namespace fs = std::filesystem;

namespace {

struct Shop
{
    std::string dataFolder;
    std::string programFolder;
    std::string pdf;
};

fs::path benchRoot()
{
    return fs::temp_directory_path() / ("pricebook-bench-book-" + std::to_string(getpid()));
}

const Shop& shop()
{
    static const Shop built = [] {
        const fs::path root = benchRoot();
        Shop s{(root / "data").string(), (root / "program").string(), (root / "book.pdf").string()};
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
        Shop s{(root / "server-data").string(), (root / "program").string(), (root / "book.pdf").string()};
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
        const pricing::BookRunResult priced = pricing::priceBook(from->dataFolder, from->programFolder, pages);
        std::vector<sheet::BookEntry> entries;
        quantities = 0;
        for (const pricing::PricedPage& page : priced.pages) {
            sheet::BookEntry& entry = entries.emplace_back();
            entry.category = page.page.category;
            entry.reference = page.page.orderNo;
            if (!page.printable()) {
                state.SkipWithError(page.problem.c_str());
                return;
            }
            quantities += page.lines.size();
            sheet::SheetInputs& in = entry.sheet.emplace();
            in.priceLines = page.lines;
            in.category = page.page.category;
            in.orderNo = page.order->orderNo;
            in.description = page.order->description;
            in.stock = page.order->stock;
            in.size = page.order->size;
            in.bindery = page.order->bindery;
        }
        const sheet::LaidOutBook book = sheet::layOutBook(entries, {"Harbor Print", 46000.5, {}});
        try {
            sheet::writeBookPdf(book, QString::fromStdString(shop().pdf));
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

} // namespace

BENCHMARK_MAIN();
