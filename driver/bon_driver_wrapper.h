// The object handed to the host for a wrapped driver of level IBonDriver: every position goes to
// the wrapped driver's object of the same level with arguments and results unchanged, and both
// GetTsStream overloads also feed the analyser. Its bases are IBonDriver only, so the host's
// run-time type queries answer as they would on the wrapped driver.
#pragma once

#include "wrapper_steps.h"

class CBonDriverWrapper final : public IBonDriver {
public:
    CBonDriverWrapper(IBonDriver* driver, HMODULE module, const WCHAR* name, IBonDriver** slot)
        : WrappedDriver(driver), WrappedModule(module), Analyzer(name, WindowAnnouncer), LiveWrapperSlot(slot) {}

    BOOL OpenTuner() override { return WrappedDriver->OpenTuner(); }
    void CloseTuner() override { WrappedDriver->CloseTuner(); }
    BOOL SetChannel(BYTE channel) override { return WrappedDriver->SetChannel(channel); }
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

private:
    IBonDriver* WrappedDriver;
    HMODULE WrappedModule;
    CTsAnalyzer Analyzer;
    IBonDriver** LiveWrapperSlot;
};
