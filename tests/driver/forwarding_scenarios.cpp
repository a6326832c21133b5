// The wrapper's level equals the driver's, and every position reaches the driver with the same
// arguments and brings its result back unchanged, called through C++ and by raw position.
#include "check.h"
#include "debug_capture.h"
#include "host_scenarios.h"
#include "host_support.h"
#include "slot_call.h"
#include "wrapper_folder.h"

#include <string.h>

namespace {

const BroadcastTime SomeTime = {2007, 11, 23, 13, 25, 14};
const char* const LevelLines[] = {"", "return IBonDriver\n", "return IBonDriver2\n",
                                  "return IBonDriver3\n"};

TestDriverProbe& Probe = QuellapTestProbe;

void ExpectCall(int position, UINT_PTR a0 = 0, UINT_PTR a1 = 0, UINT_PTR a2 = 0) {
    CHECK_EQ(Probe.lastPosition, position);
    CHECK_EQ(Probe.lastArgs[0], a0);
    CHECK_EQ(Probe.lastArgs[1], a1);
    CHECK_EQ(Probe.lastArgs[2], a2);
    Probe.lastPosition = NoPosition;
}

// Where the driver's next chunk starts: it wraps to the stream's start at the end.
DWORD NextOffset() { return Probe.streamOffset < Probe.streamSize ? Probe.streamOffset : 0; }

UINT_PTR Bits(float value) {
    UINT_PTR bits = 0;
    memcpy(&bits, &value, sizeof value);
    return bits;
}

// Position 6: the caller gets the driver's data pointer, count and remaining count, and the
// bytes there are the stream's, untouched.
void CheckDataPointerPosition(IBonDriver* wrapper, bool raw) {
    BYTE decoy[4] = {};
    BYTE* data = decoy;
    DWORD size = 0;
    DWORD remain = 0;
    const DWORD offset = NextOffset();
    const BOOL result = raw ? CallSlot<BOOL>(wrapper, 6, &data, &size, &remain)
                            : wrapper->GetTsStream(&data, &size, &remain);
    CHECK_EQ(result, Probe.tsStreamResult);
    ExpectCall(6, UINT_PTR(&data), UINT_PTR(&size), UINT_PTR(&remain));
    CHECK(data == Probe.lastServed);
    CHECK(data == StandardStream() + offset);
    CHECK_EQ(size, Probe.lastServedSize);
    CHECK_EQ(remain, Probe.remainValue);
}

// Position 7: the driver fills the caller's buffer; the caller gets exactly those bytes.
void CheckBufferPosition(IBonDriver* wrapper, bool raw, const BYTE* pristine) {
    static BYTE buffer[4096];
    DWORD size = 0;
    DWORD remain = 0;
    const DWORD offset = NextOffset();
    const BOOL result = raw ? CallSlot<BOOL>(wrapper, 7, buffer, &size, &remain)
                            : wrapper->GetTsStream(buffer, &size, &remain);
    CHECK_EQ(result, Probe.tsStreamResult);
    ExpectCall(7, UINT_PTR(buffer), UINT_PTR(&size), UINT_PTR(&remain));
    CHECK_EQ(size, Probe.lastServedSize);
    CHECK(size > 0 && memcmp(buffer, pristine + offset, size) == 0);
    CHECK_EQ(remain, Probe.remainValue);
}

void CheckLevel1Positions(IBonDriver* wrapper, bool raw, const BYTE* pristine) {
    CHECK_EQ(raw ? CallSlot<BOOL>(wrapper, 0) : wrapper->OpenTuner(), TestDriverResult(0));
    ExpectCall(0);
    raw ? CallSlot<void>(wrapper, 1) : wrapper->CloseTuner();
    ExpectCall(1);
    const BYTE channel = 0xAB;
    CHECK_EQ(raw ? CallSlot<BOOL>(wrapper, 2, channel) : wrapper->SetChannel(channel),
             TestDriverResult(2));
    ExpectCall(2, channel);
    const float level = raw ? CallSlot<float>(wrapper, 3) : wrapper->GetSignalLevel();
    CHECK(level == TestDriverSignalLevel);
    CHECK_EQ(Bits(level), Probe.lastResult);
    ExpectCall(3);
    CHECK_EQ(raw ? CallSlot<DWORD>(wrapper, 4, DWORD(4321)) : wrapper->WaitTsStream(4321),
             TestDriverResult(4));
    ExpectCall(4, 4321);
    CHECK_EQ(raw ? CallSlot<DWORD>(wrapper, 5) : wrapper->GetReadyCount(), TestDriverResult(5));
    ExpectCall(5);
    // A success other than 1 must come back as it is, and so must a failure.
    const BOOL results[] = {0x7777, 1, 0};
    for (BOOL result : results) {
        Probe.tsStreamResult = result;
        Probe.remainValue = 12345 + result;
        CheckDataPointerPosition(wrapper, raw);
        CheckBufferPosition(wrapper, raw, pristine);
    }
    Probe.tsStreamResult = TRUE;
    raw ? CallSlot<void>(wrapper, 8) : wrapper->PurgeTsStream();
    ExpectCall(8);
}

void CheckLevel2Positions(IBonDriver2* wrapper, bool raw) {
    LPCTSTR name = raw ? CallSlot<LPCTSTR>(wrapper, 10) : wrapper->GetTunerName();
    CHECK(UINT_PTR(name) == Probe.lastResult);
    CHECK_TEXT(name, L"Test Tuner");
    ExpectCall(10);
    CHECK_EQ(raw ? CallSlot<BOOL>(wrapper, 11) : wrapper->IsTunerOpening(), TestDriverResult(11));
    ExpectCall(11);
    LPCTSTR space = raw ? CallSlot<LPCTSTR>(wrapper, 12, DWORD(3)) : wrapper->EnumTuningSpace(3);
    CHECK(UINT_PTR(space) == Probe.lastResult);
    CHECK_TEXT(space, L"Test Space");
    ExpectCall(12, 3);
    LPCTSTR channel =
        raw ? CallSlot<LPCTSTR>(wrapper, 13, DWORD(4), DWORD(5)) : wrapper->EnumChannelName(4, 5);
    CHECK(UINT_PTR(channel) == Probe.lastResult);
    CHECK_TEXT(channel, L"Test Channel");
    ExpectCall(13, 4, 5);
    CHECK_EQ(raw ? CallSlot<BOOL>(wrapper, 14, DWORD(7), DWORD(9)) : wrapper->SetChannel(7, 9),
             TestDriverResult(14));
    ExpectCall(14, 7, 9);
    CHECK_EQ(raw ? CallSlot<DWORD>(wrapper, 15) : wrapper->GetCurSpace(), TestDriverResult(15));
    ExpectCall(15);
    CHECK_EQ(raw ? CallSlot<DWORD>(wrapper, 16) : wrapper->GetCurChannel(), TestDriverResult(16));
    ExpectCall(16);
}

void CheckLevel3Positions(IBonDriver3* wrapper, bool raw) {
    CHECK_EQ(raw ? CallSlot<DWORD>(wrapper, 17) : wrapper->GetTotalDeviceNum(),
             TestDriverResult(17));
    ExpectCall(17);
    CHECK_EQ(raw ? CallSlot<DWORD>(wrapper, 18) : wrapper->GetActiveDeviceNum(),
             TestDriverResult(18));
    ExpectCall(18);
    CHECK_EQ(raw ? CallSlot<BOOL>(wrapper, 19, BOOL(77)) : wrapper->SetLnbPower(77),
             TestDriverResult(19));
    ExpectCall(19, 77);
}

}  // namespace

void LevelsScenario() {
    UseStandardStream(SomeTime);
    for (int level = 1; level <= 3; ++level) {
        ResetProbe();
        Probe.level = level;
        WrapperFolder folder(L"levels");
        CHECK(folder.Place(L"BonDriver_Quellap", L"test_driver.dll"));
        LoadedWrapper library;
        CHECK(library.Load(folder.WrapperPath()));
        ClearDebugCapture();
        IBonDriver* wrapper = library.Create();
        CHECK(wrapper != nullptr);
        if (!wrapper)
            continue;
        CHECK_EQ(dynamic_cast<IBonDriver2*>(wrapper) != nullptr, level >= 2);
        CHECK_EQ(dynamic_cast<IBonDriver3*>(wrapper) != nullptr, level == 3);
        CHECK_EQ(CapturedCount(), 2);
        CHECK_STR(CapturedLine(0), "BonDriver_Quellap::CreateBonDriver(): ");
        CHECK_STR(CapturedLine(1), LevelLines[level]);

        ClearDebugCapture();
        wrapper->Release();
        const int released = FindCaptured("TestDriver::Release()\n");
        const int unloaded = FindCaptured("TestDriver::DllMain(): detach\n");
        const int done = FindCaptured("CTsAnalyzer::~CTsAnalyzer(): Done\n");
        CHECK(released >= 0 && released < unloaded && unloaded < done);
        CHECK_EQ(Probe.releaseCalls, 1);
        CHECK_EQ(Probe.detachCount, 1);
    }
}

void ForwardingScenario() {
    UseStandardStream(SomeTime);
    static BYTE pristine[65536];
    memcpy(pristine, StandardStream(), StandardStreamSize());
    for (int level = 1; level <= 3; ++level) {
        ResetProbe();
        Probe.level = level;
        WrapperFolder folder(L"forwarding");
        CHECK(folder.Place(L"BonDriver_Quellap", L"test_driver.dll"));
        LoadedWrapper library;
        CHECK(library.Load(folder.WrapperPath()));
        IBonDriver* wrapper = library.Create();
        CHECK(wrapper != nullptr);
        if (!wrapper)
            continue;
        const bool callers[] = {false, true};  // through C++, then by raw position
        for (bool raw : callers) {
            CheckLevel1Positions(wrapper, raw, pristine);
            if (IBonDriver2* wrapper2 = dynamic_cast<IBonDriver2*>(wrapper))
                CheckLevel2Positions(wrapper2, raw);
            if (IBonDriver3* wrapper3 = dynamic_cast<IBonDriver3*>(wrapper))
                CheckLevel3Positions(wrapper3, raw);
        }
        // The analyser only reads what passes through.
        CHECK(memcmp(pristine, StandardStream(), StandardStreamSize()) == 0);
        CallSlot<void>(wrapper, 9);
        CHECK_EQ(Probe.releaseCalls, 1);
        CHECK_EQ(Probe.lastPosition, 9);
    }
}
