#pragma once

#include "cli/Command.h"

namespace cli {

// "pricebook book DATAFOLDER (--pdf FILE | --text FILE) [--only CATEGORY]": prices every page of the data
// folder's Counter Price Book (PriceBook.dat), each with its own schedule, and writes the whole book: a
// cover, the contents and every page as the single sheet prints it.
class BookCommand : public Command
{
public:
    BookCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
};

} // namespace cli
