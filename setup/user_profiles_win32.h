// Where the users' profiles lie, which their users can change: no service program may lie there.
#pragma once

#include <string>
#include <vector>

std::vector<std::wstring> UserProfileFolders();
