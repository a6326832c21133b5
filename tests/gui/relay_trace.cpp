#include "relay_trace.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

namespace {

// "Call dll.Function(a,b,c) ret=..." or "Ret  dll.Function() retval=r ret=...".
bool ParseCall(const std::string& line, size_t start, RelayCall& call)
{
    const size_t open = line.find('(', start);
    const size_t close = line.find(')', open);
    const size_t dot = line.rfind('.', open);
    if (open == std::string::npos || close == std::string::npos || dot == std::string::npos ||
        dot < start) {
        return false;
    }
    call.function = line.substr(dot + 1, open - dot - 1);
    for (size_t at = open + 1; at < close;) {
        call.args.push_back(strtoull(line.c_str() + at, nullptr, 16));
        const size_t comma = line.find(',', at);
        at = comma == std::string::npos || comma > close ? close : comma + 1;
    }
    const size_t retval = line.find(" retval=", close);
    if (retval != std::string::npos) {
        call.returned = true;
        call.result = strtoull(line.c_str() + retval + 8, nullptr, 16);
    }
    return true;
}

// Pairs a return (traced without its arguments) with the latest open call of the function.
void MatchReturn(std::vector<RelayCall>& calls, const RelayCall& ret)
{
    for (size_t i = calls.size(); i-- > 0;) {
        RelayCall& call = calls[i];
        if (!call.returned && call.function == ret.function) {
            call.returned = true;
            call.result = ret.result;
            return;
        }
    }
}

}  // namespace

std::vector<RelayCall> ParseRelayTrace(const std::string& trace, uint32_t threadId)
{
    char prefix[16];
    snprintf(prefix, sizeof prefix, "%04x:", static_cast<unsigned>(threadId));
    const std::string ownCall = std::string(prefix) + "Call ";
    const std::string ownReturn = std::string(prefix) + "Ret  ";
    std::vector<RelayCall> calls;
    for (size_t start = 0; start < trace.size();) {
        size_t end = trace.find('\n', start);
        if (end == std::string::npos) end = trace.size();
        const std::string line = trace.substr(start, end - start);
        start = end + 1;
        const bool isCall = line.compare(0, ownCall.size(), ownCall) == 0;
        const bool isReturn = line.compare(0, ownReturn.size(), ownReturn) == 0;
        if (!isCall && !isReturn) continue;
        RelayCall call;
        // Calls into DLL entry points and window procedures are traced as well; they have no
        // "dll.Function" name and are skipped.
        if (!ParseCall(line, ownCall.size(), call) || line.compare(ownCall.size(), 3, "PE ") == 0 ||
            line.find("window proc") != std::string::npos) {
            continue;
        }
        if (isCall) {
            call.returned = false;
            calls.push_back(call);
        } else {
            MatchReturn(calls, call);
        }
    }
    return calls;
}

std::vector<RelayCall> CallsOf(const std::vector<RelayCall>& calls, const std::string& function)
{
    std::vector<RelayCall> found;
    for (const RelayCall& call : calls) {
        if (call.function == function) found.push_back(call);
    }
    return found;
}

int FindCall(const std::vector<RelayCall>& calls, const std::string& function,
             const std::vector<uint64_t>& leadingArgs)
{
    for (size_t i = 0; i < calls.size(); ++i) {
        const RelayCall& call = calls[i];
        if (call.function != function || call.args.size() < leadingArgs.size()) continue;
        if (std::equal(leadingArgs.begin(), leadingArgs.end(), call.args.begin())) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
