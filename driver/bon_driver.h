// The host applications' tuner-driver interface, declared here under the hosts' own names.
// Hosts call by vtable position, so the layout is binding: in the MSVC ABI the overloads of one
// name share the slot of the first of them and come in reverse declaration order, which is why
// the GetTsStream(BYTE*) overload is declared before GetTsStream(BYTE**): position 6 must be
// the BYTE** one. The types are `class`es in the global namespace because run-time type queries
// across modules compare the type descriptors' names. No virtual destructor: Release (position 9)
// destroys the object.
#pragma once

#include <windows.h>

class IBonDriver {
public:
    virtual BOOL OpenTuner() = 0;                                           // 0
    virtual void CloseTuner() = 0;                                          // 1
    virtual BOOL SetChannel(BYTE channel) = 0;                              // 2
    virtual float GetSignalLevel() = 0;                                     // 3
    virtual DWORD WaitTsStream(DWORD timeout) = 0;                          // 4
    virtual DWORD GetReadyCount() = 0;                                      // 5
    virtual BOOL GetTsStream(BYTE* buffer, DWORD* size, DWORD* remain) = 0;  // 7
    virtual BOOL GetTsStream(BYTE** data, DWORD* size, DWORD* remain) = 0;   // 6
    virtual void PurgeTsStream() = 0;                                       // 8
    virtual void Release() = 0;                                             // 9
};

// SetChannel(DWORD, DWORD) hides SetChannel(BYTE) in this class on purpose: a using-declaration
// of the base overload would make the compiler group the new overload at the head of this
// class's slots (position 10 instead of 14).
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
class IBonDriver2 : public IBonDriver {
public:
    virtual LPCTSTR GetTunerName() = 0;                                     // 10
    virtual BOOL IsTunerOpening() = 0;                                      // 11
    virtual LPCTSTR EnumTuningSpace(DWORD space) = 0;                       // 12
    virtual LPCTSTR EnumChannelName(DWORD space, DWORD channel) = 0;        // 13
    virtual BOOL SetChannel(DWORD space, DWORD channel) = 0;                // 14
    virtual DWORD GetCurSpace() = 0;                                        // 15
    virtual DWORD GetCurChannel() = 0;                                      // 16
};
#pragma clang diagnostic pop

class IBonDriver3 : public IBonDriver2 {
public:
    virtual DWORD GetTotalDeviceNum() = 0;                                  // 17
    virtual DWORD GetActiveDeviceNum() = 0;                                 // 18
    virtual BOOL SetLnbPower(BOOL enable) = 0;                              // 19
};
