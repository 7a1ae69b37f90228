#include "qmcfg/project_store.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/file_names.h"
#include "platform/file_rewrite.h"
#include "qmcfg/qmcfg.h"
#include "qmcfg/layout.h"
#include "qmcfg/statement.h"
#include "qmcfg/transaction.h"

namespace qm::cfg {
namespace {

// How long a write waits for another connection's lock before failing
// with 105 (SQLITE_BUSY).
constexpr int kBusyTimeoutMs = 5000;

// See "Durability" in project_store.h.
constexpr char kSynchronous[] = "PRAGMA synchronous = EXTRA";

// The store's code for a system error met while writing, or `otherwise`:
// a project that may not be written, and a full disk, answer the same
// whichever step met them.
int32_t CodeOfSystemError(int systemError, int32_t otherwise) {
  switch (platform::WriteFailureOf(systemError)) {
    case platform::WriteFailure::kReadOnly:
      return kCfgReadOnly;
    case platform::WriteFailure::kNoSpace:
      return kCfgSqliteBase + SQLITE_FULL;
    case platform::WriteFailure::kOther:
      break;
  }
  return otherwise;
}

// The code of a write on `db` that failed with `code`, read before
// anything else runs on the connection. SQLite says "read-only" for a file
// opened read-only (its mode, a read-only mount) and for a folder where
// the journal cannot be made; a failed open or I/O keeps the system's error.
// A file moved away under the connection is not read-only, only gone.
int32_t WriteFailureCode(sqlite3* db, int32_t code) {
  if (code == kCfgSqliteBase + SQLITE_READONLY) {
    return sqlite3_extended_errcode(db) == SQLITE_READONLY_DBMOVED ? code : kCfgReadOnly;
  }
  if (code == kCfgSqliteBase + SQLITE_CANTOPEN || code == kCfgSqliteBase + SQLITE_IOERR) {
    return CodeOfSystemError(sqlite3_system_errno(db), code);
  }
  return code;
}

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
  // Owned from here: the checks below allocate, and a failed allocation
  // must not leave the connection open.
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> connection(db, sqlite3_close_v2);
  if (rc != SQLITE_OK) {
    const int32_t code = WriteFailureCode(db, SqliteCode(rc));
    return create && code == kCfgSqliteBase + SQLITE_CANTOPEN ? kCfgNotWritable : code;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  int32_t code = Execute(db, kSynchronous);
  if (code == kCfgOk) code = CheckIdentity(db, &hasTables_);
  if (code != kCfgOk) return code;
  db_ = connection.release();
  return kCfgOk;
}

bool ProjectStore::ReadOnly() const {
  return db_ != nullptr && sqlite3_db_readonly(db_, "main") == 1;
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

// The temporary file is complete, and synced by the commit, before it
// takes the project's name; the rename is synced in its folder. A project
// file that another writer created meanwhile is replaced by this whole
// one: either way the name holds a whole project. The temporary file is
// made here, empty (which SQLite takes as a new database), rather than by
// SQLite, so that a folder that may not be written is told apart from
// other failures by the system's own error.
int32_t ProjectStore::CreateByWriting(const Work& work) {
  const std::u16string project = platform::NativeNameToText(path_);
  std::u16string temporary;
  const platform::FileRewriteStatus made = platform::WriteFileBeside(project, {}, &temporary);
  if (!made.ok()) return CodeOfSystemError(made.systemError, kCfgNotWritable);
  const std::string nativeTemporary = platform::TextToNativeName(temporary);
  int32_t code = Connect(nativeTemporary, false);
  if (code == kCfgOk) code = WriteInTransaction(work);
  Disconnect();
  if (code == kCfgOk) {
    const platform::FileRewriteStatus renamed = platform::RenameOver(temporary, project);
    if (renamed.failed == platform::FileRewriteStep::kSyncFolder) {
      // In place but perhaps not lasting: the save answers as failed, so
      // the project is taken away again to match.
      platform::RemoveFile(project);
      code = CodeOfSystemError(renamed.systemError, kCfgSqliteBase + SQLITE_IOERR);
    } else if (!renamed.ok()) {
      code = CodeOfSystemError(renamed.systemError, kCfgNotWritable);
    }
  }
  if (code != kCfgOk) {
    platform::RemoveFile(temporary);
    platform::RemoveFile(temporary + u"-journal");
    return code;
  }
  return Connect(path_, false);
}

int32_t ProjectStore::WriteInTransaction(const Work& work) {
  if (int32_t code = Connect(path_, true)) return code;
  Transaction transaction(db_);
  if (int32_t code = transaction.Begin("BEGIN IMMEDIATE")) return WriteFailureCode(db_, code);
  if (!layoutChecked_) {
    if (int32_t code = CreateLayout(db_)) return WriteFailureCode(db_, code);
  }
  if (int32_t code = work(db_)) return WriteFailureCode(db_, code);
  if (int32_t code = transaction.Commit()) return WriteFailureCode(db_, code);
  layoutChecked_ = true;
  hasTables_ = true;
  return kCfgOk;
}

}  // namespace qm::cfg
