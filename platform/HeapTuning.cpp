#include "HeapTuning.h"

#include <cstdlib> // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void HeapTuning::keepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, KeptBytes);
    mallopt(M_MMAP_THRESHOLD, MappedFromBytes);
#endif
}
