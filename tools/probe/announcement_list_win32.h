// The announcement windows this process can see, scanned and listed by the watcher's own code.
#pragma once

#include "probe_facts.h"

// Trust as the watcher decides it, from the Horavant.ini beside the probe.
void ReadSourceFacts(SourceFacts& facts);
