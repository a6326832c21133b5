// Captures this process's debug output (OutputDebugStringA/W) with a vectored exception handler:
// both raise DBG_PRINTEXCEPTION_C with the narrow text, which the handler copies and lets pass.
// (Windows 10 raises the wide DBG_PRINTEXCEPTION_WIDE_C first and then, with no debugger, the
// narrow one; Wine raises only the narrow one. Capturing the narrow one works on both.)
#pragma once

#include <windows.h>

enum : int { CapturedLineLength = 160, CapturedLineCount = 512 };

void StartDebugCapture();
// Forgets everything captured so far.
void ClearDebugCapture();
// Also writes every message to `file` at once (for a process about to exit); null stops it.
void MirrorDebugCapture(HANDLE file);

int CapturedCount();
const char* CapturedLine(int index);
// Index of the first message at or after `from` that equals `text`, or -1.
int FindCaptured(const char* text, int from = 0);
// How many captured messages equal `text`.
int CountCaptured(const char* text);
// Prints everything captured (for a failing scenario).
void DumpCaptured();
