// Saves killed at random moments: after each kill the project file passes
// SQLite's integrity check and holds exactly one of the two states, the
// one before the save or the one being saved, never a mix and never less.
// Each round a child process opens the project, renames records with the
// round's number and saves in one of four ways (whole, one table, one
// port's devices, to a new file); the parent kills it with SIGKILL after a
// random delay of up to a little more than a save takes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "config/config_manager.h"
#include "support/config_sets.h"
#include "support/sql.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

constexpr int kRounds = 500;
constexpr int kPorts = 4;
constexpr int kDevicesPerPort = 50;

enum class SaveWay { kWhole, kTable, kOnePort, kNewFile };

// What the test compares: the project id and every device's name.
using State = std::map<int32_t, std::u16string>;  // id 0: the project id

std::u16string Mark(int round, int32_t id) {
  const std::string text = "R" + std::to_string(round) + "-" + std::to_string(id);
  return std::u16string(text.begin(), text.end());
}

void WriteFirstProject(const std::u16string& path) {
  ConfigTableSet set;
  set.Renew();
  (*set.general)[u"project-id"] = Mark(0, 0);
  for (int port = 1; port <= kPorts; ++port) {
    testing::AddRecord(*set.ioPorts, port, u"COM" + std::u16string(1, u'0' + port));
    for (int n = 0; n < kDevicesPerPort; ++n) {
      const int32_t id = port * 1000 + n;
      testing::AddRecord(*set.ioDevices, id, Mark(0, id)).portId = port;
    }
  }
  ASSERT_EQ(testing::WriteProjectFile(path, set), kCfgOk);
}

// The state that round `round` saves, starting from `before`.
State Saved(const State& before, int round, SaveWay way) {
  State after = before;
  for (auto& [id, name] : after) {
    const bool changed = way == SaveWay::kOnePort ? id / 1000 == 1 : true;
    const bool general = id == 0;
    if (general && (way == SaveWay::kTable || way == SaveWay::kOnePort)) continue;
    if (changed) name = Mark(round, id);
  }
  return after;
}

// Runs in the child: the edit and the save of one round, then exit.
[[noreturn]] void SaveRound(const std::u16string& path, const std::u16string& newPath, int round,
                            SaveWay way) {
  CConfigManagerEx manager;
  if (manager.Open(path.c_str(), 0) != 0) _exit(2);
  ConfigTableSet& working = *manager.GetTables(true);
  if (way != SaveWay::kTable && way != SaveWay::kOnePort) {
    (*working.general)[u"project-id"] = Mark(round, 0);
  }
  for (auto& [key, device] : *working.ioDevices) {
    if (way != SaveWay::kOnePort || device.portId == 1) {
      device.head.name = Mark(round, device.head.id);
    }
  }
  int32_t code = 0;
  switch (way) {
    case SaveWay::kWhole: code = manager.Save(-1, -1); break;
    case SaveWay::kTable: code = manager.Save(kTableIoDevices, -1); break;
    case SaveWay::kOnePort: code = manager.Save(kTableIoDevices, 1); break;
    case SaveWay::kNewFile: code = manager.SaveAs(newPath.c_str()); break;
  }
  _exit(code == 0 ? 0 : 3);
}

// The state the file holds, read by a manager of its own; fails the test
// when the file does not open or does not pass the integrity check.
State Read(const std::filesystem::path& file) {
  EXPECT_EQ(testing::Sql(file, "PRAGMA integrity_check"), "ok");
  CConfigManagerEx manager;
  EXPECT_EQ(manager.Open(file.u16string().c_str(), 0), 0);
  State state;
  const ConfigTableSet* tables = manager.GetTables(false);
  if (tables->general == nullptr || tables->ioDevices == nullptr) return state;
  state[0] = (*tables->general)[u"project-id"];
  for (const auto& [key, device] : *tables->ioDevices) state[device.head.id] = device.head.name;
  return state;
}

TEST(SaveKills, EveryKilledSaveLeavesOneWholeState) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder / "plant.qmp";
  WriteFirstProject(file.u16string());
  const State initial = Read(file);
  ASSERT_EQ(initial.size(), static_cast<size_t>(1 + kPorts * kDevicesPerPort));

  // How long an uninterrupted round takes, to spread the kills over it.
  const auto start = std::chrono::steady_clock::now();
  const pid_t timed = fork();
  if (timed == 0) SaveRound(file.u16string(), u"", 1, SaveWay::kWhole);
  ASSERT_EQ(waitpid(timed, nullptr, 0), timed);
  const auto roundTime = std::chrono::steady_clock::now() - start;
  State current = Read(file);
  ASSERT_EQ(current, Saved(initial, 1, SaveWay::kWhole));
  const auto spread = std::chrono::duration_cast<std::chrono::microseconds>(roundTime * 5 / 4);

  std::mt19937 random(20261206);
  int killed = 0;
  int finished = 0;
  for (int round = 2; round < 2 + kRounds; ++round) {
    const auto way = static_cast<SaveWay>(round % 4);
    const std::filesystem::path newFile = folder / ("copy" + std::to_string(round) + ".qmp");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveRound(file.u16string(), newFile.u16string(), round, way);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % (spread.count() + 1)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) ++killed;
    if (WIFEXITED(status)) {
      ASSERT_EQ(WEXITSTATUS(status), 0) << "round " << round;
      ++finished;
    }

    const State saved = Saved(current, round, way);
    if (way == SaveWay::kNewFile) {
      // The original stays as it was; the new file, if there is one, is whole.
      ASSERT_EQ(Read(file), current) << "round " << round;
      if (std::filesystem::exists(newFile)) {
        EXPECT_EQ(Read(newFile), saved) << "round " << round;
      }
      continue;
    }
    const State now = Read(file);
    ASSERT_TRUE(now == current || now == saved) << "round " << round << ": a mixed state";
    current = now;
  }
  std::cout << "saves: " << killed << " killed, " << finished << " finished, " << kRounds
            << " states checked\n";
  EXPECT_GT(killed, kRounds / 4);  // the kills did land inside the saves
}

}  // namespace
}  // namespace qm
