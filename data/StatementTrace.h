#pragma once

#include <functional>
#include <span>
#include <string>

#include "platform/Value.h"

namespace data {

// Sees a statement about to be sent, with the values bound to its ?1, ?2 ...
using BoundTraceHook = std::function<void(const std::string& sql, std::span<const platform::Value> parameters)>;

// Sees every statement text that SQLite runs (after dialect adaptation), in order; for the database
// floor benchmark. Pass an empty function to stop tracing.
void setTraceHook(std::function<void(const std::string& sql)> hook);

// The same, with the values bound to ?1, ?2 ... of each statement (the row writes carry theirs so), for
// replaying a run's statements exactly. Pass an empty function to stop tracing.
void setBoundTraceHook(BoundTraceHook hook);

// Hands a statement about to run, with its bound values, to the hooks set.
void traceStatement(const std::string& sql, std::span<const platform::Value> parameters = {});

} // namespace data
