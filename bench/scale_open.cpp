// Opens a project the way the editor application does, through the exports
// (QmCreateEditorManager, QmOpenEditor, QmGetEditorData, QmGetAllTables),
// and prints the wall time of each step as "name value" lines, for
// bench/scale_bench.sh, which runs it under /usr/bin/time for the peak
// memory.
//
//   scale_open PROJECT_FILE [--snapshot] [--floor] [--save TABLE_NUMBER]...
//
//   records N            records of the working set (General entries included)
//   open_s S             QmOpenEditor, then the working set walked
//   snapshot_s S         --snapshot: the snapshot set asked for and walked
//   floor_bytes B        --floor: the least that both sets, complete, take
//                        on the heap as they are laid out: a block per map
//                        node and per text too long for the small-string
//                        buffer (and per timer value), as the allocator
//                        sizes it
//   save_T_s S           each --save in turn, after the rest:
//                        QmSaveConfigEx(config, TABLE_NUMBER, -1), T the
//                        table number or "all" for -1 (every table)
//   close_s S            QmCloseEditor and QmCloseEditorManager
//
// Every record is touched by the walks, so a set that is kept compact until
// it is asked for pays for becoming whole within the step that asks.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "qmpecore/qmpecore.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

template <class Visit>
void ForEachTable(const qm::ConfigTableSet& set, Visit visit) {
  qm::ForEachTableSlot([&](int, auto member) { visit(*(set.*member)); });
}

// The records of the set, each one read.
size_t Walk(const qm::ConfigTableSet& set) {
  size_t records = 0;
  size_t nameLengths = 0;
  ForEachTable(set, [&](const auto& table) {
    for (const auto& [key, record] : table) {
      ++records;
      if constexpr (std::is_same_v<std::decay_t<decltype(record)>, std::u16string>) {
        nameLengths += record.size();
      } else {
        nameLengths += record.head.name.size();
      }
    }
  });
  benchmark::DoNotOptimize(nameLengths);
  return records;
}

// glibc's heap puts one size word before every block it hands out.
size_t BlockBytes(void* block) { return malloc_usable_size(block) + sizeof(size_t); }

// The heap block of a tree node holding a `Value`: libstdc++'s node header
// (a colour and three links) before the value.
template <class Value>
size_t NodeBytes() {
  static const size_t bytes = [] {
    void* probe = ::operator new(4 * sizeof(void*) + sizeof(Value));
    const size_t size = BlockBytes(probe);
    ::operator delete(probe);
    return size;
  }();
  return bytes;
}

size_t HeapBytes(const std::u16string& text) {
  static const size_t inPlace = std::u16string().capacity();
  return text.capacity() > inPlace ? BlockBytes(const_cast<char16_t*>(text.data())) : 0;
}

size_t HeapBytes(const qm::Variant& value) { return HeapBytes(value.text); }

size_t HeapBytes(const qm::ValueSet& values) {
  return values.size() * NodeBytes<qm::ValueSet::value_type>();
}

template <class... Field>
size_t HeapBytesOf(const Field&... fields) {
  return (HeapBytes(fields) + ...);
}

size_t FieldBytes(const std::u16string& value) { return HeapBytes(value); }
size_t FieldBytes(const qm::RecordHead& head) { return HeapBytesOf(head.name, head.description); }
size_t FieldBytes(const qm::TimerRecord& r) {
  return FieldBytes(r.head) + HeapBytesOf(r.year, r.month, r.day, r.dayOfWeek, r.hour, r.minute,
                                          r.second, r.millisecond);
}
size_t FieldBytes(const qm::DatabaseRecord& r) {
  return FieldBytes(r.head) + HeapBytes(r.connectionString);
}
size_t FieldBytes(const qm::UserRecord& r) { return FieldBytes(r.head) + HeapBytes(r.passwordHash); }
size_t FieldBytes(const qm::TrendRecord& r) { return FieldBytes(r.head); }
size_t FieldBytes(const qm::IoPortRecord& r) { return FieldBytes(r.head) + HeapBytes(r.header); }
size_t FieldBytes(const qm::IoDeviceRecord& r) {
  return FieldBytes(r.head) + HeapBytesOf(r.path, r.driver, r.portName);
}
size_t FieldBytes(const qm::IoTagRecord& r) {
  return FieldBytes(r.head) + HeapBytesOf(r.path, r.deviceName, r.startup, r.fallback);
}
size_t FieldBytes(const qm::OutputRecord& r) {
  return FieldBytes(r.head) + HeapBytesOf(r.header, r.content, r.footer);
}
size_t FieldBytes(const qm::AlarmRecord& r) {
  return FieldBytes(r.head) + HeapBytesOf(r.message, r.groupName, r.compareValue1, r.compareValue2);
}
size_t FieldBytes(const qm::ScriptRecord& r) { return FieldBytes(r.head) + HeapBytes(r.fileName); }

size_t FloorBytes(const qm::ConfigTableSet& set) {
  size_t bytes = 0;
  ForEachTable(set, [&](const auto& table) {
    using Value = typename std::decay_t<decltype(table)>::value_type;
    for (const auto& [key, record] : table) {
      bytes += NodeBytes<Value>() + HeapBytes(key) + FieldBytes(record);
    }
  });
  return bytes;
}

struct Options {
  std::string projectFile;
  bool snapshot = false;
  bool floor = false;
  std::vector<int32_t> saveTables;
};

[[noreturn]] void Usage(const char* program) {
  std::fprintf(stderr, "usage: %s PROJECT_FILE [--snapshot] [--floor] [--save TABLE_NUMBER]...\n",
               program);
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--snapshot") == 0) {
      options.snapshot = true;
    } else if (std::strcmp(argv[i], "--floor") == 0) {
      options.floor = true;
    } else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc) {
      options.saveTables.push_back(std::atoi(argv[++i]));
    } else if (argv[i][0] != '-' && options.projectFile.empty()) {
      options.projectFile = argv[i];
    } else {
      Usage(argv[0]);
    }
  }
  if (options.projectFile.empty()) Usage(argv[0]);
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  const std::u16string path = std::filesystem::absolute(options.projectFile).u16string();

  Clock::time_point start = Clock::now();
  qm::CEditorManager* manager = QmCreateEditorManager();
  if (manager == nullptr || QmOpenEditor(manager, path.c_str(), 0) == nullptr) {
    std::fprintf(stderr, "scale_open: cannot open %s\n", options.projectFile.c_str());
    return 2;
  }
  qm::CConfigManagerEx* config = QmGetEditorData(manager)->configManager;
  const qm::ConfigTableSet* working = QmGetAllTables(config, 1);
  const size_t records = Walk(*working);
  std::printf("records %zu\nopen_s %.4f\n", records, SecondsSince(start));

  if (options.snapshot || options.floor) {
    start = Clock::now();
    const qm::ConfigTableSet* snapshot = QmGetAllTables(config, 0);
    const size_t snapshotRecords = Walk(*snapshot);
    if (options.snapshot) std::printf("snapshot_s %.4f\n", SecondsSince(start));
    if (snapshotRecords != records) {
      std::fprintf(stderr, "scale_open: the snapshot holds %zu records, the working set %zu\n",
                   snapshotRecords, records);
      return 1;
    }
    if (options.floor) std::printf("floor_bytes %zu\n", FloorBytes(*working) + FloorBytes(*snapshot));
  }
  for (const int32_t table : options.saveTables) {
    start = Clock::now();
    const int32_t code = QmSaveConfigEx(config, table, -1);
    const std::string name = table == qm::kAllTables ? "all" : std::to_string(table);
    std::printf("save_%s_s %.4f\n", name.c_str(), SecondsSince(start));
    if (code != 0) {
      std::fprintf(stderr, "scale_open: saving table %d failed with code %d\n", table, code);
      return 1;
    }
  }
  start = Clock::now();
  QmCloseEditor(manager);
  QmCloseEditorManager(manager);
  std::printf("close_s %.4f\n", SecondsSince(start));
  return 0;
}
