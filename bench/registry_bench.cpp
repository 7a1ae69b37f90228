// Latency of the registry exports: median and 99th percentile of single
// calls of QmEditorExists, and of QmAddEditor + QmRemoveEditor, with 10 and
// with 1,000 entries in the list; and the throughput of add + remove pairs
// with 4 processes contending for the registry.
//
//   build/release/bench/registry_bench
//
// The registry lives in a private folder under /dev/shm, removed at the end,
// so that the user's own registry is neither read nor changed. The goal is a
// median under 10 microseconds for a 10-entry list.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/named_object_files.h"
#include "qmpecore/qmpecore.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kContenderFlag[] = "--contender";
constexpr int kContenders = 3;  // plus this process: 4
constexpr auto kContendedRun = std::chrono::seconds(2);

std::u16string Key(const char* prefix, int index) {
  const std::string key = std::string("/bench/") + prefix + "/project-" + std::to_string(index);
  return std::u16string(key.begin(), key.end());
}

// The entries every benchmark works beside; this process keeps the
// registry alive with them.
void FillRegistry(int entries) {
  qm::EditorMap list;
  QmGetEditors(&list);
  for (const auto& [key, id] : list) QmRemoveEditor(key.c_str(), id);
  for (int i = 0; i < entries; ++i) QmAddEditor(Key("fill", i).c_str(), 1000 + i);
}

void ReportPercentiles(benchmark::State& state, std::vector<double>* micros) {
  if (micros->empty()) return;
  std::sort(micros->begin(), micros->end());
  state.counters["median_us"] = (*micros)[micros->size() / 2];
  state.counters["p99_us"] = (*micros)[micros->size() * 99 / 100];
}

template <class Call>
void TimeEachCall(benchmark::State& state, Call call) {
  std::vector<double> micros;
  micros.reserve(1 << 20);
  for (auto _ : state) {
    const auto start = Clock::now();
    call();
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  ReportPercentiles(state, &micros);
}

void BM_EditorExists(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  FillRegistry(entries);
  const std::u16string key = Key("fill", entries / 2);
  TimeEachCall(state, [&] {
    if (!QmEditorExists(key.c_str())) state.SkipWithError("entry missing");
  });
}

void BM_AddAndRemove(benchmark::State& state) {
  FillRegistry(static_cast<int>(state.range(0)));
  const std::u16string key = Key("changed", 0);
  TimeEachCall(state, [&] {
    if (!QmAddEditor(key.c_str(), 7) || !QmRemoveEditor(key.c_str(), 7)) {
      state.SkipWithError("add or remove failed");
    }
  });
}

// Adds and removes its own key until the time is up; the number of pairs.
long ChurnOwnKey(const std::u16string& key, int32_t editorId, Clock::time_point end) {
  long pairs = 0;
  while (Clock::now() < end) {
    if (QmAddEditor(key.c_str(), editorId) && QmRemoveEditor(key.c_str(), editorId)) ++pairs;
  }
  return pairs;
}

// A contender is this program re-run; it writes its count of pairs as one
// line to `report`.
pid_t StartContender(const std::string& folder, int index, int report) {
  std::string program = "/proc/self/exe";
  std::string flag = kContenderFlag;
  std::string folderArgument = folder;
  std::string indexArgument = std::to_string(index);
  char* argv[] = {program.data(), flag.data(), folderArgument.data(), indexArgument.data(),
                  nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, report, STDOUT_FILENO);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

long ReadReports(int report) {
  std::string text;
  char chunk[256];
  for (ssize_t n; (n = read(report, chunk, sizeof chunk)) > 0;) text.append(chunk, n);
  long total = 0;
  for (const char* p = text.c_str(); *p != '\0';) {
    char* end = nullptr;
    total += std::strtol(p, &end, 10);
    if (end == p) break;
    p = end;
  }
  return total;
}

void BM_FourProcessesContending(benchmark::State& state) {
  FillRegistry(10);
  const std::string folder = qm::platform::NamedObjectFolder();
  for (auto _ : state) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
      state.SkipWithError("pipe2 failed");
      break;
    }
    std::vector<pid_t> contenders;
    for (int i = 0; i < kContenders; ++i) {
      contenders.push_back(StartContender(folder, i, report[1]));
    }
    close(report[1]);
    const long pairs =
        ChurnOwnKey(Key("contender", kContenders), 50, Clock::now() + kContendedRun);
    const long total = pairs + ReadReports(report[0]);
    close(report[0]);
    for (pid_t pid : contenders) {
      int status = 0;
      if (pid < 0 || waitpid(pid, &status, 0) != pid || status != 0) {
        state.SkipWithError("a contender failed");
      }
    }
    state.counters["pairs_per_s"] = static_cast<double>(total) /
                                    std::chrono::duration<double>(kContendedRun).count();
    state.counters["own_pairs_per_s"] = static_cast<double>(pairs) /
                                        std::chrono::duration<double>(kContendedRun).count();
  }
}

BENCHMARK(BM_EditorExists)->Arg(10)->Arg(1000);
BENCHMARK(BM_AddAndRemove)->Arg(10)->Arg(1000);
BENCHMARK(BM_FourProcessesContending)->Iterations(1)->Unit(benchmark::kSecond);

int RunContender(const std::string& folder, int index) {
  qm::platform::SetNamedObjectFolder(folder);
  const long pairs =
      ChurnOwnKey(Key("contender", index), 40 + index, Clock::now() + kContendedRun);
  std::printf("%ld\n", pairs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], kContenderFlag) == 0) {
    return RunContender(argv[2], std::atoi(argv[3]));
  }
  char folder[] = "/dev/shm/qmpe-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  qm::platform::SetNamedObjectFolder(folder);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
