// QuellapSetup's console on Windows: its texts out, the user's language, and Enter in.
#pragma once

#include <windows.h>

#include "setup_program.h"

class Win32SetupConsole : public SetupConsole {
public:
    // To a console as UTF-16, else (redirected) as UTF-8.
    void Write(bool error, const std::wstring& text) override;
    bool IsOwn() override;
    void WaitForEnter() override;
};

bool UserLanguageIsJapanese();
