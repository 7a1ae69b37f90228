// The grid-table half of a find: all ten tables searched as a find of
// "All Grid Tables" searches them, name lookups rebuilt (FindInTables), and
// the ten searchers alone over lookups made before (SearchOnly), the whole
// find with its results counted instead of listed (FindCounted), the list
// of a find's results made again with no search (ListOnly), reported as
// records searched per second of CPU time. With a project file, the same
// file's tables are also searched by SQLite (SqliteLike): one statement
// testing LIKE '%text%' on every searched column as stored (enumerations
// and references as their numbers, which SQLite cannot name without
// joins), each field tested, with no OR to cut a row short.
//
// SqliteRows returns what a list of hits needs: each row with a matching
// field, and the texts of its matching fields, copied out as UTF-16.
//
//   qmpe sample DIR --scale large
//   table_search_bench [DIR/plant.qmp] [--benchmark_...]
//
// Without a project file the tables are made in memory with the record
// counts of the large sample. Each figure is the median of 5 repetitions.
// Needles: "OverflowAlarmResetLatch" (rare: in no field), "value" (common
// in texts) and "1" (a digit: every number is made into text and half a
// million fields match, so the cost of making results dominates).
//
// Walking the tables' maps dominates on a project read from a file: there
// the records lie far apart in memory, and the walk of the 100000 tags
// alone (once per find: it rebuilds the tag names, tells the alarms and
// scripts which of them hold the needle, and finds the tags with hits)
// costs more than all the field tests of the other tables together.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "qmcfg/qmcfg.h"
#include "find/find_dispatch.h"
#include "find/search_needle.h"
#include "find/tables/table_searchers.h"

namespace qm {
namespace {

const char* const kNeedles[] = {"OverflowAlarmResetLatch", "value", "1"};

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

size_t SearchedRecords(const ConfigTableSet& set) {
  return set.timers->size() + set.databases->size() + set.users->size() + set.ioPorts->size() +
         set.ioDevices->size() + set.ioTags->size() + set.outputs->size() + set.alarms->size() +
         set.scripts->size() + (set.general->empty() ? 0 : 1);
}

// Tables shaped like the large sample: 100 ports, 2000 devices, 100000
// tags, 20000 alarms and the rest, with texts of the usual lengths.
class SyntheticPlant {
 public:
  ConfigTableSet Build() {
    ConfigTableSet set;
    set.Renew();
    *set.general = {{u"project-id", u"PLANT-0001"},
                    {u"pre-launch", u"scripts/start.bat"},
                    {u"post-launch", u"scripts/stop.bat"}};
    for (int32_t id = 1; id <= 1000; ++id) {
      (*set.timers)[RecordKey(id)] = {Head(id, u"Timer", u"Cycle for area "),
                                      {},
                                      {},
                                      {},
                                      {1, 2, 3, 4, 5},
                                      {static_cast<uint16_t>(id % 24)},
                                      {0, 15, 30, 45},
                                      {0},
                                      {}};
    }
    for (int32_t id = 1; id <= 200; ++id) {
      (*set.databases)[RecordKey(id)] = {Head(id, u"History", u"Historian of area "),
                                         id,
                                         u"Driver=SQLite;Database=history.db",
                                         id % 1000 + 1,
                                         id % 7 + 1,
                                         id % 3,
                                         30 + id};
      (*set.outputs)[RecordKey(id)] = {Head(id, u"Report", u"Shift report of area "),
                                       id,
                                       0,
                                       u"Plant report",
                                       u"Level of tank",
                                       u"End of report"};
    }
    for (int32_t id = 1; id <= 500; ++id) {
      (*set.users)[RecordKey(id)] = {Head(id, u"operator", u"Operator of shift "), u"", id % 10,
                                     40000.0 + id};
    }
    for (int32_t id = 1; id <= 100; ++id) {
      (*set.ioPorts)[RecordKey(id)] = {Head(id, u"COM", u"Serial line of area "), u"9600,8,N,1"};
    }
    for (int32_t id = 1; id <= 2000; ++id) {
      (*set.ioDevices)[RecordKey(id)] = {Head(id, u"PLC", u"Controller of pump station "),
                                         id,
                                         u"/dev/ttyS0",
                                         u"modbus-rtu",
                                         id % 100 + 1,
                                         u"COM",
                                         id % 1000 + 1};
      (*set.scripts)[RecordKey(id)] = {Head(id, u"Script", u"Sequence of area "), u"seq.js", id % 3,
                                       id};
    }
    for (int32_t id = 1; id <= 100000; ++id) {
      (*set.ioTags)[RecordKey(id)] = {Head(id, u"P101_LT_", u"Level of tank in filtration"),
                                      40001 + id % 1000,
                                      u"HR40001",
                                      static_cast<uint16_t>(2 + id % 4),
                                      id % 8,
                                      id % 2000 + 1,
                                      u"PLC",
                                      id % 200 + 1,
                                      id % 200 + 1,
                                      1,
                                      id % 2,
                                      {kVtR8, 0, 12.5, u""},
                                      {kVtI4, id % 100, 0.0, u""}};
    }
    for (int32_t id = 1; id <= 20000; ++id) {
      (*set.alarms)[RecordKey(id)] = {Head(id, u"HiHi", u"High high level"),
                                      u"Level too high",
                                      u"Filtration",
                                      id % 100000 + 1,
                                      id % 3,
                                      id % 14,
                                      id % 100000 + 1,
                                      id % 100000 + 2,
                                      {kVtI4, 80, 0.0, u""},
                                      {kVtR8, 0, 95.5, u""},
                                      id % 3,
                                      0.5,
                                      id % 2,
                                      id % 200 + 1,
                                      id % 200 + 1};
    }
    return set;
  }

 private:
  // Names carry the id so that they differ, as real names do.
  RecordHead Head(int32_t id, std::u16string name, std::u16string description) {
    std::string digits = std::to_string(id);
    return {0, id, name + Wide(digits), 0, description + Wide(digits)};
  }
};

const TableNumber kTablesInFindOrder[] = {kTableGeneral, kTableTimer,     kTableDatabase,
                                          kTableOutput,  kTableAlarm,     kTableUser,
                                          kTableScript,  kTableIo,        kTableIoDevices,
                                          kTableIoTags};

// Counts the results and keeps none, as SqliteLike counts its hits.
class CountingSink final : public ResultSink {
 public:
  void Take(const FindResult&) override { ++count_; }
  size_t count() const { return count_; }

 private:
  size_t count_ = 0;
};

// The grid-table half of a find, run as the find runs it.
void FindInAllTables(const ConfigTableSet& set, NameLookups* lookups, const char16_t* needle,
                     ResultSink& sink) {
  const EditorData editor{u"/bench/plant.qmp"};
  RunFind({editor, [&]() -> const ConfigTableSet& { return set; }, lookups, u"All Grid Tables",
           needle, 0},
          sink);
}

void FindInAllTables(const ConfigTableSet& set, NameLookups* lookups, const char16_t* needle,
                     FindResultList* results) {
  ResultListSink sink(results);
  FindInAllTables(set, lookups, needle, sink);
}

void BM_FindInTables(benchmark::State& state, const ConfigTableSet* set, const char* needle,
                     bool rebuildLookups) {
  const std::u16string text = Wide(needle);
  const SearchNeedle prepared(text, 0);
  NameLookups lookups;
  FindResultList results;
  FindInAllTables(*set, &lookups, text.c_str(), &results);  // lookups for the search-only case
  for (auto _ : state) {
    // Freeing the last run's results is the caller's work, not the find's;
    // so is the merging of the freed blocks, which the allocator would
    // otherwise put off to the find's first large request.
    state.PauseTiming();
    FindResultList().swap(results);
    malloc_trim(0);
    state.ResumeTiming();
    if (rebuildLookups) {
      FindInAllTables(*set, &lookups, text.c_str(), &results);
    } else {
      ResultListSink sink(&results);
      for (TableNumber table : kTablesInFindOrder)
        SearchGridTable(table, *set, lookups, -1, prepared, sink);
    }
    benchmark::DoNotOptimize(results.data());
  }
  const double records = static_cast<double>(SearchedRecords(*set));
  state.counters["records/s"] =
      benchmark::Counter(records, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["hits"] = static_cast<double>(results.size());
}

// The whole find, lookups rebuilt, with the results counted and not kept:
// what the find costs beyond making a list of its results.
void BM_FindCounted(benchmark::State& state, const ConfigTableSet* set, const char* needle) {
  const std::u16string text = Wide(needle);
  NameLookups lookups;
  size_t hits = 0;
  for (auto _ : state) {
    CountingSink sink;
    FindInAllTables(*set, &lookups, text.c_str(), sink);
    hits = sink.count();
  }
  const double records = static_cast<double>(SearchedRecords(*set));
  state.counters["records/s"] =
      benchmark::Counter(records, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["hits"] = static_cast<double>(hits);
}

// The list of a find's results made again from a copy, with no search:
// each result handed to a list sink as the find hands it. What making the
// list alone costs, the floor under FindInTables for a needle with many
// hits.
void BM_ListOnly(benchmark::State& state, const ConfigTableSet* set, const char* needle) {
  const std::u16string text = Wide(needle);
  NameLookups lookups;
  FindResultList found;
  FindInAllTables(*set, &lookups, text.c_str(), &found);
  FindResultList results;
  for (auto _ : state) {
    state.PauseTiming();
    FindResultList().swap(results);
    malloc_trim(0);
    state.ResumeTiming();
    ResultListSink sink(&results);
    for (const FindResult& result : found) sink.Take(result);
    benchmark::DoNotOptimize(results.data());
  }
  state.counters["hits"] = static_cast<double>(results.size());
}

// The searched columns of each table as the project file stores them. An
// enumeration or reference is tested as its stored number, since SQLite
// has no names for them without joins.
const char* const kSearchedColumns[][2] = {
    {"timers", "name description year month day day_of_week hour minute second millisecond"},
    {"databases",
     "name description connection_string log_timer purge_timer purge_count purge_type group_id"},
    {"outputs", "name description header content footer"},
    {"alarms",
     "name description message group_name log_to output_to tag_id trigger_by condition "
     "compare_tag1 compare_tag2 compare_value1 compare_value2 deadband_type deadband type"},
    {"users", "name description expire security"},
    {"scripts", "name description file_name trigger_by triggerer"},
    {"io_ports", "name description header"},
    {"io_devices", "name description address path timer_id driver"},
    {"io_tags", "name description path address batch type startup fallback r w log_db persist_db"},
};

// The quoted column names of a kSearchedColumns list.
std::vector<std::string> QuotedColumns(const char* list) {
  std::vector<std::string> columns;
  for (const char* start = list; *start != '\0';) {
    const char* end = start;
    while (*end != '\0' && *end != ' ') ++end;
    std::string column = "\"";
    column.append(start, end);
    column += '"';
    columns.push_back(std::move(column));
    start = *end == ' ' ? end + 1 : end;
  }
  return columns;
}

// One statement that counts the matching fields of every searched table.
std::string LikeQuery() {
  std::string sql =
      "SELECT (SELECT total(\"value\" LIKE ?1 IS 1) FROM \"general\" WHERE \"key\" IN "
      "('project-id', 'pre-launch', 'post-launch'))";
  for (const auto& [table, columns] : kSearchedColumns) {
    sql += " + (SELECT total(0";
    for (const std::string& column : QuotedColumns(columns)) sql += " + (" + column + " LIKE ?1 IS 1)";
    sql += ") FROM \"" + std::string(table) + "\")";
  }
  return sql;
}

void BM_SqliteLike(benchmark::State& state, const std::string* path, size_t records,
                   const char* needle) {
  sqlite3* db = nullptr;
  sqlite3_stmt* query = nullptr;
  if (sqlite3_open_v2(path->c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
      sqlite3_prepare_v2(db, LikeQuery().c_str(), -1, &query, nullptr) != SQLITE_OK) {
    state.SkipWithError(sqlite3_errmsg(db));
    sqlite3_close(db);
    return;
  }
  const std::string pattern = std::string("%") + needle + "%";
  double hits = 0;
  for (auto _ : state) {
    sqlite3_reset(query);
    sqlite3_bind_text(query, 1, pattern.c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(query) == SQLITE_ROW) hits = sqlite3_column_double(query, 0);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records),
                                                   benchmark::Counter::kIsIterationInvariantRate);
  state.counters["hits"] = hits;
}

// The rows of every searched table with a field LIKE the pattern, each
// matching field's text copied out.
void BM_SqliteRows(benchmark::State& state, const std::string* path, size_t records,
                   const char* needle) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path->c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    state.SkipWithError(sqlite3_errmsg(db));
    sqlite3_close(db);
    return;
  }
  std::vector<sqlite3_stmt*> queries;
  for (const auto& [table, columns] : kSearchedColumns) {
    std::string selected;
    std::string matching;
    for (const std::string& column : QuotedColumns(columns)) {
      if (!selected.empty()) {
        selected += ", ";
        matching += " OR ";
      }
      selected += column + ", " + column + " LIKE ?1";
      matching += column + " LIKE ?1";
    }
    const std::string sql = "SELECT " + selected + " FROM \"" + table + "\" WHERE " + matching;
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) != SQLITE_OK) {
      state.SkipWithError(sqlite3_errmsg(db));
      for (sqlite3_stmt* made : queries) sqlite3_finalize(made);
      sqlite3_close(db);
      return;
    }
    queries.push_back(query);
  }
  const std::string pattern = std::string("%") + needle + "%";
  std::vector<std::u16string> texts;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::u16string>().swap(texts);
    malloc_trim(0);
    state.ResumeTiming();
    for (sqlite3_stmt* query : queries) {
      sqlite3_reset(query);
      sqlite3_bind_text(query, 1, pattern.c_str(), -1, SQLITE_STATIC);
      while (sqlite3_step(query) == SQLITE_ROW) {
        for (int column = 0; column + 1 < sqlite3_column_count(query); column += 2) {
          if (sqlite3_column_int(query, column + 1) != 1) continue;
          const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(query, column));
          const auto units = static_cast<size_t>(sqlite3_column_bytes16(query, column)) / 2;
          texts.emplace_back(std::u16string_view(text, units));
        }
      }
    }
    benchmark::DoNotOptimize(texts.data());
  }
  for (sqlite3_stmt* query : queries) sqlite3_finalize(query);
  sqlite3_close(db);
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records),
                                                   benchmark::Counter::kIsIterationInvariantRate);
  state.counters["hits"] = static_cast<double>(texts.size());
}

bool LoadProject(const std::string& path, ConfigTableSet* set) {
  set->Renew();
  const std::u16string path16 = Wide(path);
  const ConfigHandle handle = CfgOpenConfig(path16.c_str(), 0);
  if (handle == 0) return false;
  const bool read = CfgReadAllTables(handle, set, 115) == 0;
  CfgCloseConfig(handle);
  return read;
}

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  static std::string path = argc > 1 ? argv[1] : "";
  static qm::ConfigTableSet set;
  if (path.empty()) {
    set = qm::SyntheticPlant().Build();
  } else if (!qm::LoadProject(path, &set)) {
    std::fprintf(stderr, "cannot read %s as a project file\n", path.c_str());
    return 2;
  }
  const size_t records = qm::SearchedRecords(set);
  std::printf("%zu searched records (%s)\n", records, path.empty() ? "synthetic" : path.c_str());
  for (const char* needle : qm::kNeedles) {
    const std::string name = std::string("/") + needle;
    benchmark::RegisterBenchmark(("FindInTables" + name).c_str(), qm::BM_FindInTables, &set, needle,
                                 true)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("SearchOnly" + name).c_str(), qm::BM_FindInTables, &set, needle,
                                 false)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("FindCounted" + name).c_str(), qm::BM_FindCounted, &set, needle)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("ListOnly" + name).c_str(), qm::BM_ListOnly, &set, needle)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    if (!path.empty()) {
      benchmark::RegisterBenchmark(("SqliteLike" + name).c_str(), qm::BM_SqliteLike, &path, records,
                                   needle)
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(5)
          ->ReportAggregatesOnly(true);
      benchmark::RegisterBenchmark(("SqliteRows" + name).c_str(), qm::BM_SqliteRows, &path, records,
                                   needle)
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(5)
          ->ReportAggregatesOnly(true);
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
