#include "qmcfg/project_store.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "config/qmcfg.h"
#include "qmcfg/layout.h"
#include "qmcfg/statement.h"
#include "qmcfg/transaction.h"

namespace qm::cfg {
namespace {

// How long a write waits for another connection's lock before failing
// with 105 (SQLITE_BUSY).
constexpr int kBusyTimeoutMs = 5000;

// The store keeps its path as UTF-8, which SQLite takes on every platform.
// A narrow std::filesystem::path would be read in the ANSI code page on
// Windows, so the path is built from UTF-8 explicitly.
std::filesystem::path FileSystemPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

int32_t ProjectStore::Open(std::string path, std::unique_ptr<ProjectStore>* out) {
  if (path.empty()) return kCfgBadArgument;
  std::unique_ptr<ProjectStore> store(new ProjectStore(std::move(path)));
  bool exists = false;
  if (int32_t code = store->FindFile(&exists)) return code;
  if (exists) {
    if (int32_t code = store->Connect(false)) return code;
  } else {
    std::filesystem::path folder = FileSystemPath(store->path_).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return kCfgNotWritable;
  }
  *out = std::move(store);
  return kCfgOk;
}

ProjectStore::~ProjectStore() { sqlite3_close_v2(db_); }

int32_t ProjectStore::FindFile(bool* exists) const {
  std::error_code error;
  *exists = std::filesystem::exists(FileSystemPath(path_), error);
  return error ? kCfgCannotExamine : kCfgOk;
}

int32_t ProjectStore::Connect(bool create) {
  if (db_ != nullptr) return kCfgOk;
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path_.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db);
    return create && rc == SQLITE_CANTOPEN ? kCfgNotWritable : SqliteCode(rc);
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  if (int32_t code = CheckIdentity(db, &hasTables_)) {
    sqlite3_close_v2(db);
    return code;
  }
  db_ = db;
  return kCfgOk;
}

int32_t ProjectStore::Read(const Work& work) {
  if (db_ == nullptr) {
    // Another handle may have created the file since this one was opened.
    bool exists = false;
    if (int32_t code = FindFile(&exists)) return code;
    if (!exists) return kCfgOk;
    if (int32_t code = Connect(false)) return code;
  }
  Transaction transaction(db_);
  if (int32_t code = transaction.Begin("BEGIN")) return code;
  if (!hasTables_) {
    // Another handle may have written the layout since.
    if (int32_t code = CheckIdentity(db_, &hasTables_)) return code;
    if (!hasTables_) return kCfgOk;
  }
  if (int32_t code = work(db_)) return code;
  return transaction.Commit();
}

int32_t ProjectStore::Write(const Work& work) {
  bool existed = true;
  if (db_ == nullptr) {
    if (int32_t code = FindFile(&existed)) return code;
  }
  const int32_t code = WriteInTransaction(work);
  // A busy file is another writer's, which may be creating it right now.
  if (code != kCfgOk && !existed && code != kCfgSqliteBase + SQLITE_BUSY) RemoveFailedCreation();
  return code;
}

void ProjectStore::RemoveFailedCreation() {
  sqlite3_close_v2(db_);
  db_ = nullptr;
  hasTables_ = false;
  layoutChecked_ = false;
  // The rollback left the new file empty; a file with content is not ours
  // to remove.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(FileSystemPath(path_), error);
  if (!error && size == 0) std::filesystem::remove(FileSystemPath(path_), error);
}

int32_t ProjectStore::WriteInTransaction(const Work& work) {
  if (int32_t code = Connect(true)) return code;
  Transaction transaction(db_);
  if (int32_t code = transaction.Begin("BEGIN IMMEDIATE")) return code;
  if (!layoutChecked_) {
    if (int32_t code = CreateLayout(db_)) return code;
  }
  if (int32_t code = work(db_)) return code;
  if (int32_t code = transaction.Commit()) return code;
  layoutChecked_ = true;
  hasTables_ = true;
  return kCfgOk;
}

}  // namespace qm::cfg
