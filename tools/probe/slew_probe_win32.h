// --slew on Windows: the checks, the privilege, the watcher's two rates, and the hand-back on
// Ctrl+C, the console's closing and a crash.
#pragma once

#include <string>

#include "probe_facts.h"
#include "setup_program.h"

// Prints the slew's lines; returns what failed, empty when it ran to its end.
std::wstring ProbeSlew(const ProbeFacts& facts, SetupConsole& console);
