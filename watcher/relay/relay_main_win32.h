// Horavant.exe --relay: started by the service in a signed-in user's session, as that user, on
// the session's interactive desktop. It scans that desktop as the window does and writes what
// it read into the pipe it was given as standard output; it decides nothing. It ends when the
// service no longer reads (the pipe is broken).
#pragma once

// Exit code of the relay started by anything but the service (its output is not a pipe).
constexpr int RelayNotStartedByService = 2;

int RunRelay();
