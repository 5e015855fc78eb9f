#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>

namespace
{

std::atomic<long> s_iAllocations{0};

}  // namespace

extern "C"
{
    void* __real_malloc(size_t uiSize);
    void* __real_calloc(size_t uiCount, size_t uiSize);
    void* __real_realloc(void* pOld, size_t uiSize);
    void* __real__Znwm(size_t uiSize);
    void* __wrap_malloc(size_t uiSize);
    void* __wrap_calloc(size_t uiCount, size_t uiSize);
    void* __wrap_realloc(void* pOld, size_t uiSize);
    void* __wrap__Znwm(size_t uiSize);

    void* __wrap_malloc(size_t uiSize)
    {
        ++s_iAllocations;
        return __real_malloc(uiSize);
    }

    void* __wrap_calloc(size_t uiCount, size_t uiSize)
    {
        ++s_iAllocations;
        return __real_calloc(uiCount, uiSize);
    }

    void* __wrap_realloc(void* pOld, size_t uiSize)
    {
        ++s_iAllocations;
        return __real_realloc(pOld, uiSize);
    }

    void* __wrap__Znwm(size_t uiSize)
    {
        ++s_iAllocations;
        return __real__Znwm(uiSize);
    }
}

long TEST_AllocationCount()
{
    return s_iAllocations.load();
}
