// The wrapper's sink: every sample its analyser decodes is announced to the desktop by the
// analyser's notification window.
#pragma once

#include "ts_analyzer.h"

class CAnnouncer final : public ITotSink {
public:
    void OnTotUpdated(CTsAnalyzer& analyzer, const TotSample&) override { analyzer.Announce(); }
    void OnAnalyzerEnd(CTsAnalyzer& analyzer) override { analyzer.EndAnnouncing(); }
};

// The one announcer of the library; it holds no state of its own.
extern CAnnouncer WindowAnnouncer;
