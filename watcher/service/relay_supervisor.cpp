#include "relay_supervisor.h"

#include <algorithm>

void RelaySupervisor::Notify(SessionChange change, DWORD session)
{
    std::lock_guard<std::mutex> hold(ChangesLock);
    Changes.emplace_back(change, session);
}

void RelaySupervisor::StartAll(DWORD now)
{
    for (DWORD session : Platform.SignedInSessions()) {
        if (Relays.count(session) != 0) continue;
        Relay& relay = Relays.emplace(session, Relay(session)).first->second;
        Launch(session, relay, now);
    }
}

void RelaySupervisor::Launch(DWORD session, Relay& relay, DWORD now)
{
    relay.lastStart = now;
    relay.channel = RelayChannel(session);
    relay.dropLogged = false;
    DWORD error = 0;
    relay.process = Platform.Start(session, error);
    if (!relay.process) {
        if (!relay.failureLogged) Events.RelayStartFailed(session, error);
        relay.failureLogged = true;
        return;
    }
    Events.RelayStarted(session, relay.everStarted);
    relay.everStarted = true;
    relay.failureLogged = false;
}

void RelaySupervisor::Poll(DWORD now)
{
    TakeChanges(now);
    for (auto it = Relays.begin(); it != Relays.end();) {
        if (it->second.process && !ReadRelay(it->first, it->second, now)) {
            it = Relays.erase(it);
        } else {
            ++it;
        }
    }
    RestartDue(now);
}

void RelaySupervisor::TakeChanges(DWORD now)
{
    std::vector<std::pair<SessionChange, DWORD>> changes;
    {
        std::lock_guard<std::mutex> hold(ChangesLock);
        changes.swap(Changes);
    }
    bool signedIn = false;
    for (const auto& change : changes) {
        if (change.first == SessionChange::SignedIn) {
            signedIn = true;
            continue;
        }
        const auto found = Relays.find(change.second);
        if (found == Relays.end()) continue;
        Relay& relay = found->second;
        if (relay.process) {
            relay.process->End();
            Events.RelayEnded(change.second, relay.channel.Dropped());
        }
        Relays.erase(found);
    }
    if (signedIn) StartAll(now);
}

// At a logoff Windows ends the session's programs, the relay among them, and the notice may come
// after: a relay that ended with its session ended on purpose.
bool RelaySupervisor::ReadRelay(DWORD session, Relay& relay, DWORD now)
{
    std::vector<uint8_t> bytes;
    relay.process->Read(bytes);
    relay.channel.Take(bytes, now, Platform);
    if (relay.channel.Dropped() != 0 && !relay.dropLogged) {
        relay.dropLogged = true;
        Events.RelayRecordsDropped(session);
    }
    DWORD exitCode = 0;
    if (!relay.process->HasEnded(exitCode)) return true;
    relay.process.reset();
    if (!IsSignedIn(session)) {
        Events.RelayEnded(session, relay.channel.Dropped());
        return false;
    }
    Events.RelayDied(session, exitCode, relay.channel.Dropped());
    relay.channel = RelayChannel(session);  // its windows are gone with it
    return true;
}

bool RelaySupervisor::IsSignedIn(DWORD session)
{
    const std::vector<DWORD> signedIn = Platform.SignedInSessions();
    return std::find(signedIn.begin(), signedIn.end(), session) != signedIn.end();
}

// A session that is no longer signed in gets no relay again.
void RelaySupervisor::RestartDue(DWORD now)
{
    for (auto it = Relays.begin(); it != Relays.end();) {
        Relay& relay = it->second;
        if (relay.process || now - relay.lastStart < RelayRestartMsec) {
            ++it;
        } else if (!IsSignedIn(it->first)) {
            it = Relays.erase(it);
        } else {
            Launch(it->first, relay, now);
            ++it;
        }
    }
}

void RelaySupervisor::AppendTo(std::vector<AnnouncerSnapshot>& windows) const
{
    for (const auto& entry : Relays) entry.second.channel.AppendTo(windows);
}

void RelaySupervisor::EndAll()
{
    for (auto& entry : Relays) {
        Relay& relay = entry.second;
        if (!relay.process) continue;
        relay.process->End();
        Events.RelayEnded(entry.first, relay.channel.Dropped());
    }
    Relays.clear();
}
