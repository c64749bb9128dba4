#include "cli/PriceCommand.h"

#include "cli/PricingCommandRun.h"

namespace cli {

namespace {

const CommandText kPriceText = {
    .name = "price",
    .summary = "price an order at every quantity of a schedule",
    .synopsis = "DATAFOLDER --order NO [options]",
    .description =
        "Prices one quote or job of the shop database DATAFOLDER/vmdata.mdb at every quantity of the price-list\n"
        "schedule, exactly as the \"Create Price Sheet\" button of the window does, and prints the price lines.\n"
        "\n"
        "Like the window, the run changes the order's row in the shop database once, at the start: it clears\n"
        "the row's other quantities and stored estimate figures (PRESSQTY2 to 4, costs, hours, Adjustment ...)\n"
        "and marks it for print pricing. PRESSQTY is left as it is stored: each quantity is priced in a private\n"
        "copy of the row that other programs never see, so a run stopped at any moment leaves the order as it\n"
        "was after that first change.\n"
        "\n"
        "The schedule, rounding and direction come from DATAFOLDER/PriceData.dta when it is there (else the\n"
        "window's initial values: 100 by 25 to 500, by 100 to 2000, by 500 to 5000, no rounding); options\n"
        "override them. Ctrl-C stops the run between two quantities.\n"
        "\n"
        "The prices are then checked as a list: every quantity the same price, a larger quantity cheaper,\n"
        "or dearer per piece, than a smaller one, a rise far beyond the others. What they find is said on\n"
        "standard error (and in the JSON's \"checks\"); no price is held back for it.",
    .epilogue =
        "Exit codes: 0 all quantities priced; 1 another failure; 2 wrong arguments; 3 data folder or shop\n"
        "database missing, damaged, read-only or busy (another program changing it; nothing is printed then);\n"
        "4 order not found; 5 some quantities could not be priced; 130 stopped by Ctrl-C.",
};

} // namespace

PriceCommand::PriceCommand()
    : Command(kPriceText, pricingOptions({
          {"--format", "text|csv|json|matrix",
           "text: the quantities and prices as the sheet prints them, under what was priced (default); csv: "
           "quantity,price rows; json: prices, the engine's results and summary of every quantity, the "
           "window's lines and the list's checks; each quantity is written as soon as it is priced; matrix: the "
           "order's row of a price matrix as CSV, as \"pricebook book --matrix\" writes it, once every quantity "
           "is priced (none otherwise)",
           true},
          {"--category", "TEXT", "the category of the price matrix's row"},
      }))
{
}

int PriceCommand::run(const ParsedArguments& arguments) const
{
    return runPricingCommand(arguments, PricingCommand::Price);
}

} // namespace cli
