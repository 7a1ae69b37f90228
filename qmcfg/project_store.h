// One opened project file: its path, its SQLite connection (opened lazily
// when the file does not exist yet) and the transactions every read and
// write runs in.
//
// Durability: the file uses SQLite's default rollback journal, and every
// connection sets PRAGMA synchronous = EXTRA. A write is one transaction
// (BEGIN IMMEDIATE ... COMMIT); if the process dies in the middle, the
// journal left beside the file ("<file>-journal") is rolled back by the
// next connection that opens it, so the file holds the old content or the
// new, never a mix. The rollback journal (not WAL) keeps a project at rest
// one file, readable by any SQLite client, with no -wal or -shm files
// beside it. FULL would sync the journal and the file at each commit, but
// a commit ends by deleting the journal, and only EXTRA syncs the folder
// after that delete: without it a power cut just after a save may bring
// the journal back, and the next open would roll the finished save back.
// A save is a person's action, so its one more sync costs nothing felt.
//
// Not thread-safe: one thread at a time per store (handles.h shares it).
#ifndef QMPECORE_QMCFG_PROJECT_STORE_H_
#define QMPECORE_QMCFG_PROJECT_STORE_H_

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "qmcfg/kept_cells.h"
#include "qmcfg/packed_table.h"
#include "qmcfg/unread_tables.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

class ProjectStore {
 public:
  using Work = std::function<int32_t(sqlite3* db)>;

  // Opens the project file at `path` (a native path). An existing file
  // must pass CheckIdentity (layout.h); it is only read. A missing file in
  // an existing folder opens as an empty configuration and nothing is
  // created. Fails with kCfgNotWritable when the folder does not exist,
  // kCfgCannotExamine when the file cannot be looked at, kCfgNotAProject or
  // a SQLite code for a file that is not a project.
  static int32_t Open(std::string path, std::unique_ptr<ProjectStore>* out);

  ~ProjectStore();
  ProjectStore(const ProjectStore&) = delete;
  ProjectStore& operator=(const ProjectStore&) = delete;

  // Runs `work` in one read transaction. When the file does not exist yet
  // or has no tables there is nothing to read: `work` is not called and the
  // result is 0. A file that cannot be looked at fails with kCfgCannotExamine.
  int32_t Read(const Work& work);

  // Runs `work` in one write transaction: the file is created with the
  // layout when missing; `work`'s changes are committed when it returns 0
  // and rolled back otherwise (its code is returned). A missing file is
  // written whole under a temporary name beside it ("<file>.new<n>") and
  // renamed into place once committed, the rename synced in its folder: a
  // write that fails, or a process killed while writing, leaves no file
  // that would open as an empty project (a killed one may leave the
  // temporary file). A file, folder or file system that may not be written
  // fails with kCfgReadOnly, a full disk with 113 (SQLITE_FULL), and
  // nothing is left behind.
  int32_t Write(const Work& work);

  // True when the file is open and SQLite could open it only for reading
  // (its mode, a read-only mount): every write would fail with
  // kCfgReadOnly. A folder that may not be written shows only when a write
  // needs its journal.
  bool ReadOnly() const;

  // The tables that reads through this store failed to read.
  UnreadTables& unread() { return unread_; }

  // The stored cells that reads through this store could not take
  // faithfully, which its writes put back.
  KeptCells& kept() { return kept_; }

  // The packed copies kept on this handle, by slot (General, slot 0, has
  // none); each is empty until a caller fills it.
  std::array<PackedTable, kSlotCount>& packed() { return packed_; }

 private:
  explicit ProjectStore(std::string path) : path_(std::move(path)) {}

  // Opens the connection if it is not open; with `create`, creating the
  // file when missing (failing with kCfgNotWritable when it cannot).
  int32_t Connect(const std::string& path, bool create);
  int32_t CreateByWriting(const Work& work);
  int32_t WriteInTransaction(const Work& work);
  void Disconnect();
  // Sets `exists` and gives 0, or kCfgCannotExamine when the file's
  // existence cannot be learnt: only "no such file" means missing.
  int32_t FindFile(bool* exists) const;

  std::string path_;
  sqlite3* db_ = nullptr;
  bool hasTables_ = false;
  bool layoutChecked_ = false;  // the layout is complete in the file
  UnreadTables unread_;
  KeptCells kept_;
  std::array<PackedTable, kSlotCount> packed_;
};

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_PROJECT_STORE_H_
