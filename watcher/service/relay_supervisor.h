// The relays: one Horavant.exe --relay in every signed-in session, started by the service as
// that session's user, each reporting the announcement windows of its desktop through a pipe
// only it holds the other end of. Runs on the service's worker; only Notify is called from the
// control handler's thread.
#pragma once

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "relay_channel.h"
#include "service_events.h"

// A relay that dies is started again no sooner than this after its last start.
constexpr DWORD RelayRestartMsec = 60 * 1000;

// One running relay: on Windows its process and the read end of its pipe.
class RelayProcess {
public:
    virtual ~RelayProcess() = default;
    // Appends what the relay wrote since the last call, without waiting.
    virtual void Read(std::vector<uint8_t>& bytes) = 0;
    // True once the process has ended, with its exit code.
    virtual bool HasEnded(DWORD& exitCode) = 0;
    // Ends the process on purpose.
    virtual void End() = 0;
};

// On Windows the terminal services' sessions and tokens and CreateProcessAsUserW.
class RelayPlatform : public RelayOwners {
public:
    // The sessions with a signed-in user.
    virtual std::vector<DWORD> SignedInSessions() = 0;
    // Starts a relay in `session` as its user; null, with the Win32 error, when it cannot.
    virtual std::unique_ptr<RelayProcess> Start(DWORD session, DWORD& error) = 0;

protected:
    ~RelayPlatform() = default;
};

enum class SessionChange {
    SignedIn,   // a logon or a connection: sessions without a relay get one
    SignedOut,  // a logoff: the session's relay ends, and is not started again
};

class RelaySupervisor {
public:
    RelaySupervisor(RelayPlatform& platform, ServiceEvents& events)
        : Platform(platform), Events(events) {}
    RelaySupervisor(const RelaySupervisor&) = delete;
    RelaySupervisor& operator=(const RelaySupervisor&) = delete;

    // From the control handler: taken at the next Poll.
    void Notify(SessionChange change, DWORD session);
    // At the service's start: a relay for every signed-in session that has none.
    void StartAll(DWORD now);
    // Before each scan: the session changes, what the relays wrote, relays that died, and the
    // restarts that are due.
    void Poll(DWORD now);
    // Appends the windows that the relays' last whole scans reported.
    void AppendTo(std::vector<AnnouncerSnapshot>& windows) const;
    // At the service's stop.
    void EndAll();

private:
    struct Relay {
        explicit Relay(DWORD session) : channel(session) {}
        std::unique_ptr<RelayProcess> process;  // null while a start is due
        RelayChannel channel;
        DWORD lastStart = 0;  // tick of the last attempt, ms
        bool everStarted = false;
        bool failureLogged = false;  // since the last start that worked
        bool dropLogged = false;     // for the running process
    };

    void Launch(DWORD session, Relay& relay, DWORD now);
    void TakeChanges(DWORD now);
    // False when the relay ended with its session: it is to be forgotten.
    bool ReadRelay(DWORD session, Relay& relay, DWORD now);
    bool IsSignedIn(DWORD session);
    void RestartDue(DWORD now);

    RelayPlatform& Platform;
    ServiceEvents& Events;
    std::map<DWORD, Relay> Relays;  // by session
    std::mutex ChangesLock;
    std::vector<std::pair<SessionChange, DWORD>> Changes;  // under ChangesLock
};
