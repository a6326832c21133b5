// The name that ties the wrapper's announcement windows to their readers: the class name of
// every announcement window and the name of the registered broadcast message.
#pragma once

inline constexpr wchar_t AnnounceName[] = L"QUELLAP-A55C8670-B588-44DC-A89D-59638204C2BE";
