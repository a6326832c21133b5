#include "tot_listener.h"

namespace {

TotListener Listener = nullptr;
void* ListenerContext = nullptr;

}  // namespace

void SetTotListener(TotListener listener, void* context) {
    Listener = listener;
    ListenerContext = context;
}

CTsAnalyzer::CTsAnalyzer(const WCHAR* name) {
    InitFields(name);
}

CTsAnalyzer::~CTsAnalyzer() {
    DeleteCriticalSection(&Lock);
}

void CTsAnalyzer::OnTotUpdated() {
    if (Listener)
        Listener(ListenerContext, Sample);
}
