// Reading the probe's facts on Windows. A call that fails is recorded in the fact's failure and
// leaves the rest of the report to go on.
#pragma once

#include "probe_facts.h"

void ReadSystemFacts(SystemFacts& facts);
void ReadSessionFacts(SessionFacts& facts);
void ReadTokenFacts(TokenFacts& facts);
// A service that is not installed is no failure.
void ReadServiceFacts(const wchar_t* name, ServiceFacts& facts);
void ReadTimeServiceFacts(TimeServiceFacts& facts);
