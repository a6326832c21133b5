// The module side of the test drivers: the probe they report to, and whether the module has
// been detached (a call after that is one the host should never have made).
#pragma once

#include "driver_probe.h"

extern TestDriverProbe* Probe;
extern bool Detached;
