// The registry across real processes: helpers are this program re-run (see
// registry_test_support.h), killed as a crash would where a test says so.
#include <chrono>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "qmpecore/qmpecore.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

using Processes = RegistryTest;

std::set<std::u16string> Keys(const EditorMap& editors) {
  std::set<std::u16string> keys;
  for (const auto& entry : editors) keys.insert(entry.first);
  return keys;
}

std::set<std::u16string> Words(const std::string& line) {
  std::set<std::u16string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.insert(std::u16string(word.begin(), word.end()));
  return words;
}

TEST_F(Processes, AWaiterGivesUpWhileAnotherProcessHoldsTheLock) {
  ASSERT_TRUE(QmAddEditor(u"p", 1));
  Helper holder(registry());
  ASSERT_EQ(holder.Ask("lock"), "1");
  EXPECT_FALSE(QmEditorExists(u"p"));
  EXPECT_FALSE(QmAddEditor(u"q", 2));
  ASSERT_EQ(holder.Ask("unlock"), "1");
  EXPECT_TRUE(QmEditorExists(u"p"));
}

TEST_F(Processes, AHolderKilledWithTheLockDoesNotWedgeTheRegistry) {
  if (!AbandonedLocksAreHandedOn()) GTEST_SKIP() << kNoAbandonedLocks;
  ASSERT_TRUE(QmAddEditor(u"p", 1));
  Helper holder(registry());
  ASSERT_EQ(holder.Ask("add h 2"), "1");
  ASSERT_EQ(holder.Ask("lock"), "1");
  holder.Kill();
  // The abandoned mutex is taken over and the whole list kept.
  EXPECT_TRUE(QmEditorExists(u"h"));
  EXPECT_TRUE(QmAddEditor(u"q", 3));
  EXPECT_EQ(Editors(), (EditorMap{{u"h", 2}, {u"p", 1}, {u"q", 3}}));
}

TEST_F(Processes, AWriterKilledMidWriteBackLeavesNoCutKey) {
  if (!AbandonedLocksAreHandedOn()) GTEST_SKIP() << kNoAbandonedLocks;
  for (const char* tear : {"tear-zero 100", "tear-length 40", "tear-length 224"}) {
    SCOPED_TRACE(tear);
    ASSERT_TRUE(QmAddEditor(u"p", 1));
    Helper writer(registry());
    ASSERT_EQ(writer.Ask("lock"), "1");
    writer.Send(tear);
    EXPECT_EQ(writer.ReadLine(), "");
    EXPECT_FALSE(writer.Finish());  // it died
    EXPECT_EQ(Editors(), EditorMap{});  // torn: read as an empty list
    EXPECT_EQ(Editors(), EditorMap{});  // and written back as one
    EXPECT_TRUE(QmAddEditor(u"q", 2));
    EXPECT_EQ(Editors(), (EditorMap{{u"q", 2}}));
    ASSERT_TRUE(QmRemoveEditor(u"q", 2));
  }
}

TEST_F(Processes, TheRegistryEndsWithItsLastHolder) {
  Helper first(registry());
  Helper second(registry());
  ASSERT_EQ(first.Ask("add a 1"), "1");
  ASSERT_EQ(second.Ask("count"), "1");  // a non-empty list: second keeps it
  first.Kill();
  EXPECT_EQ(Helper(registry()).Ask("count"), "1");
  EXPECT_EQ(second.Ask("remove a 1"), "1");
  EXPECT_EQ(Helper(registry()).Ask("count"), "0");
  second.Finish();
  EXPECT_EQ(Helper(registry()).Ask("count"), "-1");
  EXPECT_FALSE(SegmentExists());  // the stale file was cleared away
}

TEST_F(Processes, ACreatorKilledBeforeWritingLeavesNoStuckRegistry) {
  if (!AbandonedLocksAreHandedOn()) GTEST_SKIP() << kNoAbandonedLocks;
  {
    Helper creator(registry());
    ASSERT_EQ(creator.Ask("lock-create"), "1");
    creator.Kill();
  }
  EXPECT_EQ(Helper(registry()).Ask("exists a"), "0");
  // Now one that another process is waiting for when it dies.
  Helper creator(registry());
  Helper adder(registry());
  ASSERT_EQ(creator.Ask("lock-create"), "1");
  adder.Send("add a 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  creator.Kill();
  EXPECT_EQ(adder.ReadLine(), "1");
  EXPECT_EQ(Editors(), (EditorMap{{u"a", 1}}));
  EXPECT_TRUE(QmAddEditor(u"b", 2));
}

// A call that a segment never written fails does not keep it: once its
// maker has gone, the registry is missing and the next add starts afresh.
TEST_F(Processes, ASegmentNeverWrittenEndsWithItsMaker) {
  Helper maker(registry());
  ASSERT_EQ(maker.Ask("lock-create"), "1");
  ASSERT_EQ(maker.Ask("unlock keep"), "1");  // its handles stay, N still 0
  EditorMap list;
  EXPECT_EQ(QmGetEditors(&list), -1);
  EXPECT_FALSE(QmAddEditor(u"a", 1));
  EXPECT_TRUE(maker.Finish());
  EXPECT_EQ(QmGetEditors(&list), -1);  // and what the maker left is cleared away
  EXPECT_FALSE(SegmentExists());
  EXPECT_TRUE(QmAddEditor(u"a", 1));
  EXPECT_EQ(Editors(), (EditorMap{{u"a", 1}}));
}

TEST_F(Processes, ConcurrentAddersAndRemoversLoseNoUpdate) {
  ASSERT_TRUE(QmAddEditor(u"p", 1));
  std::vector<std::unique_ptr<Helper>> workers;
  for (int i = 0; i < 4; ++i) {
    workers.push_back(std::make_unique<Helper>(registry()));
    workers.back()->Send("churn w" + std::to_string(i) + " " + std::to_string(10 + i) + " 1500");
  }
  std::set<std::u16string> expected = {u"p"};
  for (auto& worker : workers) expected.merge(Words(worker->ReadLine()));
  EXPECT_GT(expected.size(), 4u);
  EXPECT_EQ(Keys(Editors()), expected);
}

TEST_F(Processes, KillingReadersAtRandomSparesTheOthersEntries) {
  if (!AbandonedLocksAreHandedOn()) GTEST_SKIP() << kNoAbandonedLocks;
  ASSERT_TRUE(QmAddEditor(u"p", 1));
  std::vector<std::unique_ptr<Helper>> workers;
  for (int i = 0; i < 2; ++i) {
    workers.push_back(std::make_unique<Helper>(registry()));
    workers.back()->Send("churn w" + std::to_string(i) + " " + std::to_string(10 + i) + " 3000");
  }
  std::set<std::u16string> victimKeys;
  std::mt19937 random(12345);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
  for (int round = 0; std::chrono::steady_clock::now() < end; ++round) {
    Helper victim(registry());
    const std::string key = std::string("v").append(std::to_string(round));
    victim.Ask("add " + key + " 99");  // may be added or not; not checked
    victimKeys.insert(std::u16string(key.begin(), key.end()));
    ASSERT_EQ(victim.Ask("read-loop"), "ready");
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    victim.Kill();  // often while it holds the mutex, never while it writes
  }
  std::set<std::u16string> expected = {u"p"};
  for (auto& worker : workers) expected.merge(Words(worker->ReadLine()));
  std::set<std::u16string> keys = Keys(Editors());
  for (const std::u16string& key : victimKeys) keys.erase(key);
  EXPECT_EQ(keys, expected);
  EXPECT_TRUE(QmAddEditor(u"last", 2));
}

TEST_F(Processes, AnotherUserCannotOpenTheObjects) {
  ASSERT_TRUE(QmAddEditor(u"p", 1));
  Helper stranger(registry());
  if (stranger.Ask("become 65534") != "1") {
    GTEST_SKIP() << "a helper cannot become another user here (needs root on POSIX)";
  }
  EXPECT_EQ(stranger.Ask("exists p"), "0");
  EXPECT_EQ(stranger.Ask("add q 2"), "0");
  EXPECT_EQ(Editors(), (EditorMap{{u"p", 1}}));
}

}  // namespace
}  // namespace qm::testing
