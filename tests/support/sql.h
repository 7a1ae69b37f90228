// Direct SQLite access, to look into (and tamper with) project files as
// another SQLite client would.
#ifndef QMPECORE_TESTS_SUPPORT_SQL_H_
#define QMPECORE_TESTS_SUPPORT_SQL_H_

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace qm::testing {

// Runs `sql` on the file directly; the first column of the last row as
// text ("" when there is none or it is NULL).
inline std::string Sql(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  const std::u8string utf8 = path.u8string();  // SQLite takes UTF-8 everywhere
  EXPECT_EQ(sqlite3_open(reinterpret_cast<const char*>(utf8.c_str()), &db), SQLITE_OK);
  std::string result;
  char* error = nullptr;
  const int rc = sqlite3_exec(
      db, sql.c_str(),
      [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) = values[0] != nullptr ? values[0] : "";
        return 0;
      },
      &result, &error);
  EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (error != nullptr ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
  return result;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_SQL_H_
