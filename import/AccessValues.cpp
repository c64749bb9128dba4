#include "import/AccessValues.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <sqlite3.h>

#include "data/ColumnValues.h"
#include "platform/Format.h"

namespace access_import {

namespace {

// How many decimals a Numeric column keeps. libmdb fills its two fields the other way round from their names
// (a Numeric (18, 0) column comes back with col_scale 18 and col_prec 0); the scale is never above the
// precision, so the smaller of the two is the scale whichever way a libmdb version fills them.
int numericDecimals(const MdbColumn& column)
{
    return std::min(column.col_prec, column.col_scale);
}

std::int64_t littleEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return static_cast<std::int64_t>(value);
}

double littleEndianDouble(const unsigned char* bytes)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(littleEndian(bytes, 8));
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float littleEndianSingle(const unsigned char* bytes)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(littleEndian(bytes, 4));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

std::string declaredType(const MdbColumn& column)
{
    switch (column.col_type) {
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
        return "TEXT";
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return "INTEGER";
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
        return "REAL";
    case MDB_NUMERIC:
        return numericDecimals(column) == 0 ? "INTEGER" : "REAL";
    case MDB_BOOL:
        return "YESNO";
    case MDB_DATETIME:
        return "DATETIME";
    case MDB_BINARY:
    case MDB_OLE:
        return "BLOB";
    default:
        return "";
    }
}

void bindValue(MdbHandle* mdb, BoundColumn& bound, sqlite3_stmt* insert, int index, const std::string& table)
{
    MdbColumn& column = *bound.column;
    const int type = column.col_type;
    if (type == MDB_BOOL) {
        // Yes/no as the old engine stored it: -1 for yes, 0 for no.
        sqlite3_bind_int(insert, index, std::strcmp(bound.buffer.data(), "0") != 0 ? -1 : 0);
        return;
    }
    if (bound.length == 0 && column.cur_value_len == 0) {
        sqlite3_bind_null(insert, index);
        return;
    }
    const int start = column.cur_value_start;
    const int size = column.cur_value_len;
    const auto rawBytes = [&](int needed) -> const unsigned char* {
        if (start < 0 || size < needed || start + size > static_cast<int>(mdb->fmt->pg_size))
            throw childFailure("the value of column " + bound.name + " of table " + table + " cannot be read");
        return mdb->pg_buf + start;
    };
    switch (type) {
    case MDB_FLOAT:
        sqlite3_bind_double(insert, index, static_cast<double>(littleEndianSingle(rawBytes(4))));
        return;
    case MDB_DOUBLE:
        sqlite3_bind_double(insert, index, littleEndianDouble(rawBytes(8)));
        return;
    case MDB_MONEY:
        // A count of ten-thousandths: divided once, the nearest double reads back as the exact 4-decimal sum.
        sqlite3_bind_double(insert, index, static_cast<double>(littleEndian(rawBytes(8), 8)) / 10000.0);
        return;
    case MDB_DATETIME: {
        const std::string text = data::dateText(littleEndianDouble(rawBytes(8)));
        sqlite3_bind_text(insert, index, text.c_str(), -1, SQLITE_TRANSIENT);
        return;
    }
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        sqlite3_bind_int64(insert, index, std::strtoll(bound.buffer.data(), nullptr, 10));
        return;
    case MDB_NUMERIC: {
        const std::string text(bound.buffer.data(), static_cast<std::size_t>(bound.length));
        if (numericDecimals(column) == 0 && text.find_first_of(".eE") == std::string::npos) {
            errno = 0;
            const long long whole = std::strtoll(text.c_str(), nullptr, 10);
            if (errno == 0) {
                sqlite3_bind_int64(insert, index, whole);
                return;
            }
        }
        sqlite3_bind_double(insert, index, std::strtod(text.c_str(), nullptr));
        return;
    }
    case MDB_BINARY:
        sqlite3_bind_blob(insert, index, rawBytes(0), size, SQLITE_TRANSIENT);
        return;
    case MDB_OLE: {
        std::size_t oleSize = 0;
        void* ole = mdb_ole_read_full(mdb, &column, &oleSize);
        if (!ole) {
            sqlite3_bind_null(insert, index);
            return;
        }
        sqlite3_bind_blob(insert, index, ole, static_cast<int>(oleSize), SQLITE_TRANSIENT);
        std::free(ole);
        return;
    }
    default:
        sqlite3_bind_text(insert, index, bound.buffer.data(), bound.length, SQLITE_TRANSIENT);
        return;
    }
}

} // namespace access_import
