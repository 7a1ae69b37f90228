// What the registry does only on POSIX: keys that differ in case alone
// (Windows folds keys), and the backend's files behind the named objects:
// only ours are used, none is left behind, and no descriptor leaks.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/named_object_files.h"
#include "qmpecore/qmpecore.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

using Operations = RegistryTest;

TEST_F(Operations, UpdatePassesOverAKeyEqualIgnoringCase) {
  ASSERT_TRUE(QmAddEditor(u"/A", 7));
  ASSERT_TRUE(QmAddEditor(u"/b", 7));
  ASSERT_TRUE(QmAddEditor(u"/c", 8));
  // "/A" equals "/a" ignoring case and is passed over; "/b" is moved.
  EXPECT_TRUE(QmUpdateEditor(u"/a", 7));
  EXPECT_EQ(Editors(), (EditorMap{{u"/A", 7}, {u"/a", 7}, {u"/c", 8}}));
  // Only the letter case differs from every entry of editor 8.
  EXPECT_FALSE(QmUpdateEditor(u"/C", 8));
  // A key held by another editor: this editor's entry goes, the other stays.
  EXPECT_TRUE(QmUpdateEditor(u"/c", 7));
  EXPECT_EQ(Editors(), (EditorMap{{u"/a", 7}, {u"/c", 8}}));
}

TEST_F(Operations, AnEmptiedRegistryLeavesNoFiles) {
  EXPECT_FALSE(QmEditorExists(u"/a"));
  EXPECT_TRUE(std::filesystem::is_empty(registry()));  // a failed lookup makes nothing
  RegistryLock lock;
  ASSERT_TRUE(LockRegistry(&lock, true));
  EXPECT_TRUE(UnlockRegistry(&lock, true));
  EXPECT_TRUE(std::filesystem::is_empty(registry()));  // lock files gone too
}

TEST_F(Operations, RefusesObjectsThatAreNotOurs) {
  const std::string segment =
      registry() + "/" +
      platform::NamedObjectFileName(platform::NamedObjectKind::kMapping, kRegistrySegmentName);
  ASSERT_EQ(chmod(registry().c_str(), 0755), 0);
  EXPECT_FALSE(QmAddEditor(u"/a", 1));  // the folder is open to others
  ASSERT_EQ(chmod(registry().c_str(), 0700), 0);
  ASSERT_EQ(mkfifo(segment.c_str(), 0600), 0);
  EXPECT_FALSE(QmAddEditor(u"/a", 1));  // not a plain file
  ASSERT_EQ(unlink(segment.c_str()), 0);
  ASSERT_EQ(close(creat(segment.c_str(), 0644)), 0);
  EXPECT_FALSE(QmAddEditor(u"/a", 1));  // others may read it
  EXPECT_EQ(std::filesystem::file_size(segment), 0u);
  if (geteuid() == 0) {
    ASSERT_EQ(chmod(segment.c_str(), 0600), 0);
    ASSERT_EQ(chown(segment.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(QmAddEditor(u"/a", 1));  // another user's
  }
  ASSERT_EQ(unlink(segment.c_str()), 0);
  EXPECT_TRUE(QmAddEditor(u"/a", 1));
}

TEST_F(Operations, KeepsTheDescriptorCountFlat) {
  auto descriptors = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
  };
  ASSERT_TRUE(QmAddEditor(u"/p", 1));
  const auto before = descriptors();
  for (int i = 0; i < 25000; ++i) {
    ASSERT_TRUE(QmAddEditor(u"/k", 2));
    ASSERT_TRUE(QmEditorExists(u"/k"));
    ASSERT_TRUE(QmUpdateEditor(u"/j", 2));
    ASSERT_TRUE(QmRemoveEditor(u"/j", 2));
  }
  EXPECT_EQ(descriptors(), before);
}

}  // namespace
}  // namespace qm::testing
