#include "data/ServerFaults.h"

#include <cctype>
#include <set>
#include <string_view>

#include <libpq-fe.h>

#include "data/JetErrors.h"

namespace data {

namespace {

// The first name in double quotes in a server message ('relation "ORDERS" does not exist').
std::string quotedNameIn(const std::string& message)
{
    const std::size_t open = message.find('"');
    const std::size_t close = open == std::string::npos ? open : message.find('"', open + 1);
    return close == std::string::npos ? std::string() : message.substr(open + 1, close - open - 1);
}

bool changesData(const std::string& sql)
{
    std::size_t at = 0;
    while (at < sql.size() && std::isspace(static_cast<unsigned char>(sql[at])))
        ++at;
    std::string word;
    while (at < sql.size() && std::isalpha(static_cast<unsigned char>(sql[at])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[at++])));
    return word != "SELECT" && word != "WITH" && word != "VALUES";
}

} // namespace

bool isSecretSetting(std::string_view keyword)
{
    // What libpq itself marks as secret (password, sslpassword ...), asked once.
    static const std::set<std::string> secrets = [] {
        std::set<std::string> names{"password", "sslpassword"};
        if (PQconninfoOption* defaults = PQconndefaults()) {
            for (const PQconninfoOption* option = defaults; option->keyword; ++option)
                if (option->dispchar && std::string_view(option->dispchar) == "*")
                    names.insert(option->keyword);
            PQconninfoFree(defaults);
        }
        return names;
    }();
    return secrets.count(std::string(keyword)) > 0;
}

std::string conninfoWithoutSecrets(const std::string& conninfo)
{
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), nullptr);
    if (!options)
        return "the connection string given";
    std::string shown;
    for (const PQconninfoOption* option = options; option->keyword; ++option) {
        if (!option->val || isSecretSetting(option->keyword))
            continue;
        shown += (shown.empty() ? "" : " ") + std::string(option->keyword) + "=" + option->val;
    }
    PQconninfoFree(options);
    return shown;
}

platform::Fault serverStatementFault(const std::string& name, const pg_result* result, const std::string& sql)
{
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const std::string code = state ? state : "";
    const std::string message = PQresultErrorMessage(result);
    const std::string detail = message + "SQL: " + sql;
    const std::string object = quotedNameIn(message);
    const std::string_view group = std::string_view(code).substr(0, 2);

    if (code == "55P03" || code == "40P01" || code == "40001") {
        if (changesData(sql))
            return platform::Fault(Locked, "Could not update; currently locked.", detail);
        return platform::Fault(Locked, "Could not read; currently locked by another program.", detail);
    }
    if (code == "57014")
        return platform::Fault(
            ServerQueryTimeout,
            "The shop database server stopped a query that took too long in the " + name + ".", detail);
    if (code == "42P01")
        return platform::Fault(InputTableNotFound,
                               "The database engine cannot find the input table or query '" + object +
                                   "'. Make sure it exists and that its name is spelled correctly.",
                               detail);
    if (code == "42703")
        return platform::Fault(TooFewParameters, "Too few parameters: there is no column '" + object + "'.",
                               detail);
    if (code == "42883")
        return platform::Fault(UndefinedFunction, "Undefined function in expression.", detail);
    if (code == "42P07" && sql.find("INDEX") != std::string::npos && sql.find("INDEX") < sql.find('('))
        return platform::Fault(IndexExists, "The index '" + object + "' already exists.", detail);
    if (code == "42P07")
        return platform::Fault(TableExists, "Table '" + object + "' already exists.", detail);
    if (code == "23505")
        return platform::Fault(
            DuplicateValues,
            "The changes you requested to the table were not successful because they would "
            "create duplicate values in the index or primary key.",
            detail);
    if (code == "23502")
        return platform::Fault(FieldCannotBeNull, "The field cannot contain a Null value.", detail);
    if (group == "23")
        return platform::Fault(ValidationRule, "One or more values are prohibited by a rule of the table.",
                               detail);
    if (code == "25006" || code == "42501")
        return platform::Fault(
            ReadOnly, "Cannot update. The shop's " + name + " may not be changed from here.", detail);
    if (code == "53100")
        return platform::Fault(DiskFull, "The disk of the shop database server is full.", detail);
    if (code == "22P02" || code == "22003" || code == "42804")
        return platform::Fault(DataTypeConversion, "Data type conversion error.", detail);
    if (group == "08")
        return lostConnectionFault(name, message, sql);
    if (group == "42")
        return platform::Fault(SyntaxError, "Syntax error in a query of the " + name + ".", detail);
    return platform::Fault(ReservedError, "Database error in the " + name + ".", detail);
}

platform::Fault
lostConnectionFault(const std::string& name, const std::string& message, const std::string& sql)
{
    return platform::Fault(ServerConnectionFailed,
                           "The connection to the shop's " + name +
                               " was lost. Nothing that was not finished was saved there.",
                           message + (sql.empty() ? "" : "\nSQL: " + sql));
}

} // namespace data
