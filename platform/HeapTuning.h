#pragma once

// How the process's heap treats memory it frees.
class HeapTuning {
public:
    // Each lights request and state change rebuilds the light list: with
    // many lights, a megabyte or two of small objects made and freed again.
    // Keeping freed memory (up to 32 MB) in the heap, instead of handing it
    // back to the system and faulting it in again at the next request, saves
    // much of that rebuild's cost for a few megabytes held. Blocks below
    // 4 MB come from the heap rather than from a mapping of their own, so the
    // rendered light list reuses freed memory too.
    static void keepFreedMemory();

    // Hands free memory back to the system once the heap holds more than the
    // 32 MB it keeps. The heap returns only its free top on its own; a huge
    // list freed between objects that stay (the window's rows) would
    // otherwise stay resident for good.
    static void returnFreedMemory();
};
