// Pulls a driver's stream for the given time as a host's streaming thread does, and prints a
// progress line each second and a summary line at the end (formats in bonhost's usage text).
#pragma once

#include "bon_driver.h"
#include "bonhost_options.h"

// `save`: where every received byte goes, or null. False when writing there fails; the
// summary line is then not printed.
bool PullStream(IBonDriver* driver, const BonhostOptions& options, HANDLE save);
