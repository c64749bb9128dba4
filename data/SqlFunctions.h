#pragma once

struct sqlite3;

namespace data {

// What every connection of this layer gets: the old engine's like() and ucase(), and no reading of an
// unknown "quoted" name as a text. Public so that a raw sqlite3 handle (the database floor benchmark) runs
// the same SQL texts the same way.
void installFunctions(sqlite3* db);

} // namespace data
