#include "data/SqlFunctions.h"

#include <string>
#include <string_view>

#include <sqlite3.h>

#include "data/LetterCase.h"
#include "data/LikePattern.h"

namespace data {

namespace {

void likeFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    // SQLite calls like(pattern, text) for "text LIKE pattern".
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const int patternBytes = sqlite3_value_bytes(arguments[0]);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[1]));
    const int textBytes = sqlite3_value_bytes(arguments[1]);
    if (!pattern || !text) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const bool match = matchesLikePattern(std::string_view(text, static_cast<std::size_t>(textBytes)),
                                          std::string_view(pattern, static_cast<std::size_t>(patternBytes)));
    sqlite3_result_int(context, match ? 1 : 0);
}

void ucaseFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    if (!text) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const std::string upper =
        upperCaseText(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))));
    sqlite3_result_text(context, upper.data(), static_cast<int>(upper.size()), SQLITE_TRANSIENT);
}

} // namespace

void installFunctions(sqlite3* db)
{
    // A "quoted" name that is no column must be an error, never quietly read as a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "ucase", 1, flags, nullptr, ucaseFunction, nullptr, nullptr, nullptr);
}

} // namespace data
