// Where a file really lies and who could change it, read from Windows for the service checks.
#pragma once

#include <stdint.h>

#include <string>

#include "file_security.h"

// The full path with every link and junction resolved, as "C:\..." or "\\server\share\...".
uint32_t ReadFinalPath(const std::wstring& path, std::wstring& final);
// The owner and the allowing entries of the access control list of a file or folder.
uint32_t ReadFileSecurity(const std::wstring& path, FileSecurity& security);
// "DOMAIN\name" of a SID given as "S-1-..."; the SID itself when it names no account.
std::wstring AccountNameOf(const std::wstring& sid);
// The SID of the user this program runs as; empty when it cannot be read.
std::wstring ProcessUserSid();
