// The six operations in one process, on a private registry.
#include "qmpecore/qmpecore.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

using Operations = RegistryTest;

TEST_F(Operations, FailWithoutARegistryAndOnlyAddCreatesIt) {
  EditorMap untouched = {{u"mine", 1}};
  EXPECT_EQ(QmGetEditors(&untouched), -1);
  EXPECT_EQ(untouched, (EditorMap{{u"mine", 1}}));
  EXPECT_EQ(QmGetEditors(nullptr), -1);
  EXPECT_FALSE(QmEditorExists(u"a"));
  EXPECT_FALSE(QmGetEditor(u"a", nullptr));
  EXPECT_FALSE(QmUpdateEditor(u"a", 1));
  EXPECT_FALSE(QmRemoveEditor(u"a", 1));
  EXPECT_FALSE(QmAddEditor(u"a", 0));
  EXPECT_FALSE(SegmentExists());

  EXPECT_TRUE(QmAddEditor(u"a", 5));
  EXPECT_TRUE(SegmentExists());
  EXPECT_FALSE(QmAddEditor(u"a", 6));
  EXPECT_FALSE(QmAddEditor(u"x/../a", 6));  // prepares to the same key
  EXPECT_TRUE(QmAddEditor(nullptr, 6));  // the empty key
  EXPECT_TRUE(QmEditorExists(u""));
  int32_t id = 0;
  EXPECT_TRUE(QmGetEditor(u"a", &id));
  EXPECT_EQ(id, 5);
  EXPECT_TRUE(QmGetEditor(u"a", nullptr));
  EXPECT_FALSE(QmGetEditor(u"b", &id));
  EXPECT_EQ(Editors(), (EditorMap{{u"", 6}, {u"a", 5}}));
}

TEST_F(Operations, UpdateMovesOnlyTheFirstDifferingEntryOfTheEditor) {
  ASSERT_TRUE(QmAddEditor(u"a", 7));
  ASSERT_TRUE(QmAddEditor(u"b", 7));
  ASSERT_TRUE(QmAddEditor(u"c", 8));
  EXPECT_FALSE(QmUpdateEditor(u"x", 9));  // no entry of editor 9
  EXPECT_FALSE(QmUpdateEditor(u"x", 0));
  // "a" is the key itself and is passed over; "b" is moved.
  EXPECT_TRUE(QmUpdateEditor(u"a", 7));
  EXPECT_EQ(Editors(), (EditorMap{{u"a", 7}, {u"c", 8}}));
  EXPECT_FALSE(QmUpdateEditor(u"c", 8));  // editor 8's only entry is the key
  // A key held by another editor: this editor's entry goes, the other stays.
  EXPECT_TRUE(QmUpdateEditor(u"c", 7));
  EXPECT_EQ(Editors(), (EditorMap{{u"c", 8}}));
}

// The add keeps its handles for the life of the process, so the segment
// outlives the removal of its last entry, with an empty list (N = 9).
TEST_F(Operations, RemoveNeedsTheKeysOwnEditorAndTheLastLeavesAnEmptyRegistry) {
  ASSERT_TRUE(QmAddEditor(u"a", 1));
  ASSERT_TRUE(QmAddEditor(u"b", 2));
  EXPECT_FALSE(QmRemoveEditor(u"a", 2));
  EXPECT_TRUE(QmRemoveEditor(u"a", 1));
  EXPECT_FALSE(QmRemoveEditor(u"a", 1));
  EXPECT_EQ(Editors(), (EditorMap{{u"b", 2}}));
  ASSERT_TRUE(QmRemoveEditor(u"b", 2));
  EditorMap list = {{u"old", 1}};
  EXPECT_EQ(QmGetEditors(&list), 0);
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(QmEditorExists(u"b"));
  EXPECT_FALSE(QmGetEditor(u"b", nullptr));
}

TEST_F(Operations, AnUnlockThatEmptiesTheListClosesTheLastHandles) {
  RegistryLock lock;
  ASSERT_TRUE(LockRegistry(&lock, true));
  EXPECT_TRUE(SegmentExists());
  EXPECT_TRUE(UnlockRegistry(&lock, true));
  EXPECT_FALSE(UnlockRegistry(&lock, false));
  EXPECT_FALSE(SegmentExists());
  EXPECT_EQ(QmGetEditors(&lock.editors), -1);
}

// Its creator's handles keep it, unwritten, and nothing can be added to it:
// only the call that makes a segment takes N below 9 as an empty list.
TEST_F(Operations, ASegmentNeverWrittenFailsEveryOperation) {
  RegistryLock lock;
  ASSERT_TRUE(LockRegistry(&lock, true));
  lock.editors.emplace(u"unwritten", 1);  // kept handles, N still 0
  ASSERT_TRUE(UnlockRegistry(&lock, false));
  EXPECT_FALSE(QmEditorExists(u"unwritten"));
  EXPECT_EQ(QmGetEditors(&lock.editors), -1);
  EXPECT_FALSE(QmAddEditor(u"a", 1));
  EXPECT_FALSE(LockRegistry(&lock, true));
  EXPECT_EQ(Helper(registry()).Ask("add b 2"), "0");
}

TEST_F(Operations, WritesBlocksUpToTheSegmentsEnd) {
  ASSERT_TRUE(QmAddEditor(u"k", 1));
  // N = 9 + (3 + 1 + 1) + (3 + 1 + key length) = 1,048,568 exactly.
  const std::u16string largest = u"k" + std::u16string(1048549, u'x');
  ASSERT_TRUE(QmAddEditor(largest.c_str(), 1));
  EXPECT_EQ(Editors().size(), 2u);
  ASSERT_TRUE(QmRemoveEditor(largest.c_str(), 1));
  const std::u16string tooLarge = largest + u'x';
  EXPECT_TRUE(QmAddEditor(tooLarge.c_str(), 1));  // reported, but not written
  EXPECT_EQ(Editors(), (EditorMap{{u"k", 1}}));
}

}  // namespace
}  // namespace qm::testing
