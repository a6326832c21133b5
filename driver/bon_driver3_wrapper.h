// The object handed to the host for a wrapped driver of level IBonDriver3: every position goes to
// the wrapped driver's object of the same level with arguments and results unchanged, and both
// GetTsStream overloads also feed the analyser. Its bases are IBonDriver3, IBonDriver2 and
// IBonDriver, so the host's run-time type queries answer as they would on the wrapped driver.
#pragma once

#include "wrapper_steps.h"

class CBonDriver3Wrapper final : public IBonDriver3 {
public:
    CBonDriver3Wrapper(IBonDriver3* driver, HMODULE module, const WCHAR* name, IBonDriver** slot)
        : WrappedDriver(driver), WrappedModule(module), Analyzer(name, WindowAnnouncer), LiveWrapperSlot(slot) {}

    BOOL OpenTuner() override { return WrappedDriver->OpenTuner(); }
    void CloseTuner() override { WrappedDriver->CloseTuner(); }
    BOOL SetChannel(BYTE channel) override { return AsBase()->SetChannel(channel); }
    float GetSignalLevel() override { return WrappedDriver->GetSignalLevel(); }
    DWORD WaitTsStream(DWORD timeout) override { return WrappedDriver->WaitTsStream(timeout); }
    DWORD GetReadyCount() override { return WrappedDriver->GetReadyCount(); }
    BOOL GetTsStream(BYTE* buffer, DWORD* size, DWORD* remain) override {
        return ForwardGetTsStream(WrappedDriver, Analyzer, buffer, size, remain);
    }
    BOOL GetTsStream(BYTE** data, DWORD* size, DWORD* remain) override {
        return ForwardGetTsStream(WrappedDriver, Analyzer, data, size, remain);
    }
    void PurgeTsStream() override { WrappedDriver->PurgeTsStream(); }
    void Release() override {
        if (ReleaseWrapped(LiveWrapperSlot, WrappedDriver, WrappedModule, Analyzer))
            delete this;
    }

    LPCTSTR GetTunerName() override { return WrappedDriver->GetTunerName(); }
    BOOL IsTunerOpening() override { return WrappedDriver->IsTunerOpening(); }
    LPCTSTR EnumTuningSpace(DWORD space) override { return WrappedDriver->EnumTuningSpace(space); }
    LPCTSTR EnumChannelName(DWORD space, DWORD channel) override {
        return WrappedDriver->EnumChannelName(space, channel);
    }
    BOOL SetChannel(DWORD space, DWORD channel) override {
        return WrappedDriver->SetChannel(space, channel);
    }
    DWORD GetCurSpace() override { return WrappedDriver->GetCurSpace(); }
    DWORD GetCurChannel() override { return WrappedDriver->GetCurChannel(); }

    DWORD GetTotalDeviceNum() override { return WrappedDriver->GetTotalDeviceNum(); }
    DWORD GetActiveDeviceNum() override { return WrappedDriver->GetActiveDeviceNum(); }
    BOOL SetLnbPower(BOOL enable) override { return WrappedDriver->SetLnbPower(enable); }

private:
    // SetChannel(BYTE) is hidden behind the level-2 overload in IBonDriver2.
    IBonDriver* AsBase() { return WrappedDriver; }

    IBonDriver3* WrappedDriver;
    HMODULE WrappedModule;
    CTsAnalyzer Analyzer;
    IBonDriver** LiveWrapperSlot;
};
