#include "source_trust.h"

#include "source_table.h"
#include "text_fold.h"

static bool IsExcluded(const WCHAR* name, const WCHAR* exclude)
{
    WCHAR pattern[SourceNameSize + 2];
    DWORD length = 0;
    pattern[length++] = L':';
    for (; *name != 0 && length < SourceNameSize; ++name) pattern[length++] = *name;
    pattern[length++] = L':';
    pattern[length] = 0;
    return ContainsNoCase(exclude, pattern);
}

bool DecideTrust(const WCHAR* name, const WCHAR* modulePath, const WatchSettings& settings)
{
    if (IsExcluded(name, settings.Exclude)) return false;
    for (const TrustedPath& trusted : settings.Trusted) {
        if (EqualNoCase(modulePath, trusted.path)) return true;
    }
    return false;
}
