// BonDriver_TsFile: a tuner driver that plays a transport-stream file, so that the wrapper can
// be tried without a tuner. One tuning space with one channel, named after the file; the file
// starts over at OpenTuner and at SetChannel. The settings are read once, when the object is
// made (tsfile_settings.h).
//
// Stream calls: GetTsStream hands out the next chunk once it is due and returns TRUE with 0
// bytes while none is; it returns FALSE while the tuner is closed, after the end of a file
// played without Loop, and when the file cannot be read. The BYTE** overload hands out the
// driver's own buffer, valid until the next call; the BYTE* overload copies into the caller's
// buffer, which must hold ChunkBytes bytes. WaitTsStream returns WAIT_OBJECT_0 once a chunk is
// due, WAIT_TIMEOUT when none became due within the time-out, and WAIT_FAILED at once when
// nothing will come. PurgeTsStream does nothing: nothing is held before it is due.
#include "bon_driver.h"
#include "new_delete.h"
#include "ts_file_player.h"

#include <shlwapi.h>

namespace {

HMODULE OwnModule = nullptr;

const WCHAR TunerName[] = L"TsFile";

class LockGuard {
public:
    explicit LockGuard(CRITICAL_SECTION& lock) : Lock(lock) { EnterCriticalSection(&Lock); }
    ~LockGuard() { LeaveCriticalSection(&Lock); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    CRITICAL_SECTION& Lock;
};

class CTsFileDriver final : public IBonDriver2 {
public:
    CTsFileDriver() {
        InitializeCriticalSection(&Lock);
        ReadTsFileSettings(OwnModule, Settings);
    }

    BOOL OpenTuner() override {
        LockGuard guard(Lock);
        if (Player.OwnBuffer())
            return TRUE;
        if (!Settings.File[0]) {
            OutputDebugStringW(L"CTsFileDriver::OpenTuner(): No File Setting\n");
            return FALSE;
        }
        if (!Player.Open(Settings, GetTickCount())) {
            OutputDebugStringW(L"CTsFileDriver::OpenTuner(): Cannot Play File\n");
            return FALSE;
        }
        return TRUE;
    }

    void CloseTuner() override {
        LockGuard guard(Lock);
        Player.Close();
    }

    BOOL SetChannel(BYTE channel) override { return SetChannel(0, channel); }
    float GetSignalLevel() override { return 0.0f; }

    DWORD WaitTsStream(DWORD timeout) override {
        const DWORD start = GetTickCount();
        for (;;) {
            const DWORD now = GetTickCount();
            int32_t wait;
            {
                LockGuard guard(Lock);
                if (!Player.Playing())
                    return WAIT_FAILED;
                wait = Player.MsUntilDue(now);
            }
            if (wait <= 0)
                return WAIT_OBJECT_0;
            const DWORD waited = now - start;
            if (waited >= timeout)
                return WAIT_TIMEOUT;
            Sleep(DWORD(wait) < timeout - waited ? DWORD(wait) : timeout - waited);
        }
    }

    DWORD GetReadyCount() override {
        LockGuard guard(Lock);
        return Player.Playing() ? Player.ReadyCount(GetTickCount()) : 0;
    }

    BOOL GetTsStream(BYTE* buffer, DWORD* size, DWORD* remain) override {
        LockGuard guard(Lock);
        return buffer && size && Deliver(buffer, *size, remain);
    }

    BOOL GetTsStream(BYTE** data, DWORD* size, DWORD* remain) override {
        LockGuard guard(Lock);
        if (!data || !size)
            return FALSE;
        *size = 0;
        *data = Player.OwnBuffer();
        return *data && Deliver(*data, *size, remain);
    }

    void PurgeTsStream() override {}

    void Release() override { delete this; }

    LPCTSTR GetTunerName() override { return TunerName; }

    BOOL IsTunerOpening() override {
        LockGuard guard(Lock);
        return Player.OwnBuffer() != nullptr;
    }

    LPCTSTR EnumTuningSpace(DWORD space) override { return space == 0 ? TunerName : nullptr; }

    LPCTSTR EnumChannelName(DWORD space, DWORD channel) override {
        return space == 0 && channel == 0 && Settings.File[0] ? PathFindFileNameW(Settings.File)
                                                              : nullptr;
    }

    BOOL SetChannel(DWORD space, DWORD channel) override {
        LockGuard guard(Lock);
        if (space != 0 || channel != 0 || !Player.OwnBuffer())
            return FALSE;
        Player.Restart(GetTickCount());
        return TRUE;
    }

    DWORD GetCurSpace() override { return 0; }
    DWORD GetCurChannel() override { return 0; }

private:
    ~CTsFileDriver() { DeleteCriticalSection(&Lock); }

    // The next chunk into `destination` (size 0 when none is due) and the chunks due after it.
    bool Deliver(BYTE* destination, DWORD& size, DWORD* remain) {
        const DWORD now = GetTickCount();
        if (!Player.TakeChunk(now, destination, size))
            return false;
        if (remain)
            *remain = Player.ReadyCount(now);
        return true;
    }

    CRITICAL_SECTION Lock;
    TsFileSettings Settings;
    TsFilePlayer Player;
};

}  // namespace

extern "C" __declspec(dllexport) IBonDriver* CreateBonDriver() {
    return new (std::nothrow) CTsFileDriver;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        OwnModule = instance;
    return TRUE;
}
