// Build-only test seam of VelmoraCupWithSeams.dll: the plug-in's global
// operator new and delete, replaced by versions that throw std::bad_alloc
// once an armed countdown runs out, so a test can make any allocation inside
// any export or window event fail and watch the plug-in survive it. The
// shipped VelmoraCup.dll is linked without this file.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// All on the host's one user-interface thread, like the plug-in itself.
long Countdown = 0;
bool KeepFailing = false;
bool Failing = false;
long FailuresSinceArmed = 0;

bool ThisAllocationFails()
{
    if (Failing) {
        ++FailuresSinceArmed;
        return true;
    }
    if (Countdown <= 0 || --Countdown > 0)
        return false;
    ++FailuresSinceArmed;
    Failing = KeepFailing;
    return true;
}

void* Allocate(std::size_t size)
{
    if (ThisAllocationFails())
        throw std::bad_alloc();
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

}  // namespace

// n > 0: the n-th allocation from now fails, once.
// n < 0: the |n|-th allocation from now and every one after it fail, as in a
//        process that has run out of memory, until the next call.
// n = 0: no allocation fails.
// Returns how many allocations were made to fail since the previous call, so
// a sweep knows when a call completed without reaching its countdown.
extern "C" long VelmoraTestFailAllocationAfter(long n)
{
    const long failures = FailuresSinceArmed;
    FailuresSinceArmed = 0;
    Failing = false;
    KeepFailing = n < 0;
    Countdown = n < 0 ? -n : n;
    return failures;
}

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
