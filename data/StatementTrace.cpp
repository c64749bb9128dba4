#include "data/StatementTrace.h"

#include <mutex>

namespace data {

namespace {

std::mutex g_traceMutex;
std::function<void(const std::string&)> g_traceHook;
BoundTraceHook g_boundTraceHook;

} // namespace

void setTraceHook(std::function<void(const std::string& sql)> hook)
{
    std::lock_guard lock(g_traceMutex);
    g_traceHook = std::move(hook);
}

void setBoundTraceHook(BoundTraceHook hook)
{
    std::lock_guard lock(g_traceMutex);
    g_boundTraceHook = std::move(hook);
}

void traceStatement(const std::string& sql, std::span<const platform::Value> parameters)
{
    // The hooks are copied out so that one may set another hook (or none) without waiting on itself.
    std::function<void(const std::string&)> hook;
    BoundTraceHook boundHook;
    {
        std::lock_guard lock(g_traceMutex);
        hook = g_traceHook;
        boundHook = g_boundTraceHook;
    }
    if (hook)
        hook(sql);
    if (boundHook)
        boundHook(sql, parameters);
}

} // namespace data
