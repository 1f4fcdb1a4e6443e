// Counting the allocations of one thread: a test binary that adds
// counting_new.cpp replaces every form of operator new (but the aligned
// ones, which keep the library's pair) with one that counts what the thread
// that switched counting on asks for.
#pragma once

// [the counting thread] Starts counting from 0, or stops.
void CountAllocations(bool on);
// The allocations counted so far.
int CountedAllocations();
