// A save killed at a random moment leaves a sound file with either the old
// or the new content. A child process saves two different configurations
// in turn, forever, until the test kills it with SIGKILL.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "store_fixture.h"

namespace qm::test {
namespace {

using AtomicSaveTest = StoreTest;

[[noreturn]] void SaveForever(const std::u16string& path, const ConfigTableSet& a,
                              const ConfigTableSet& b) {
  const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
  for (;;) {
    if (CfgWriteAllTables(handle, &b, 0) != kCfgOk) _exit(1);
    if (CfgWriteAllTables(handle, &a, 0) != kCfgOk) _exit(1);
  }
}

TEST_F(AtomicSaveTest, KilledSaveLeavesOldOrNewContent) {
  // Large enough that a save takes a while (so kills land inside saves as
  // well as between them), and B has fewer tags than A, so a save both
  // deletes and updates rows.
  const ConfigTableSet a = SampleSet(0, 10000);
  const ConfigTableSet b = SampleSet(1, 7500);
  ASSERT_EQ(WriteAll(a), kCfgOk);
  std::mt19937 random(20240611);
  int sawA = 0;
  int sawB = 0;
  for (int round = 0; round < 6; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(path_, a, b);
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 800));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself";

    // The store opens the file first, so it is the one that finds (and
    // rolls back) a journal the killed save left behind.
    int32_t code = -1;
    const ConfigTableSet read = ReadBack(path_, &code);
    ASSERT_EQ(code, kCfgOk);
    EXPECT_EQ(Sql(file_, "PRAGMA integrity_check"), "ok") << "round " << round;
    const bool isA = SameTables(read, a);
    const bool isB = SameTables(read, b);
    EXPECT_TRUE(isA || isB) << "round " << round << ": a mix of both saves";
    sawA += isA;
    sawB += isB;
  }
  RecordProperty("rounds_ending_old_new", std::to_string(sawA) + "/" + std::to_string(sawB));
}

}  // namespace
}  // namespace qm::test
