#pragma once

// How the process's heap treats memory it frees.
class HeapTuning {
public:
    // Each lights request and state change rebuilds the light list: with
    // many lights, a megabyte or two of small objects made and freed again.
    // Keeping freed memory (up to KeptBytes) in the heap, instead of handing
    // it back to the system and faulting it in again at the next request,
    // saves much of that rebuild's cost for a few megabytes held.
    static constexpr int KeptBytes = 32 * 1024 * 1024;
    // Blocks below this come from the heap rather than from a mapping of
    // their own, so the rendered light list reuses freed memory too.
    static constexpr int MappedFromBytes = 4 * 1024 * 1024;

    static void keepFreedMemory();
};
