// Named mappings and mutexes within one process: their lifetime, shared
// views, recursive ownership and the refusals of misused handles. (Other
// processes and dead owners are the registry process tests' subject.)
#include "platform/named_objects.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qm::platform {
namespace {

constexpr uint32_t kLockWaitMs = 1000;

std::u16string UniqueName(const char* what) {
  const std::string name = "qmpe-test-" + std::string(what) + "-" + std::to_string(std::random_device()());
  return std::u16string(name.begin(), name.end());
}

TEST(NamedObjects, MappingLivesWhileHeldAndViewsShareOneAddress) {
  const std::u16string name = UniqueName("mapping");
  NamedHandle missing = nullptr;
  EXPECT_EQ(OpenNamedMapping(name, kLockWaitMs, &missing).error, NamedObjectError::kNotFound);

  NamedHandle first = nullptr;
  bool existed = true;
  ASSERT_TRUE(CreateNamedMapping(name, 4096, kLockWaitMs, &first, &existed).ok());
  EXPECT_FALSE(existed);
  NamedView view;
  ASSERT_TRUE(MapNamedView(first, &view).ok());
  ASSERT_GE(view.size, 4096u);
  EXPECT_EQ(view.base[0], 0);
  view.base[0] = 42;

  NamedHandle second = nullptr;
  ASSERT_TRUE(CreateNamedMapping(name, 4096, kLockWaitMs, &second, &existed).ok());
  EXPECT_TRUE(existed);
  NamedView again;
  ASSERT_TRUE(MapNamedView(second, &again).ok());
  EXPECT_EQ(again.base, view.base);
  EXPECT_EQ(again.base[0], 42);

  EXPECT_TRUE(UnmapNamedView(again.base).ok());
  EXPECT_TRUE(UnmapNamedView(view.base).ok());
  EXPECT_EQ(UnmapNamedView(view.base).error, NamedObjectError::kUnmapView);  // one too many
  CloseNamedHandle(second);
  CloseNamedHandle(first);
  EXPECT_EQ(OpenNamedMapping(name, kLockWaitMs, &missing).error, NamedObjectError::kNotFound);
}

TEST(NamedObjects, MutexIsRecursiveAndRefusesMisuse) {
  NamedHandle mutex = nullptr;
  bool existed = true;
  ASSERT_TRUE(CreateNamedMutex(UniqueName("mutex"), true, kLockWaitMs, &mutex, &existed).ok());
  EXPECT_FALSE(existed);
  NamedObjectStatus status;
  EXPECT_EQ(WaitForNamedMutex(mutex, 0, &status), WaitResult::kAcquired);
  EXPECT_TRUE(ReleaseNamedMutex(mutex).ok());
  EXPECT_TRUE(ReleaseNamedMutex(mutex).ok());
  EXPECT_EQ(ReleaseNamedMutex(mutex).error, NamedObjectError::kReleaseMutex);

  NamedHandle mapping = nullptr;
  ASSERT_TRUE(CreateNamedMapping(UniqueName("other"), 4096, kLockWaitMs, &mapping, &existed).ok());
  NamedView view;
  EXPECT_EQ(MapNamedView(mutex, &view).error, NamedObjectError::kBadHandle);
  EXPECT_EQ(MapNamedView(nullptr, &view).error, NamedObjectError::kBadHandle);
  EXPECT_EQ(ReleaseNamedMutex(mapping).error, NamedObjectError::kBadHandle);
  EXPECT_EQ(WaitForNamedMutex(mapping, 0, &status), WaitResult::kFailed);
  EXPECT_EQ(status.error, NamedObjectError::kBadHandle);
  int local = 0;
  EXPECT_EQ(UnmapNamedView(&local).error, NamedObjectError::kUnmapView);
  CloseNamedHandle(mapping);
  CloseNamedHandle(mutex);
}

}  // namespace
}  // namespace qm::platform
