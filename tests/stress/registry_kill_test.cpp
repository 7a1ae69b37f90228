// Eight processes use the registry for two minutes: four add and remove
// their own keys throughout, four read in a loop, and every 50 ms one of
// the readers, chosen at random, is killed (often while it holds the
// mutex) and replaced. Afterwards no call of this process waited past the
// bound, no key is cut, and every entry that a writer knows it left is
// there. (A writer killed in the middle of its write-back leaves a torn
// block, which reads as an empty list by design: the registry process
// tests check that case.)
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "qmpecore/qmpecore.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

using RegistryKills = RegistryTest;

constexpr int kWriters = 4;
constexpr int kReaders = 4;
constexpr auto kDuration = std::chrono::minutes(2);
constexpr auto kKillEvery = std::chrono::milliseconds(50);
// One wait of at most 1000 ms, plus what a loaded machine adds around it.
constexpr auto kCallBound = std::chrono::milliseconds(1500);

TEST_F(RegistryKills, KilledReadersStallNobodyAndCutNothing) {
  if (!AbandonedLocksAreHandedOn()) GTEST_SKIP() << kNoAbandonedLocks;
  const auto end = std::chrono::steady_clock::now() + kDuration;
  const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(kDuration);
  std::vector<std::unique_ptr<Helper>> writers;
  for (int i = 0; i < kWriters; ++i) {
    writers.push_back(std::make_unique<Helper>(registry()));
    writers.back()->Send("churn w" + std::to_string(i) + "g0 " + std::to_string(10 + i) + " " +
                         std::to_string(milliseconds.count()));
  }
  std::vector<std::unique_ptr<Helper>> readers(kReaders);
  auto start = [&](int slot) {
    readers[slot] = std::make_unique<Helper>(registry());
    ASSERT_EQ(readers[slot]->Ask("read-loop"), "ready");
  };
  for (int slot = 0; slot < kReaders; ++slot) start(slot);

  std::mt19937 random(20261206);
  int kills = 0;
  std::chrono::steady_clock::duration slowest{};
  auto nextKill = std::chrono::steady_clock::now() + kKillEvery;
  while (std::chrono::steady_clock::now() + kKillEvery < end) {
    const auto before = std::chrono::steady_clock::now();
    QmEditorExists(u"w0g0-0");
    slowest = std::max(slowest, std::chrono::steady_clock::now() - before);
    if (std::chrono::steady_clock::now() >= nextKill) {
      const int slot = static_cast<int>(random() % kReaders);
      readers[slot]->Kill();
      ++kills;
      start(slot);
      nextKill += kKillEvery;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  std::vector<std::u16string> writtenKeys;
  for (auto& writer : writers) {
    std::istringstream keys(writer->ReadLine());
    for (std::string key; keys >> key;) writtenKeys.emplace_back(key.begin(), key.end());
  }
  const EditorMap editors = Editors();
  const std::regex whole("w[0-9]+g[0-9]+-[0-9]+");
  for (const auto& [key, id] : editors) {
    EXPECT_TRUE(std::regex_match(std::string(key.begin(), key.end()), whole)) << "a cut key";
  }
  for (const std::u16string& key : writtenKeys) EXPECT_EQ(editors.count(key), 1u);
  EXPECT_LT(slowest, kCallBound);
  std::cout << "registry: " << kills << " kills, " << editors.size() << " entries checked, "
            << writtenKeys.size() << " of the writers, slowest call "
            << std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count() << " ms\n";
}

}  // namespace
}  // namespace qm::testing
