// An open and a save of a project whose cells other tools changed: the
// fixed project with values of any storage class written over cells as
// the input says, then opened by the configuration manager and saved whole
// with nothing changed in memory. Every cell must be stored as it was
// before, storage class and bytes, whether the open could take it
// faithfully or had to keep it; a table the open could not read must be
// refused, not written.
//
// The input is a list of damages, each a byte choosing the table, two the
// row and one the column (modulo their counts; never the id), one the
// kind of value (integer, large integer, real, text of the bytes that
// follow, BLOB of them, NULL) and a length byte for those bytes.
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "config/config_manager.h"
#include "fixed_project.h"
#include "fuzz_support.h"
#include "qmcfg/qmcfg.h"
#include "support/temp_folder.h"

namespace qm::fuzz {
namespace {

const char* const kTables[] = {"timers", "databases", "users", "trends", "io_ports",
                               "io_devices", "io_tags", "outputs", "alarms", "scripts"};

std::vector<std::string> ColumnsOf(sqlite3* db, const std::string& table) {
  std::vector<std::string> columns;
  sqlite3_stmt* info = nullptr;
  sqlite3_prepare_v2(db, ("PRAGMA table_info(" + table + ")").c_str(), -1, &info, nullptr);
  while (sqlite3_step(info) == SQLITE_ROW) {
    columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)));
  }
  sqlite3_finalize(info);
  return columns;
}

// Every cell of every record table as storage class and bytes, in order.
std::string EveryCell(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::string cells;
  for (const char* table : kTables) {
    for (const std::string& column : ColumnsOf(db, table)) {
      sqlite3_stmt* select = nullptr;
      const std::string sql = "SELECT typeof(\"" + column + "\") || ':' || hex(\"" + column +
                              "\") FROM " + table + " ORDER BY rowid";
      sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr);
      while (sqlite3_step(select) == SQLITE_ROW) {
        cells += reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
        cells += '\n';
      }
      sqlite3_finalize(select);
    }
  }
  sqlite3_close(db);
  return cells;
}

void Damage(sqlite3* db, InputReader& input) {
  while (input.left() >= 6) {
    const std::string table = kTables[input.Byte() % std::size(kTables)];
    const int row = input.Byte() | (input.Byte() << 8);
    const std::vector<std::string> columns = ColumnsOf(db, table);
    const std::string& column = columns[1 + input.Byte() % (columns.size() - 1)];
    const uint8_t kind = input.Byte() % 6;
    std::string bytes;
    for (uint8_t length = input.Byte() % 16; length > 0 && input.left() > 0; --length) {
      bytes.push_back(static_cast<char>(input.Byte()));
    }
    sqlite3_stmt* update = nullptr;
    const std::string sql = "UPDATE " + table + " SET \"" + column + "\" = ?1 WHERE rowid = " +
                            "(SELECT rowid FROM " + table + " ORDER BY rowid LIMIT 1 OFFSET " +
                            "(?2 % max(1, (SELECT count(*) FROM " + table + "))))";
    sqlite3_prepare_v2(db, sql.c_str(), -1, &update, nullptr);
    switch (kind) {
      case 0: sqlite3_bind_int(update, 1, static_cast<int8_t>(bytes.empty() ? 0 : bytes[0])); break;
      case 1: sqlite3_bind_int64(update, 1, (int64_t{1} << 40) * (row + 1)); break;
      case 2: sqlite3_bind_double(update, 1, row / 7.0); break;
      case 3: sqlite3_bind_text(update, 1, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT); break;
      case 4: sqlite3_bind_blob(update, 1, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT); break;
      default: sqlite3_bind_null(update, 1); break;
    }
    sqlite3_bind_int(update, 2, row);
    sqlite3_step(update);  // a NOT NULL column refuses NULL: that damage is not made
    sqlite3_finalize(update);
  }
}

}  // namespace
}  // namespace qm::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::fuzz;
  static const std::string intact = qm::testing::ReadFileBytes(TheFixedProject().projectFile);
  static const std::filesystem::path file = TheFixedProject().folder / "cells.qmp";
  for (const char* suffix : {"", "-journal"}) std::filesystem::remove(file.string() + suffix);
  {
    std::ofstream out(file, std::ios::binary);
    out.write(intact.data(), static_cast<std::streamsize>(intact.size()));
    Require(out.good(), "the project is copied");
  }
  sqlite3* db = nullptr;
  Require(sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK,
          "the copy opens");
  InputReader input(data, size);
  Damage(db, input);
  sqlite3_close(db);

  const std::string before = EveryCell(file);
  qm::CConfigManagerEx manager;
  Require(manager.Open(file.u16string().c_str(), 0) == 0, "the damaged project opens");
  std::array<int32_t, qm::kSlotCount> unread{};
  qm::CfgGetUnreadTables(manager.GetConfigHandle(), unread.data());
  const bool everyTableRead =
      std::all_of(unread.begin(), unread.end(), [](int32_t code) { return code == 0; });
  const int32_t saved = manager.Save(qm::kAllTables, 0);
  Require(everyTableRead ? saved == 0 : saved == qm::kCfgUnreadTable,
          "a save succeeds when every table was read, and is refused otherwise");
  Require(EveryCell(file) == before, "a save with nothing changed stores every cell as it was");
  return 0;
}
