#include "sample_acceptance.h"

#include <stdint.h>

#include "filetime.h"

namespace {

constexpr int64_t FileTimeUnitsPerMsec = 10000;

// `later` agrees with `earlier` carried forward by the ticks between them (modulo 2^32, so the
// tick's wrap-around is harmless).
bool Agrees(const TimeSample& earlier, const TimeSample& later)
{
    const int64_t elapsed = static_cast<int64_t>(static_cast<DWORD>(later.tick - earlier.tick));
    const int64_t drift =
        static_cast<int64_t>(FileTimeValue(later.fileTime) - FileTimeValue(earlier.fileTime)) -
        elapsed * FileTimeUnitsPerMsec;
    const int64_t bound = static_cast<int64_t>(AgreementMsec) * FileTimeUnitsPerMsec;
    return drift >= -bound && drift <= bound;
}

}  // namespace

SampleAcceptance FirstSample(const TimeSample& sample)
{
    return {sample, sample, false};
}

void AcceptOrHold(SampleAcceptance& acceptance, const TimeSample& sample)
{
    if (Agrees(acceptance.accepted, sample) ||
        (acceptance.holding && Agrees(acceptance.held, sample))) {
        acceptance.accepted = sample;
        acceptance.holding = false;
        return;
    }
    acceptance.held = sample;
    acceptance.holding = true;
}
