#include "window_peek.h"

#include "source_line.h"
#include "window_titles.h"

namespace {

const int SourceListId = 1001;

struct Search {
    DWORD processId;
    HWND found;
};

bool IsWatcherWindow(HWND window)
{
    WCHAR className[16];
    if (!GetClassNameW(window, className, 16) || lstrcmpW(className, L"#32770") != 0) return false;
    return WindowTitle(window).rfind(MainTitle, 0) == 0 && GetDlgItem(window, SourceListId);
}

BOOL CALLBACK CheckWindow(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId == 0 || owner == search.processId) && IsWatcherWindow(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindWatcherWindow(DWORD processId)
{
    Search search = {processId, NULL};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowTitle(HWND window)
{
    WCHAR title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

std::vector<std::wstring> ListLines(HWND dialog)
{
    std::vector<std::wstring> lines;
    const HWND list = GetDlgItem(dialog, SourceListId);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // The list is refreshed at any moment, so a length asked for first may be outdated by the
        // time the line is read: the buffer holds the longest line the watcher ever writes.
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR || length >= LRESULT(SourceLineSize)) break;
        WCHAR line[SourceLineSize];
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        if (copied == LB_ERR) break;  // the list shrank meanwhile
        lines.emplace_back(line, static_cast<size_t>(copied));
    }
    return lines;
}

int SelectedLine(HWND dialog)
{
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, SourceListId), LB_GETCURSEL, 0, 0));
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         NULL, 0, NULL, NULL);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                        NULL, NULL);
    return out;
}
