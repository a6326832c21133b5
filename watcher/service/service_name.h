// The name under which the service control manager knows the service, and under which its
// events stand in the Application log.
#pragma once

#include "win32_types.h"

constexpr WCHAR ServiceName[] = L"Horavant";
