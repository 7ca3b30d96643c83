// Counting the allocations of the midi tests: every operator new of the test program goes
// through here.
#include "loopback_support.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace harmik::test {

namespace {
thread_local bool tCounting = false;
thread_local long tAllocations = 0;
std::atomic<bool> gCountingAll{false};
std::atomic<long> gAllocations{0};
} // namespace

void CountAllocation() {
    if (tCounting)
        ++tAllocations;
    if (gCountingAll.load(std::memory_order_relaxed))
        gAllocations.fetch_add(1, std::memory_order_relaxed);
}

AllocationCounter::AllocationCounter(bool allThreads) {
    tAllocations = 0;
    gAllocations = 0;
    if (allThreads)
        gCountingAll = true;
    else
        tCounting = true;
}
AllocationCounter::~AllocationCounter() {
    tCounting = false;
    gCountingAll = false;
}
long AllocationCounter::count() const {
    return tAllocations + gAllocations.load();
}

} // namespace harmik::test

// Every operator new of the test program goes through here so that a test can count the
// allocations of one thread.
void* operator new(std::size_t size) {
    harmik::test::CountAllocation();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
