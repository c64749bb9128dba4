#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace data {

// The statements of an SQL script of the old dialect one by one, without comments, BEGIN and COMMIT: the
// demo shop's schema and rows, for a database that runs one statement at a time.
std::vector<std::string> scriptStatements(std::string_view script);

// Puts a whole shop (its CREATE TABLE statements, then its rows) into the database of a server, in one
// transaction: every table and row, or nothing. A database that holds any of the shop's tables already is
// refused with a fault naming them, unless `replace`, when those tables are dropped first (in the same
// transaction). With `expectedRows` (table, rows), each table's count of rows is checked before the commit:
// a count that differs is a fault and nothing is kept. Returns how the shop database is named in messages.
std::string loadShopIntoServer(const std::string& conninfo,
                               const std::vector<std::string>& statements,
                               bool replace,
                               const std::vector<std::pair<std::string, long>>& expectedRows = {});

// What copyShopToServer copied: each table with its rows, and how the server's database is named.
struct ShopCopy
{
    std::string database;
    std::vector<std::pair<std::string, long>> tables;
};

// Copies every table of a shop database file, with its columns' types and every row in stored order, into
// the database of a server (see loadShopIntoServer: all or nothing, refused where shop tables are there
// unless `replace`, every table's rows counted before the commit). The file is only read.
ShopCopy copyShopToServer(const std::string& databaseFile, const std::string& conninfo, bool replace);

} // namespace data
