// Allocations that fail on demand, for tests of what a call leaves behind
// when memory runs out. Include this header in exactly one source file of
// a test program: it replaces the program's global operator new and delete
// in every form but the aligned ones (a sanitizer's runtime would serve a
// form left out, and its delete would then meet our new).
#ifndef QMPECORE_TESTS_SUPPORT_FAILING_ALLOCATIONS_H_
#define QMPECORE_TESTS_SUPPORT_FAILING_ALLOCATIONS_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace qm::testing {

// An allocation of more than this many bytes fails.
inline std::size_t g_largestAllocation = SIZE_MAX;
// -1: no allocation fails for its number. n >= 0: n more allocations of
// this thread succeed, then every one fails until this is set back to -1.
inline thread_local long g_allocationsLeft = -1;
// Set when an allocation of this thread failed.
inline thread_local bool g_allocationFailed = false;

}  // namespace qm::testing

// Not inlined, so that the compiler never sees free() meet the result of
// the declared operator new.
[[gnu::noinline]] void* operator new(std::size_t size) {
  using namespace qm::testing;
  if (g_allocationsLeft == 0 || size > g_largestAllocation) {
    g_allocationFailed = true;
    throw std::bad_alloc();
  }
  if (g_allocationsLeft > 0) --g_allocationsLeft;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
[[gnu::noinline]] void* operator new[](std::size_t size) { return operator new(size); }
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}

#endif  // QMPECORE_TESTS_SUPPORT_FAILING_ALLOCATIONS_H_
