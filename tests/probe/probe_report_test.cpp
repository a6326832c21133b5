// The report as a user pastes it: every fact on its line, the slew's figures, and the last line
// naming whatever failed.
#include <gtest/gtest.h>

#include "probe_options.h"
#include "probe_report.h"
#include "slew_report.h"

namespace {

// What Wine 8.0 reports in a 64-bit prefix, with one source listed.
ProbeFacts WineFacts()
{
    ProbeFacts facts;
    facts.system = {CallFailure{}, 6, 1, 7601, 0, L"Microsoft Windows 7", L"8.0", 64, false,
                    10000000, true};
    facts.token = {CallFailure{}, L"VM\\root", L"S-1-5-21-0-0-0-1000", true, 2, 0x3000, true,
                   false};
    facts.session = {CallFailure{}, 1, L"WinSta0", L"Default"};
    facts.adjustment.values = {156250, 156250, true};
    facts.sources.settingsPath = L"C:\\Quellap\\Horavant.ini";
    facts.sources.lines = {L"00010068    12 2026-12-08T12:05:43 +4481  *BonDriver_A C:\\TV\\a.exe"};
    return facts;
}

}  // namespace

TEST(ProbeReport, EveryFactAndTheSlewOnTheirLines)
{
    SlewPlan plan;
    ASSERT_TRUE(MakeSlewPlan(156250, 312500, 31250, plan));
    SlewRun run;
    run.whileSet = {156250, 156250, true};  // Wine's: the stub changes nothing
    run.phases = {{312500, 20000123, 20000123}, {31250, 25000000, 25001000}};
    run.handBack = HandBackOutcome::Done;
    run.after = {156250, 156250, true};

    EXPECT_EQ(FormatFacts(WineFacts(), L"1.0.0") + FormatSlewStart(plan) + FormatSlewRun(plan, run),
              L"QuellapProbe 1.0.0 (x64)\n"
              L"Windows: 6.1.7601.0 (Microsoft Windows 7)\n"
              L"Wine: 8.0\n"
              L"Process: 64-bit, WOW64 no\n"
              L"Performance counter: 10000000 Hz; precise system time yes\n"
              L"User: VM\\root (S-1-5-21-0-0-0-1000)\n"
              L"Elevated: yes, elevation type full (2)\n"
              L"Integrity level: High (0x3000)\n"
              L"SeSystemtimePrivilege: present, disabled\n"
              L"Session: 1\n"
              L"Window station: WinSta0\n"
              L"Desktop: Default\n"
              L"Windows Time service: not installed\n"
              L"Windows Time Type: not set\n"
              L"Windows Time adjusts the clock: no\n"
              L"GetSystemTimeAdjustment: adjustment 156250, increment 156250, disabled yes\n"
              L"Horavant service: not installed\n"
              L"Horavant.ini: C:\\Quellap\\Horavant.ini (not found: no source is trusted)\n"
              L"Announcement windows: 1\n"
              L"  00010068    12 2026-12-08T12:05:43 +4481  *BonDriver_A C:\\TV\\a.exe\n"
              L"Slew: twice the rate (adjustment 312500) for 2000 ms, then a fifth (31250) for "
              L"2500 ms; Ctrl+C stops it and hands the clock back\n"
              L"While set: adjustment 156250, increment 156250, disabled yes\n"
              L"Fast phase: asked rate 2.0000, measured 1.0000 (clock 2000.0 ms in 2000.0 ms)\n"
              L"Slow phase: asked rate 0.2000, measured 1.0000 (clock 2500.1 ms in 2500.0 ms)\n"
              L"Slew end: completed\n"
              L"Net change: +0.1 ms\n"
              L"Handed back: yes\n"
              L"After: adjustment 156250, increment 156250, disabled yes\n");
    EXPECT_EQ(SlewFailure(run), L"");
    EXPECT_EQ(FormatResult(FactFailures(WineFacts())), L"Result: complete\n");
}

TEST(ProbeReport, NamesWhatFailed)
{
    ProbeFacts facts = WineFacts();
    facts.token.failure = {L"OpenProcessToken", 5};
    facts.timeService.service = {CallFailure{}, true, 4, 3, L"C:\\Windows\\system32\\svchost.exe"};
    facts.timeService.typeFailure = {L"RegGetValueW", 5};
    const std::wstring report = FormatFacts(facts, L"1.0.0");
    EXPECT_NE(report.find(L"\nToken: OpenProcessToken failed (error 5)\nSession: 1\n"),
              std::wstring::npos);
    EXPECT_NE(report.find(L"\nWindows Time service: running (4), start type demand (3), "
                          L"C:\\Windows\\system32\\svchost.exe\n"
                          L"Windows Time Type: RegGetValueW failed (error 5)\n"
                          L"Windows Time adjusts the clock: yes\n"),
              std::wstring::npos);

    SlewRun stopped;
    stopped.end = SlewEnd::Stopped;
    stopped.endPhase = 1;
    stopped.handBack = HandBackOutcome::Failed;
    stopped.handBackError = 1314;
    std::vector<std::wstring> failures = FactFailures(facts);
    failures.push_back(SlewFailure(stopped));
    EXPECT_EQ(FormatResult(failures),
              L"Result: failed: token: OpenProcessToken failed (error 5); Windows Time Type: "
              L"RegGetValueW failed (error 5); slew: stopped in the slow phase (Ctrl+C or the "
              L"console closing)\n");
    EXPECT_NE(FormatSlewRun(SlewPlan{}, stopped).find(L"Handed back: FAILED (error 1314)"),
              std::wstring::npos);
}

TEST(ProbeOptions, SlewAndHelpOnly)
{
    ProbeOptions options;
    EXPECT_TRUE(ParseProbeOptions({}, options));
    EXPECT_FALSE(options.slew);
    EXPECT_TRUE(ParseProbeOptions({L"--slew"}, options));
    EXPECT_TRUE(options.slew);
    EXPECT_TRUE(ParseProbeOptions({L"/?"}, options));
    EXPECT_TRUE(options.help);
    EXPECT_FALSE(ParseProbeOptions({L"--slew", L"--fast"}, options));
}
