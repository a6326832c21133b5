// One implausible broadcast time never moves the clock. A damaged time table still decodes to a
// valid date (bytes of zero read as 2038-04-23), and a source's offset is that of its last sample
// until the next one arrives, up to 30 s later. So the discipline uses a source's last accepted
// sample: a new one is accepted when it agrees with the accepted one carried forward by the ticks
// between them (the broadcast clock runs at the tick's rate), and otherwise held until the next
// sample confirms it (a real jump: another broadcaster's clock, a recorded stream that loops) or
// agrees with the accepted one instead (the held one is dropped).
#pragma once

#include "win32_types.h"

struct TimeSample {
    DWORD tick;         // GetTickCount() at reception, ms
    FILETIME fileTime;  // broadcast time, 100 ns since 1601
};

struct SampleAcceptance {
    TimeSample accepted;  // what the discipline uses
    TimeSample held;      // valid while `holding`; never used
    bool holding;
};

// How far, at most, a sample may stray from the one it is checked against, ms.
constexpr DWORD AgreementMsec = 2000;

// A source's first sample, accepted as it comes.
SampleAcceptance FirstSample(const TimeSample& sample);

// A new sample of the source (one with a new tick).
void AcceptOrHold(SampleAcceptance& acceptance, const TimeSample& sample);
