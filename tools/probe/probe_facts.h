// What QuellapProbe reads about the machine and this process, as plain values: the Win32
// shell fills them, the report formats them.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// The call that kept a fact from being read, with the system's error code; none when `call`
// is null.
struct CallFailure {
    const wchar_t* call = nullptr;
    uint32_t error = 0;
};

struct SystemFacts {
    CallFailure failure;
    uint32_t major = 0, minor = 0, build = 0;
    uint32_t revision = 0;         // update build revision; 0 when not recorded
    std::wstring product;          // product name and display version, as recorded
    std::wstring wine;             // Wine's version when running under Wine
    uint32_t processBits = 0;      // 32 or 64
    bool wow64 = false;            // a 32-bit process on 64-bit Windows
    int64_t counterFrequency = 0;  // performance counter, ticks per second
    bool preciseTime = false;      // GetSystemTimePreciseAsFileTime exists (Windows 8 and later)
};

struct TokenFacts {
    CallFailure failure;
    std::wstring user;  // DOMAIN\name, empty when the account has no name
    std::wstring sid;
    bool elevated = false;
    uint32_t elevationType = 0;     // 1 default (no split token), 2 full, 3 limited
    uint32_t integrityRid = 0;      // the integrity SID's last sub-authority
    bool privilegePresent = false;  // SeSystemtimePrivilege
    bool privilegeEnabled = false;
};

struct SessionFacts {
    CallFailure failure;
    uint32_t sessionId = 0;
    std::wstring windowStation;
    std::wstring desktop;
};

struct ServiceFacts {
    CallFailure failure;
    bool installed = false;
    uint32_t state = 0;      // 1 stopped ... 4 running ... 7 paused
    uint32_t startType = 0;  // 2 automatic, 3 on demand, 4 disabled
    std::wstring binaryPath;
};

struct TimeServiceFacts {
    ServiceFacts service;
    CallFailure typeFailure;  // reading W32Time\Parameters\Type (not set is no failure)
    std::wstring type;        // NTP, NT5DS, AllSync, NoSync; empty when not set
};

// What GetSystemTimeAdjustment reports; both amounts in 100 ns per clock interrupt.
struct AdjustmentValues {
    uint32_t adjustment = 0;  // added at each interrupt while enabled
    uint32_t increment = 0;   // the interrupt's own interval
    bool disabled = true;     // the system keeps the time itself
};

struct AdjustmentFacts {
    CallFailure failure;
    AdjustmentValues values;
};

// The announcement windows as the watcher's list shows them, trusted by the watcher's settings
// beside the probe.
struct SourceFacts {
    std::wstring settingsPath;
    bool settingsFound = false;
    std::vector<std::wstring> lines;  // without their line ends
};

struct ProbeFacts {
    SystemFacts system;
    TokenFacts token;
    SessionFacts session;
    TimeServiceFacts timeService;
    AdjustmentFacts adjustment;
    ServiceFacts watcherService;  // a service named Horavant
    SourceFacts sources;
};
