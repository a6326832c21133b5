// The test host: loads the wrapper from a temporary folder as a host application would and
// runs one scenario against it.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"

#include <string.h>

namespace {

struct Scenario {
    const char* name;
    void (*run)();
};

const Scenario Scenarios[] = {
    {"levels", LevelsScenario},
    {"forwarding", ForwardingScenario},
    {"lifecycle", LifecycleScenario},
    {"failures", FailuresScenario},
    {"path-limit", PathLimitScenario},
    {"short-path", ShortPathScenario},
    {"announce", AnnounceScenario},
    {"analysis", AnalysisScenario},
    {"interference", InterferenceScenario},
    {"publishing", PublishingScenario},
    {"platform-failures", PlatformFailuresScenario},
    {"stuck-teardown", StuckTeardownScenario},
    {"unload", UnloadScenario},
    {"exit", ExitScenario},
    {"reader", ReaderScenario},
};

}  // namespace

int main(int argc, char** argv) {
    StartDebugCapture();
    if (argc == 4 && strcmp(argv[1], "exit-child") == 0) {
        ExitChild();
        return 1;  // ExitChild ends the process itself
    }
    for (const Scenario& scenario : Scenarios) {
        if (argc == 2 && strcmp(argv[1], scenario.name) == 0) {
            scenario.run();
            return CheckSummary(scenario.name);
        }
    }
    Print("usage: wrapper_host SCENARIO, one of:");
    for (const Scenario& scenario : Scenarios)
        Print(" %s", scenario.name);
    Print("\n");
    return 2;
}
