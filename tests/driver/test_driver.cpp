// The tuner driver that the tests wrap: its factory makes an object of the level the probe asks
// for; every position records its arguments and returns a distinct value, and GetTsStream serves
// the probe's stream in chunks. On request its factory makes another module's allocations fail
// for as long as its object lives. Debug lines mark its release and its module's detach, so a test
// can see the order of a teardown in the captured output.
#include "bon_driver.h"
#include "import_patch.h"
#include "new_delete.h"
#include "test_driver_module.h"

#include <string.h>

namespace {

const WCHAR TunerName[] = L"Test Tuner";
const WCHAR SpaceName[] = L"Test Space";
const WCHAR ChannelName[] = L"Test Channel";

UINT_PTR Record(int position, UINT_PTR result, UINT_PTR a0 = 0, UINT_PTR a1 = 0,
                UINT_PTR a2 = 0) {
    Probe->lastPosition = position;
    Probe->lastArgs[0] = a0;
    Probe->lastArgs[1] = a1;
    Probe->lastArgs[2] = a2;
    Probe->lastResult = result;
    return result;
}

// The module whose malloc import fails while a driver object lives, and its real malloc.
HMODULE Starved = nullptr;
void* RealMalloc = nullptr;

void* __cdecl FailingMalloc(size_t) { return nullptr; }

void StarveAllocations(HMODULE module) {
    RealMalloc = PatchImport(module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&FailingMalloc));
    if (RealMalloc)
        Starved = module;
}

void EndStarvation() {
    if (Starved)
        PatchImport(Starved, "msvcrt.dll", "malloc", RealMalloc);
    Starved = nullptr;
}

DWORD Result(int position) { return DWORD(TestDriverResult(position)); }

// The next chunk of the probe's stream: at most chunkSize bytes, up to the stream's end.
DWORD NextChunk(const BYTE** chunk) {
    if (!Probe->stream || !Probe->streamSize)
        return 0;
    if (Probe->streamOffset >= Probe->streamSize)
        Probe->streamOffset = 0;
    DWORD size = Probe->streamSize - Probe->streamOffset;
    if (size > Probe->chunkSize)
        size = Probe->chunkSize;
    *chunk = Probe->stream + Probe->streamOffset;
    Probe->streamOffset += size;
    return size;
}

// The levels build on each other; each level's SetChannel hides the other's on purpose.
#pragma clang diagnostic ignored "-Woverloaded-virtual"

// Self is the final class, which Release deletes.
template <class Interface, class Self>
class CLevel1 : public Interface {
public:
    BOOL OpenTuner() override { return Record(0, Result(0)); }
    void CloseTuner() override { Record(1, 0); }
    BOOL SetChannel(BYTE channel) override { return Record(2, Result(2), channel); }
    float GetSignalLevel() override {
        float level = TestDriverSignalLevel;
        UINT_PTR bits;
        memcpy(&bits, &level, sizeof bits);
        Record(3, bits);
        return level;
    }
    DWORD WaitTsStream(DWORD timeout) override { return Record(4, Result(4), timeout); }
    DWORD GetReadyCount() override { return Record(5, Result(5)); }
    // Copies the chunk into the caller's buffer.
    BOOL GetTsStream(BYTE* buffer, DWORD* size, DWORD* remain) override {
        Record(7, Probe->tsStreamResult, UINT_PTR(buffer), UINT_PTR(size), UINT_PTR(remain));
        const BYTE* chunk = nullptr;
        *size = NextChunk(&chunk);
        if (*size)
            memcpy(buffer, chunk, *size);
        *remain = Probe->remainValue;
        Probe->lastServed = buffer;
        Probe->lastServedSize = *size;
        return Probe->tsStreamResult;
    }
    // Hands out a pointer into the stream itself.
    BOOL GetTsStream(BYTE** data, DWORD* size, DWORD* remain) override {
        Record(6, Probe->tsStreamResult, UINT_PTR(data), UINT_PTR(size), UINT_PTR(remain));
        const BYTE* chunk = nullptr;
        *size = NextChunk(&chunk);
        *data = const_cast<BYTE*>(chunk);
        *remain = Probe->remainValue;
        Probe->lastServed = chunk;
        Probe->lastServedSize = *size;
        return Probe->tsStreamResult;
    }
    void PurgeTsStream() override { Record(8, 0); }
    void Release() override {
        Record(9, 0);
        OutputDebugStringW(Detached ? L"TestDriver::Release(): after detach\n"
                                    : L"TestDriver::Release()\n");
        InterlockedIncrement(&Probe->releaseCalls);
        EndStarvation();
        delete static_cast<Self*>(this);
    }
};

template <class Interface, class Self>
class CLevel2 : public CLevel1<Interface, Self> {
public:
    LPCTSTR GetTunerName() override { return LPCTSTR(Record(10, UINT_PTR(TunerName))); }
    BOOL IsTunerOpening() override { return Record(11, Result(11)); }
    LPCTSTR EnumTuningSpace(DWORD space) override {
        return LPCTSTR(Record(12, UINT_PTR(SpaceName), space));
    }
    LPCTSTR EnumChannelName(DWORD space, DWORD channel) override {
        return LPCTSTR(Record(13, UINT_PTR(ChannelName), space, channel));
    }
    BOOL SetChannel(DWORD space, DWORD channel) override {
        return Record(14, Result(14), space, channel);
    }
    DWORD GetCurSpace() override { return Record(15, Result(15)); }
    DWORD GetCurChannel() override { return Record(16, Result(16)); }
};

class CTestDriver1 final : public CLevel1<IBonDriver, CTestDriver1> {};

class CTestDriver2 final : public CLevel2<IBonDriver2, CTestDriver2> {};

class CTestDriver3 final : public CLevel2<IBonDriver3, CTestDriver3> {
public:
    DWORD GetTotalDeviceNum() override { return Record(17, Result(17)); }
    DWORD GetActiveDeviceNum() override { return Record(18, Result(18)); }
    BOOL SetLnbPower(BOOL enable) override { return Record(19, Result(19), UINT_PTR(enable)); }
};

IBonDriver* MakeDriver(int level) {
    if (level == 3)
        return new (std::nothrow) CTestDriver3;
    if (level == 2)
        return new (std::nothrow) CTestDriver2;
    return new (std::nothrow) CTestDriver1;
}

}  // namespace

extern "C" __declspec(dllexport) IBonDriver* CreateBonDriver() {
    InterlockedIncrement(&Probe->factoryCalls);
    Probe->lastPosition = NoPosition;
    if (Probe->factoryReturnsNull)
        return nullptr;
    IBonDriver* driver = MakeDriver(Probe->level);
    if (driver && Probe->failAllocationsOf)
        StarveAllocations(Probe->failAllocationsOf);
    return driver;
}
