// The test host's scenarios, one ctest test each: `wrapper_host <scenario> [arguments]`.
#pragma once

void LevelsScenario();
void ForwardingScenario();
void LifecycleScenario();
void FailuresScenario();
void PathLimitScenario();
void ShortPathScenario();
void AnnounceScenario();
void AnalysisScenario();
void InterferenceScenario();
void PublishingScenario();
void PlatformFailuresScenario();
void StuckTeardownScenario();
void UnloadScenario();
void ExitScenario();
// The child process of ExitScenario (`exit-child WRAPPER LOG`): ends with a live wrapper,
// its debug output written to LOG as it comes.
void ExitChild();
void ReaderScenario();
