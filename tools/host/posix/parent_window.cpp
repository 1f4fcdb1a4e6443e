#include "tools/host/parent_window.h"
#include "tools/host/worker_thread.h"

namespace {
// The handle: only its address matters.
char standIn;
}  // namespace

void* CreateParentWindow(int, int, int) { return &standIn; }

void DestroyParentWindow(void*) {}

void RouteThroughDialog(void*) {}

void PumpWindowMessages(int ms, const std::function<void(double)>&) { PauseThread(ms); }
