// Opening and saving a project: CfgOpenConfig plus loading the working set
// and the packed snapshot (CConfigManagerEx::Open) against SQLite itself
// stepping through every row of the same file once, a full save, and the
// memory an open costs. bench/scale_bench.sh follows the same as projects
// grow.
//
//   build/release/bench/config_open_bench PROJECT_FILE [RUNS]
//
// Prints medians of RUNS (default 5) runs and their ratio.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "config/config_manager.h"

namespace {

using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    body();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Every row of every table, every column read, as SQLite gives them.
size_t ReadEveryRow(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "cannot open %s\n", path.c_str());
    std::exit(2);
  }
  std::vector<std::string> tables;
  sqlite3_stmt* list = nullptr;
  sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table'", -1, &list, nullptr);
  while (sqlite3_step(list) == SQLITE_ROW) {
    tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
  }
  sqlite3_finalize(list);
  size_t rows = 0;
  size_t bytes = 0;
  for (const std::string& table : tables) {
    sqlite3_stmt* select = nullptr;
    std::string sql = "SELECT * FROM \"" + table + "\"";
    sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW) {
      ++rows;
      for (int column = 0, count = sqlite3_column_count(select); column < count; ++column) {
        sqlite3_column_text16(select, column);
        bytes += static_cast<size_t>(sqlite3_column_bytes16(select, column));
      }
    }
    sqlite3_finalize(select);
  }
  sqlite3_close(db);
  benchmark::DoNotOptimize(bytes);  // keeps the column reads from being optimised away
  return rows;
}

long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PROJECT_FILE [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::u16string path16(path.begin(), path.end());

  // Memory first, while the process has not yet peaked.
  long rssBefore = StatusKb("VmRSS:");
  auto* measured = qm::CreateConfigManager(path16);
  if (measured == nullptr) {
    std::fprintf(stderr, "cannot open %s as a project\n", path.c_str());
    return 2;
  }
  long peakKb = StatusKb("VmHWM:") - rssBefore;
  const qm::ConfigTableSet& working = *measured->GetTables(true);
  size_t records = qm::RecordCount(working);
  std::printf("records per set: %zu (tags %zu, devices %zu, ports %zu, alarms %zu, scripts %zu,"
              " timers %zu, users %zu, databases %zu, outputs %zu)\n",
              records, working.ioTags->size(), working.ioDevices->size(),
              working.ioPorts->size(), working.alarms->size(), working.scripts->size(),
              working.timers->size(), working.users->size(), working.databases->size(),
              working.outputs->size());
  std::printf("open peak memory: %.1f MiB, %.0f bytes per record (working set and packed"
              " snapshot)\n",
              peakKb / 1024.0, peakKb * 1024.0 / static_cast<double>(records));
  delete measured;

  size_t rows = 0;
  double referenceMs = MedianMs(runs, [&] { rows = ReadEveryRow(path); });
  double openMs = MedianMs(runs, [&] {
    qm::CConfigManagerEx manager;
    if (manager.Open(path16.c_str(), 0) != 0) std::exit(2);
  });
  qm::CConfigManagerEx manager;
  manager.Open(path16.c_str(), 0);
  double saveMs = MedianMs(runs, [&] {
    if (manager.Save(qm::kAllTables, 0) != 0) std::exit(2);
  });

  std::printf("sqlite3 reading every row once (%zu rows): %8.1f ms (median of %d)\n", rows,
              referenceMs, runs);
  std::printf("open and close (CfgOpenConfig + sets):   %8.1f ms  = %.2f x reference\n",
              openMs, openMs / referenceMs);
  std::printf("full save (write all, reopen, reload):   %8.1f ms  = %.2f x reference\n", saveMs,
              saveMs / referenceMs);
  return 0;
}
