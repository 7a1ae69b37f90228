// A registry call that runs out of memory at any allocation must still
// give the mutex back: else every registry call of every process fails
// until the calling thread ends. This program's allocations fail on
// demand, and a helper process checks the lock after each failed call.
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "qmpecore/qmpecore.h"
#include "registry/registry_test_support.h"

namespace {

// -1: allocations succeed. n >= 0: n more succeed, then every one throws
// std::bad_alloc (and sets g_allocationFailed) until this is set back.
thread_local long g_allocationsLeft = -1;
thread_local bool g_allocationFailed = false;

}  // namespace

void* operator new(std::size_t size) {
  if (g_allocationsLeft == 0) {
    g_allocationFailed = true;
    throw std::bad_alloc();
  }
  if (g_allocationsLeft > 0) --g_allocationsLeft;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
// The array forms too: a sanitizer's runtime would otherwise serve them.
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace qm::testing {
namespace {

using AllocationFailures = RegistryTest;

TEST_F(AllocationFailures, EveryCallGivesTheMutexBackWhateverAllocationFails) {
  Helper other(folder());
  // Long keys, so that converting and writing them back allocate.
  const std::u16string first = u"/plant/" + std::u16string(300, u'a');
  const std::u16string second = u"/plant/" + std::u16string(300, u'b');
  ASSERT_TRUE(QmAddEditor(u"/kept", 1));  // a list to parse on every lock
  const std::function<void()> calls[] = {
      [&] { QmAddEditor(first.c_str(), 7); },
      [&] { QmUpdateEditor(second.c_str(), 7); },
      [&] {
        EditorMap list;
        QmGetEditors(&list);
      },
      [&] { QmRemoveEditor(second.c_str(), 7); },
  };
  int failedCalls = 0;
  for (size_t call = 0; call < std::size(calls); ++call) {
    for (long allowed = 0;; ++allowed) {
      g_allocationFailed = false;
      g_allocationsLeft = allowed;
      calls[call]();
      g_allocationsLeft = -1;
      ASSERT_EQ(other.Ask("lock"), "1") << "call " << call << ", allocation " << allowed;
      ASSERT_EQ(other.Ask("unlock"), "1");
      if (!g_allocationFailed) break;
      ++failedCalls;
    }
  }
  EXPECT_GT(failedCalls, 20);  // the failures did reach inside the calls
  EXPECT_EQ(Editors(), (EditorMap{{u"/kept", 1}}));
}

}  // namespace
}  // namespace qm::testing
