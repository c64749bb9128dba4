#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/Command.h"
#include "pricing/PriceBook.h"

namespace cli {

// "pricebook demo-data DIR [--replace]": builds a data folder for the demo shop.
class DemoDataCommand : public Command
{
public:
    DemoDataCommand();

protected:
    int run(const ParsedArguments& arguments) const override;
};

// Creates the folder when needed and writes its shop database "vmdata.mdb" from the demo shop's SQL, and a
// "Categories.dat" with a few categories and a "PriceBook.dat" with the demo book when the folder has none.
// All or nothing: every file is built beside its name first and they take their names only when all are
// whole, the database last; what a run that was killed left is removed first. An existing vmdata.mdb is
// replaced only when `replace` is set. Failures are platform::Fault naming the file. Returns the path of the
// database written.
std::string buildDemoShop(const std::string& folder, bool replace);

// The demo shop's Counter Price Book: a page for every order of the demo shop, each on the window's first
// schedule (100 to 5,000, 38 quantities) under the category of its product.
std::vector<pricing::BookPage> demoPriceBook();
// Puts the demo shop into the database of a server (see data::loadShopIntoServer); with a folder, makes
// it a data folder on that server: "vmdata.pg" (kept unless `replace`) and "Categories.dat". Returns how
// the database is named in messages.
std::string buildDemoShopOnServer(const std::string& conninfo, const std::string& folder, bool replace);

// The categories the demo data folder starts with.
const std::vector<std::string>& demoCategories();

// The demo shop's SQL, embedded at build time from demo/schema.sql and demo/demo-data.sql.
std::string_view demoSchemaSql();
std::string_view demoDataSql();

} // namespace cli
