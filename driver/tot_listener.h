// The listening flavour of CTsAnalyzer's constructor, destructor and OnTotUpdated, used where
// no announcement window exists (inspector, tests, fuzzer, benchmark): every stored sample goes
// to one process-wide listener.
#pragma once

#include "ts_analyzer.h"

// Called with the analyser's lock held, right after `sample` was stored; must not block.
typedef void (*TotListener)(void* context, const TotSample& sample);

// Replaces the listener (null: samples go nowhere). Not to be called while a stream is fed.
void SetTotListener(TotListener listener, void* context);
