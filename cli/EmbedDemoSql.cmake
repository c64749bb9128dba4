# Writes a C++ source holding the demo shop's SQL (the schema, then the rows), so the program can build a
# demo data folder from any working folder. Run by cli/CMakeLists.txt at build time:
#   cmake -DSCHEMA=... -DDATA=... -DOUTPUT=... -P EmbedDemoSql.cmake
# The texts are written as byte arrays, so no character of the SQL can end a string literal early.

function(bytes_of file out_var)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Twenty bytes a line keeps the generated file readable in a debugger.
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n    " bytes "${bytes}")
    set(${out_var} "${bytes}" PARENT_SCOPE)
    set(${out_var}_SIZE "${size}" PARENT_SCOPE)
endfunction()

bytes_of("${SCHEMA}" schema)
bytes_of("${DATA}" data)

set(content "// Generated from demo/schema.sql and demo/demo-data.sql by cli/EmbedDemoSql.cmake. Do not edit.
#include \"cli/DemoDataCommand.h\"

namespace cli {

namespace {
const unsigned char kSchema[] = {
    ${schema} 0x00};
const unsigned char kData[] = {
    ${data} 0x00};
} // namespace

std::string_view demoSchemaSql()
{
    return {reinterpret_cast<const char*>(kSchema), ${schema_SIZE}};
}

std::string_view demoDataSql()
{
    return {reinterpret_cast<const char*>(kData), ${data_SIZE}};
}

} // namespace cli
")

# Rewrite only when the text changed, so an unchanged demo does not relink the program.
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
    if(previous STREQUAL content)
        return()
    endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
