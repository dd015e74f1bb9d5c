#include "platform/ui/UILog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace DuiLib {

namespace {

std::atomic<UiLogSink> g_sink{nullptr};

std::string FormatV(LPCSTR fmt, va_list args)
{
    char buf[1024];
    int n = vsnprintf(buf, sizeof buf, fmt, args);
    if (n < 0) return std::string();
    return std::string(buf, (size_t)n < sizeof buf ? (size_t)n : sizeof buf - 1);
}

}  // namespace

UiLogSink SetUiLogSink(UiLogSink sink)
{
    return g_sink.exchange(sink);
}

void __cdecl UiLogError(LPCSTR fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string msg = FormatV(fmt, args);
    va_end(args);
    std::string line = "[ui] error: " + msg + "\n";
    ::OutputDebugStringA(line.c_str());
    fputs(line.c_str(), stderr);
    fflush(stderr);
    if (UiLogSink sink = g_sink.load()) sink(msg.c_str());
}

void __cdecl UiTrace(LPCSTR fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string line = "[ui] " + FormatV(fmt, args) + "\n";
    va_end(args);
    ::OutputDebugStringA(line.c_str());
}

}  // namespace DuiLib
