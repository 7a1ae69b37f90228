// The configuration manager when memory runs out at any allocation of an
// open or of the snapshot's first making: the open fails with the
// out-of-memory code and leaves the manager closed, the snapshot comes
// whole or not at all, and nothing crashes.
#include <gtest/gtest.h>

#include "config/config_manager.h"
#include "qmcfg/qmcfg.h"
#include "support/config_sets.h"
#include "support/failing_allocations.h"
#include "support/sample_config.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

// Gives the number of allocations after which every further one fails,
// and puts the limit back when it goes.
class AllocationBudget {
 public:
  explicit AllocationBudget(long allocations) {
    testing::g_allocationFailed = false;
    testing::g_allocationsLeft = allocations;
  }
  ~AllocationBudget() { testing::g_allocationsLeft = -1; }
  bool failed() const { return testing::g_allocationFailed; }
};

using testing::SameTables;

TEST(ConfigMemory, AnOpenOrASnapshotThatRunsOutOfMemoryFailsWholeAtEveryAllocation) {
  testing::TempFolder folder;
  const std::u16string path = folder.Text("plant.qmp");
  ASSERT_EQ(testing::WriteProjectFile(path, testing::SampleSet()), kCfgOk);
  CConfigManagerEx reference;
  ASSERT_EQ(reference.Open(path.c_str(), 0), 0);
  const ConfigTableSet& stored = *reference.GetTables(false);

  // The store's own open cannot tell a lack of memory from a path it cannot
  // open; past its allocations, the manager must say which.
  long storeOpenAllocations = 0;
  for (;; ++storeOpenAllocations) {
    AllocationBudget limit(storeOpenAllocations);
    const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
    if (!limit.failed()) {
      CfgCloseConfig(handle);
      break;
    }
  }

  int failures = 0;
  for (long budget = 0;; ++budget) {
    CConfigManagerEx manager;
    int32_t opened;
    {
      AllocationBudget limit(budget);
      opened = manager.Open(path.c_str(), 0);
      if (!limit.failed()) {
        ASSERT_EQ(opened, 0);
        break;
      }
    }
    ++failures;
    ASSERT_EQ(opened, budget < storeOpenAllocations ? -1 : CConfigManagerEx::kOutOfMemory)
        << "after " << budget << " allocations";
    EXPECT_EQ(manager.GetConfigHandle(), 0u);
    EXPECT_EQ(manager.GetTables(true)->ioTags, nullptr);
  }
  // The sweep reached past the manager's own first allocations (on Windows
  // only this program's allocations fail, not those inside qmcfg.dll).
  EXPECT_GT(failures, 10);

  CConfigManagerEx manager;
  ASSERT_EQ(manager.Open(path.c_str(), 0), 0);
  for (long budget = 0;; ++budget) {
    const ConfigTableSet* snapshot;
    {
      AllocationBudget limit(budget);
      snapshot = manager.GetTables(false);
      if (!limit.failed()) {
        ASSERT_NE(snapshot, nullptr);
        break;
      }
    }
    EXPECT_EQ(snapshot, nullptr) << "after " << budget << " allocations";
  }
  EXPECT_TRUE(SameTables(*manager.GetTables(false), stored));
  EXPECT_TRUE(SameTables(*manager.GetTables(true), stored));
}

}  // namespace
}  // namespace qm
