// A sink for analysers whose samples do not matter (no C++ library: the MSVC-ABI benchmark uses
// it too).
#pragma once

#include "ts_analyzer.h"

class IgnoredSamples final : public ITotSink {
public:
    void OnTotUpdated(CTsAnalyzer&, const TotSample&) override {}
};

inline IgnoredSamples NoSamples;
