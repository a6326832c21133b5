// The calls a process made into the system DLLs, read from Wine's relay trace (WINEDEBUG=+relay,
// limited by the prefix's RelayInclude to the calls the window tests watch).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct RelayCall {
    std::string function;         // without its DLL, e.g. "Shell_NotifyIconW"
    std::vector<uint64_t> args;   // as traced, in hexadecimal
    bool returned = false;
    uint64_t result = 0;
};

// The calls of one thread (traced lines begin "<thread id in hex>:"), in the order they were
// made, from a trace's text.
std::vector<RelayCall> ParseRelayTrace(const std::string& trace, uint32_t threadId);

// The calls of `function` among `calls`.
std::vector<RelayCall> CallsOf(const std::vector<RelayCall>& calls, const std::string& function);

// The index of the first call of `function` with the given leading arguments, or -1: the
// order of calls by index.
int FindCall(const std::vector<RelayCall>& calls, const std::string& function,
             const std::vector<uint64_t>& leadingArgs);
