#include "qmcfg/project_store.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <system_error>

#include "qmcfg/qmcfg.h"
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
    if (int32_t code = store->Connect(store->path_, false)) return code;
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

int32_t ProjectStore::Connect(const std::string& path, bool create) {
  if (db_ != nullptr) return kCfgOk;
  sqlite3* db = nullptr;
  // One thread at a time uses a store (its handle's operations never
  // overlap), so the connection needs no mutex of its own: SQLite would
  // otherwise take one on every column of every row read.
  const int flags =
      SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
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
    if (int32_t code = Connect(path_, false)) return code;
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
  if (db_ == nullptr) {
    bool exists = false;
    if (int32_t code = FindFile(&exists)) return code;
    if (!exists) return CreateByWriting(work);
  }
  return WriteInTransaction(work);
}

void ProjectStore::Disconnect() {
  sqlite3_close_v2(db_);
  db_ = nullptr;
  hasTables_ = false;
  layoutChecked_ = false;
}

// The temporary file is complete before it takes the project's name. A
// project file that another writer created meanwhile is replaced by this
// whole one: either way the name holds a whole project.
int32_t ProjectStore::CreateByWriting(const Work& work) {
  const std::string temporary = path_ + ".new-" + std::to_string(std::random_device()());
  int32_t code = Connect(temporary, true);
  if (code == kCfgOk) code = WriteInTransaction(work);
  Disconnect();
  std::error_code error;
  if (code == kCfgOk) {
    std::filesystem::rename(FileSystemPath(temporary), FileSystemPath(path_), error);
    if (error) code = kCfgNotWritable;
  }
  if (code != kCfgOk) {
    std::filesystem::remove(FileSystemPath(temporary), error);
    std::filesystem::remove(FileSystemPath(temporary + "-journal"), error);
    return code;
  }
  return Connect(path_, false);
}

int32_t ProjectStore::WriteInTransaction(const Work& work) {
  if (int32_t code = Connect(path_, true)) return code;
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
