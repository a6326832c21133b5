#include "debug_capture.h"

#include "check.h"

#include <string.h>

namespace {

const DWORD DebugPrintException = 0x40010006;  // DBG_PRINTEXCEPTION_C

char Lines[CapturedLineCount][CapturedLineLength];
volatile LONG Count = 0;
HANDLE Mirror = nullptr;
PVOID Handler = nullptr;

LONG CALLBACK CaptureDebugPrint(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode != DebugPrintException || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    if (!text)
        return EXCEPTION_CONTINUE_SEARCH;
    if (Mirror) {
        DWORD written;
        WriteFile(Mirror, text, DWORD(strlen(text)), &written, nullptr);
    }
    const LONG index = InterlockedIncrement(&Count) - 1;
    if (index < CapturedLineCount)
        lstrcpynA(Lines[index], text, CapturedLineLength);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void StartDebugCapture() {
    if (!Handler)
        Handler = AddVectoredExceptionHandler(1, CaptureDebugPrint);
}

void ClearDebugCapture() { InterlockedExchange(&Count, 0); }

void MirrorDebugCapture(HANDLE file) { Mirror = file; }

int CapturedCount() { return Count < CapturedLineCount ? int(Count) : CapturedLineCount; }

const char* CapturedLine(int index) { return Lines[index]; }

int FindCaptured(const char* text, int from) {
    for (int i = from; i < CapturedCount(); ++i)
        if (strcmp(Lines[i], text) == 0)
            return i;
    return -1;
}

int CountCaptured(const char* text) {
    int count = 0;
    for (int i = 0; i < CapturedCount(); ++i)
        count += strcmp(Lines[i], text) == 0;
    return count;
}

void DumpCaptured() {
    for (int i = 0; i < CapturedCount(); ++i)
        Print("  debug[%d]: %s", i, Lines[i]);
}
