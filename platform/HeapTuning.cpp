#include "HeapTuning.h"

#include <cstdlib> // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
constexpr std::size_t KeptBytes = 32 * 1024 * 1024;
constexpr std::size_t MappedFromBytes = 4 * 1024 * 1024;
} // namespace

void HeapTuning::keepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, int(KeptBytes));
    mallopt(M_MMAP_THRESHOLD, int(MappedFromBytes));
#endif
}

void HeapTuning::returnFreedMemory()
{
#if defined(__GLIBC__)
    if (mallinfo2().fordblks > KeptBytes)
        malloc_trim(KeptBytes);
#endif
}
