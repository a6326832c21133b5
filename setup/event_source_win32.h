// The watcher service's event source in the Application log: its registration (the file whose
// message table words the events) and its newest events.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "service_platform.h"

uint32_t ReadEventSourceFile(std::wstring& messageFile);
uint32_t WriteEventSourceFile(const std::wstring& messageFile);
uint32_t DeleteEventSource();  // 0 also when there is none

// Newest first; none where the log cannot be read.
std::vector<ServiceEvent> ReadLastEvents(size_t count);
