// A registry call that runs out of memory at any allocation must still
// give the mutex back: else every registry call of every process fails
// until the calling thread ends. A helper process checks the lock after
// each call made to fail.
#include <functional>
#include <string>

#include "qmpecore/qmpecore.h"
#include "registry/registry_test_support.h"
#include "support/failing_allocations.h"

namespace qm::testing {
namespace {

using AllocationFailures = RegistryTest;

TEST_F(AllocationFailures, EveryCallGivesTheMutexBackWhateverAllocationFails) {
  Helper other(registry());
  // Long keys, so that converting and writing them back allocate.
  const std::u16string first = u"plant-" + std::u16string(300, u'a');
  const std::u16string second = u"plant-" + std::u16string(300, u'b');
  ASSERT_TRUE(QmAddEditor(u"kept", 1));  // a list to parse on every lock
  // The case-fold table is built on first use (on Windows with many
  // allocations of its own): build it before the failures start, so that
  // they fall inside the calls' own work.
  EXPECT_FALSE(QmUpdateEditor(u"kept", 1));
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
  EXPECT_EQ(Editors(), (EditorMap{{u"kept", 1}}));
}

}  // namespace
}  // namespace qm::testing
