#include "sample_acceptance.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

#include "filetime.h"

namespace {

constexpr uint64_t Base = 133000000000000000;  // a FILETIME in 2022
constexpr int64_t UnitsPerMsec = 10000;
constexpr int64_t ElevenYearsMsec = 11 * 365LL * 86400000;

struct Step {
    DWORD elapsedMsec;  // ticks since the first sample
    int64_t errorMsec;  // how far the sample's time strays from the broadcast clock
    int accepted;       // the step whose sample is accepted afterwards
    bool holding;
};

struct Case {
    const char* name;
    DWORD firstTick;
    std::vector<Step> steps;
};

TimeSample SampleOf(DWORD firstTick, const Step& step)
{
    const uint64_t time = Base + (step.elapsedMsec + step.errorMsec) * UnitsPerMsec;
    return {firstTick + step.elapsedMsec, {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)}};
}

TEST(SampleAcceptanceTest, OnlyAgreeingOrConfirmedSamplesAreUsed)
{
    const Case cases[] = {
        {"in step", 5000, {{0, 0, 0, false}, {1000, 0, 1, false}, {6000, 30, 2, false}}},
        {"the first sample, however strange", 5000, {{0, ElevenYearsMsec, 0, false},
                                                     {1000, ElevenYearsMsec, 1, false}}},
        {"one bad sample, then back in step", 5000,
         {{0, 0, 0, false}, {1000, ElevenYearsMsec, 0, true}, {2000, 0, 2, false},
          {3000, 0, 3, false}}},
        {"a real jump, confirmed by the next sample", 5000,
         {{0, 0, 0, false}, {1000, 60000, 0, true}, {2000, 60000, 2, false}}},
        {"two strays that disagree with each other", 5000,
         {{0, 0, 0, false}, {1000, -90000, 0, true}, {2000, 60000, 0, true},
          {3000, 60000, 3, false}}},
        {"within 2 s carried forward, not beyond", 5000,
         {{0, 0, 0, false}, {5000, 2000, 1, false}, {10000, 4001, 1, true},
          {15000, 0, 3, false}}},
        // Whole seconds: a TOT half a second after a TDT of the same second, then the next TDT.
        {"TDT and TOT of one second", 5000,
         {{0, 0, 0, false}, {500, -500, 1, false}, {1000, 0, 2, false}, {1500, -500, 3, false}}},
        {"across the tick's wrap-around", 0xfffffc18,
         {{0, 0, 0, false}, {1000, 0, 1, false}, {1500, ElevenYearsMsec, 1, true},
          {2000, 0, 3, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TimeSample> samples;
        SampleAcceptance acceptance{};
        for (size_t i = 0; i < c.steps.size(); ++i) {
            samples.push_back(SampleOf(c.firstTick, c.steps[i]));
            if (i == 0) acceptance = FirstSample(samples[0]);
            else AcceptOrHold(acceptance, samples[i]);
            const TimeSample& expected = samples[c.steps[i].accepted];
            EXPECT_EQ(expected.tick, acceptance.accepted.tick) << "step " << i;
            EXPECT_EQ(FileTimeValue(expected.fileTime), FileTimeValue(acceptance.accepted.fileTime));
            EXPECT_EQ(c.steps[i].holding, acceptance.holding) << "step " << i;
        }
    }
}

}  // namespace
