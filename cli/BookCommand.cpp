#include "cli/BookCommand.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/CtrlC.h"
#include "cli/ExitCode.h"
#include "cli/GuiApplication.h"
#include "cli/Report.h"
#include "cli/SheetCommand.h"
#include "data/Database.h"
#include "platform/Fault.h"
#include "platform/ReplacementFile.h"
#include "platform/Format.h"
#include "pricing/BookRun.h"
#include "pricing/PriceChanges.h"
#include "pricing/PriceBook.h"
#include "pricing/PriceMatrix.h"
#include "pricing/PriceSettings.h"
#include "pricing/PricedBook.h"
#include "sheet/BookLayout.h"
#include "sheet/BookPdf.h"
#include "sheet/PaperSize.h"
#include "sheet/SheetPdf.h"
#include "startup/ShopSettings.h"

namespace cli {

namespace {

const CommandText kBookText = {
    .name = "book",
    .summary = "print the whole Counter Price Book of the data folder",
    .synopsis = "DATAFOLDER (--pdf FILE | --text FILE) [--only CATEGORY] [--changes FILE] [--matrix FILE]\n"
                "DATAFOLDER (--changes FILE | --matrix FILE) [--only CATEGORY]",
    .description =
        "Prices every page of DATAFOLDER/PriceBook.dat (one page a line: order number, part, Q or J,\n"
        "category, Q1,J1,Q2,J2,Q3,J3,Q4, rounding none|0.25|1.00, up|down, courier|times|sans; missing\n"
        "items take the price-data file's parameters) with the very run of \"pricebook price\", and writes\n"
        "the book: a cover with the shop's name, the date and the number of pages, the contents by\n"
        "category, and every page as \"pricebook sheet\" prints it, numbered at the foot. A page whose order\n"
        "cannot be found or priced at every quantity is not printed: the contents list it with the reason.\n"
        "A book prices at most 1,000,000 quantities, its pages together.\n"
        "\n"
        "What changed: a whole book written to a file keeps the prices it printed beside the book\n"
        "(PriceBook.last). The next book marks each price that moved since with \"*\" and --changes writes\n"
        "them as CSV (reference, part, category, quantity, old price, new price, change in per cent),\n"
        "largest change first. A page whose quantities are not those of last time shows them unmarked.\n"
        "--changes without --pdf or --text only reports: no book is written and the kept prices stay.\n"
        "\n"
        "The price matrix (--matrix) is the book as a web store imports it: a row for each printed page\n"
        "(reference, order, part, quote or job, description, category) and a column for each quantity\n"
        "of the book's pages, each cell the page's price as a plain number (1446.39), empty where the\n"
        "page has no such quantity. It holds the pages the book prints, from the same pricing.\n"
        "\n"
        "Each printed page's prices are checked as a list: every quantity the same price, a larger\n"
        "quantity cheaper or dearer per piece than a smaller one, a rise far beyond the others. What\n"
        "they find is said on standard error and in the contents beside the page; nothing is held back.",
    .epilogue =
        "Exit codes: 0 every page printed; 1 nothing written (a file could not be written, no page to\n"
        "print); 2 wrong arguments; 3 the data folder, its book file or the shop database (missing,\n"
        "damaged, busy); 5 the book was written but some pages could not be priced; 130 stopped by Ctrl-C\n"
        "(nothing written).",
};

const Option kOptions[] = {
    {"--data", "DIR", "the data folder (instead of DATAFOLDER)"},
    {"--pdf", "FILE", "write the book as a PDF file (an existing file is replaced)"},
    paperOption(),
    {"--text", "FILE", "write the book as plain text, pages separated by form feeds (- for standard output)"},
    {"--only", "CATEGORY", "only the pages of this category"},
    {"--changes", "FILE", "write the prices changed since the last book as CSV (- for standard output)"},
    {"--matrix", "FILE", "write the book's price matrix, a row a page and a column a quantity\n"
                         "(- for standard output)"},
    {"--matrix-format", "csv|json", "the price matrix as CSV (default) or JSON", true},
    {"--program-dir", "DIR", "the program's folder, where the report work database lives"},
};

struct Options
{
    std::string dataFolder;
    std::string pdfPath;
    std::string textPath;
    std::optional<std::string> only;
    std::string changesPath;
    std::string matrixPath;
    pricing::MatrixFormat matrixFormat = pricing::MatrixFormat::Csv;
    std::string programFolder;
    std::optional<sheet::Paper> paper;
};

Options parse(const ParsedArguments& arguments)
{
    Options o;
    bool haveFolder = false;
    for (const auto& [word, value] : arguments.inOrder()) {
        if (word.empty() || word == "--data") {
            if (haveFolder && word.empty())
                throw UsageError{"more than one data folder: " + value};
            o.dataFolder = value;
            haveFolder = true;
        } else if (word == "--pdf" || word == "--text" || word == "--changes" || word == "--matrix") {
            if (value.empty())
                throw UsageError{word + " needs a file name"};
            (word == "--pdf"       ? o.pdfPath
             : word == "--text"    ? o.textPath
             : word == "--changes" ? o.changesPath
                                   : o.matrixPath) = value;
        } else if (word == "--matrix-format") {
            // The options table allows these two only.
            o.matrixFormat = value == "json" ? pricing::MatrixFormat::Json : pricing::MatrixFormat::Csv;
        } else if (word == "--only") {
            o.only = value;
        } else if (word == "--program-dir") {
            o.programFolder = value;
        } else if (word == "--paper") {
            o.paper = paperOf(value);
        }
    }
    if (!haveFolder || o.dataFolder.empty())
        throw UsageError{"no data folder given"};
    if (o.pdfPath.empty() && o.textPath.empty() && o.changesPath.empty() && o.matrixPath.empty())
        throw UsageError{"no output given (--pdf FILE, --text FILE, --changes FILE or --matrix FILE)"};
    if (!o.pdfPath.empty() && !o.textPath.empty())
        throw UsageError{"--pdf and --text: choose one"};
    if ((o.textPath == "-") + (o.changesPath == "-") + (o.matrixPath == "-") > 1)
        throw UsageError{"only one of --text, --changes and --matrix can go to standard output"};
    return o;
}

// Writes what `pieces` gives into the file, whole or not at all, or to standard output for "-". `what`
// names it in a failure ("The price book").
void writeOut(const std::string& path, const std::string& what, const platform::FilePieces& pieces)
{
    if (path == "-") {
        pieces([](std::string_view piece) { std::cout << piece; });
        flushOutput(std::cout);
        return;
    }
    platform::writeWholeFile(path, what, pieces);
}

} // namespace

BookCommand::BookCommand() : Command(kBookText, {std::begin(kOptions), std::end(kOptions)}) {}

int BookCommand::run(const ParsedArguments& arguments) const
{
    const Options options = parse(arguments);
    // Said before the book is priced, not after.
    for (const std::string* output : {&options.pdfPath, &options.textPath, &options.changesPath, &options.matrixPath})
        if (reportUnwritableOutput(*output))
            return ExitFailure;
    namespace fs = std::filesystem;
    std::error_code ignored;
    if (!fs::is_directory(options.dataFolder, ignored)) {
        report(std::cerr, "the data folder " + options.dataFolder + " was not found");
        return ExitDataFolder;
    }
    if (!options.programFolder.empty() && !fs::is_directory(options.programFolder, ignored)) {
        report(std::cerr, "the program folder " + options.programFolder + " was not found");
        return ExitFailure;
    }

    // Ctrl-C stops the book between quantities, in a wait for another program's lock, or while its PDF is
    // painted, and nothing is written.
    const CtrlC ctrlC;
    // The shop database stays open for the whole book, so it is checked and opened once.
    data::Database keepOpen;
    try {
        keepOpen = data::Database::open(pricing::databasePath(options.dataFolder));
    } catch (const platform::Fault& fault) {
        if (const std::optional<int> exit = reportBusyOrCancelled(fault, "the book was not written"))
            return *exit;
        report(std::cerr, fault.what(), fault.detail());
        return ExitDataFolder;
    }

    // Items a page leaves out take the parameters the window saved last.
    pricing::PriceParameters defaults;
    pricing::loadPriceData(options.dataFolder, defaults);
    std::vector<pricing::BookPage> pages;
    const std::string bookFile = pricing::priceBookPath(options.dataFolder);
    try {
        pages = pricing::readPriceBook(options.dataFolder, defaults);
    } catch (const platform::Fault& fault) {
        report(std::cerr, fault.what(), fault.detail());
        return ExitDataFolder;
    }
    if (pages.empty()) {
        report(std::cerr, "the price book " + bookFile + " has no pages (or is not there): nothing to print");
        return ExitDataFolder;
    }
    if (options.only) {
        std::erase_if(pages, [&](const pricing::BookPage& page) { return page.category != *options.only; });
        if (pages.empty()) {
            report(std::cerr, "no page of the price book is in the category \"" + *options.only + "\"");
            return ExitFailure;
        }
    }

    // What moved since the last book is found page by page as the book is priced, and each page's lines are
    // put aside until it is printed: a book of long pages holds one page's lines at a time.
    std::optional<pricing::LastBook> last;
    try {
        last = pricing::LastBook::open(options.dataFolder);
    } catch (const platform::Fault& fault) {
        report(std::cerr, fault.what(), fault.detail());
    }
    const std::string lastPrintedOn = last ? last->printedOn() : std::string();
    std::optional<pricing::PricedBook> priced;
    try {
        priced.emplace(std::move(last), !options.changesPath.empty());
    } catch (const platform::Fault& fault) {
        report(std::cerr, fault.what(), fault.detail());
        return ExitFailure;
    }

    pricing::BookRunCallbacks callbacks;
    callbacks.onPage = [](std::size_t index, std::size_t count, const pricing::BookPage& page) {
        notice("page " + std::to_string(index + 1) + " of " + std::to_string(count) + ": " +
               pricing::describeBookPage(page));
    };
    callbacks.onPriced = [&priced](std::size_t index, pricing::PricedPage& page) { priced->add(index, page); };
    callbacks.onMessage = [](const std::string& message) { report(std::cerr, message); };
    callbacks.cancelRequested = [] { return CtrlC::requested(); };
    pricing::BookRunResult result;
    try {
        result = pricing::priceBook(options.dataFolder,
                                    options.programFolder.empty() ? programFolder() : options.programFolder, pages,
                                    callbacks);
    } catch (const platform::Fault& fault) {
        report(std::cerr, std::string(fault.what()) + " The book was not written.", fault.detail());
        return ExitFailure;
    }
    if (result.stopped) {
        report(std::cerr, result.stopped->message + " The book was not written.", result.stopped->detail);
        return ExitDataFolder;
    }
    if (result.cancelled) {
        report(std::cerr, "cancelled at page " + std::to_string(result.pages.size()) + " of " +
                              std::to_string(pages.size()) + "; the book was not written");
        return ExitCancelled;
    }

    sheet::BookFront front;
    front.company = startup::shopCompanyName();
    front.printedAt = sheet::localNowSerial();
    front.changesSince = priced->changesSince();
    const sheet::LaidOutBook book = sheet::layOutBook(sheet::bookEntries(result.pages, *priced), front);
    const sheet::BookPageLines lines = [&priced](std::size_t entry) {
        return sheet::PageLines{priced->lines(entry), priced->marks(entry)};
    };

    const bool writesBook = !options.pdfPath.empty() || !options.textPath.empty();
    try {
        if (!options.pdfPath.empty()) {
            const auto application = guiApplication();
            const sheet::Paper paper = options.paper.value_or(sheet::systemPaper());
            const int written = sheet::writeBookPdf(book, lines, QString::fromStdString(options.pdfPath),
                                                    sheet::pageLayout(paper),
                                                    [](int, int) { return !CtrlC::requested(); });
            notice("the price book is in " + options.pdfPath + " (" + pagesText(written, paper) + ")");
        } else if (!options.textPath.empty()) {
            writeOut(options.textPath, "The price book",
                     [&](const auto& write) { sheet::renderBookText(book, lines, write); });
        }
        if (!options.matrixPath.empty()) {
            pricing::MatrixSize size;
            writeOut(options.matrixPath, "The price matrix", [&](const auto& write) {
                size = pricing::writeBookMatrix(result.pages, *priced, options.matrixFormat, write);
            });
            const std::string where = options.matrixPath == "-" ? "" : " is in " + printable(options.matrixPath);
            std::cerr << "pricebook: the price matrix" << where << " (" << size.rows << (size.rows == 1 ? " row, " : " rows, ") << size.quantities
                      << (size.quantities == 1 ? " quantity)" : " quantities)") << "\n";
        }
        if (!options.changesPath.empty()) {
            const std::vector<pricing::PriceChange> changes = priced->changes();
            writeOut(options.changesPath, "The change report",
                     [&](const auto& write) { pricing::writeChangesCsv(changes, result.pages, write); });
            notice(std::to_string(changes.size()) + (changes.size() == 1 ? " price" : " prices") +
                   " changed since the last book" +
                   (lastPrintedOn.empty() ? std::string(" (there is none yet)") : " of " + lastPrintedOn));
        }
    } catch (const platform::Fault& fault) {
        report(std::cerr, fault.what(), fault.detail());
        return CtrlC::requested() ? ExitCancelled : ExitFailure;
    }

    // The prices the binder now holds are kept for the next book: only after the whole book went to a file
    // (not part of it, not only a report). Pages that were not printed keep what they had.
    if (writesBook && !options.only && options.textPath != "-") {
        try {
            priced->keepForNextBook(options.dataFolder, result.pages,
                                    platform::formatDate(front.printedAt, "mm/dd/yy"));
        } catch (const platform::Fault& fault) {
            report(std::cerr, std::string(fault.what()) + " The next book cannot show what changed.", fault.detail());
        }
    }

    // What the printed pages' prices give to look at, page by page; nothing of it holds a page back.
    for (std::size_t k = 0; k < result.pages.size(); ++k) {
        for (const pricing::PriceCheck& check : priced->checks(k))
            notice("check the prices of " + pricing::describeBookPage(result.pages[k].page) + ": " + check.text);
    }
    int exit = ExitSuccess;
    for (const pricing::PricedPage& priced : result.pages) {
        if (priced.printable())
            continue;
        report(std::cerr, "the page of " + pricing::describeBookPage(priced.page) +
                              (writesBook ? " was not printed: " : " was left out: ") + priced.problem,
               priced.detail);
        exit = ExitNotAllPriced;
    }
    return exit;
}

} // namespace cli
