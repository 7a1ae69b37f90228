// The count of FullDisk, and the VFS through which SQLite's calls reach it:
// each file opened wraps the default VFS's file, and every method but the
// three counted ones passes straight through.
#include "support/full_disk.h"

#include <sqlite3.h>

#include <cstring>

namespace qm::testing {
namespace {

struct CountedFile {
  sqlite3_file base;
  sqlite3_file* real;  // right behind this struct, in SQLite's allocation
  const char* name;    // valid until the close, as SQLite promises
};

sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_counting;

sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<CountedFile*>(file)->real; }
std::string NameOf(sqlite3_file* file) {
  const char* name = reinterpret_cast<CountedFile*>(file)->name;
  return name != nullptr ? name : "(temporary)";
}

int Close(sqlite3_file* file) { return Real(file)->pMethods->xClose(Real(file)); }
int Read(sqlite3_file* file, void* out, int amount, sqlite3_int64 offset) {
  return Real(file)->pMethods->xRead(Real(file), out, amount, offset);
}
int Write(sqlite3_file* file, const void* bytes, int amount, sqlite3_int64 offset) {
  sqlite3_int64 size = 0;
  Real(file)->pMethods->xFileSize(Real(file), &size);
  if (FullDisk::Get().Fails(offset + amount > size)) return SQLITE_FULL;
  return Real(file)->pMethods->xWrite(Real(file), bytes, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (FullDisk::Get().Fails(false)) return SQLITE_IOERR_TRUNCATE;
  return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
  FullDisk::Get().Note("sync " + NameOf(file));
  if (FullDisk::Get().Fails(false)) return SQLITE_IOERR_FSYNC;
  return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
  return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level) { return Real(file)->pMethods->xLock(Real(file), level); }
int Unlock(sqlite3_file* file, int level) {
  return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* out) {
  return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file* file, int op, void* arg) {
  return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int SectorSize(sqlite3_file* file) { return Real(file)->pMethods->xSectorSize(Real(file)); }
int DeviceCharacteristics(sqlite3_file* file) {
  return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

// Version 1 of the methods: no shared memory (the project file keeps its
// rollback journal) and no memory-mapped reads, which SQLite then does
// without.
const sqlite3_io_methods kMethods = {
    1,           Close,      Read,
    Write,       Truncate,   Sync,
    FileSize,    Lock,       Unlock,
    CheckReservedLock,       FileControl,
    SectorSize,  DeviceCharacteristics,
    nullptr,     nullptr,    nullptr,
    nullptr,     nullptr,    nullptr,
};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
  auto* counted = reinterpret_cast<CountedFile*>(file);
  counted->real = reinterpret_cast<sqlite3_file*>(counted + 1);
  counted->name = name;
  counted->base.pMethods = nullptr;
  const int rc = g_real->xOpen(g_real, name, counted->real, flags, outFlags);
  if (rc == SQLITE_OK) counted->base.pMethods = &kMethods;
  return rc;
}

int Delete(sqlite3_vfs*, const char* name, int syncFolder) {
  FullDisk::Get().Note(std::string(syncFolder ? "delete-and-sync-folder " : "delete ") + name);
  return g_real->xDelete(g_real, name, syncFolder);
}

void Install() {
  g_real = sqlite3_vfs_find(nullptr);
  g_counting = *g_real;
  g_counting.iVersion = 1;  // no system-call replacement through SQLite here
  g_counting.zName = "qm-full-disk";
  g_counting.szOsFile = static_cast<int>(sizeof(CountedFile)) + g_real->szOsFile;
  g_counting.xOpen = Open;
  g_counting.xDelete = Delete;
  g_counting.xAccess = [](sqlite3_vfs*, const char* name, int flags, int* out) {
    return g_real->xAccess(g_real, name, flags, out);
  };
  g_counting.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
    return g_real->xFullPathname(g_real, name, size, out);
  };
  g_counting.xDlOpen = [](sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); };
  g_counting.xDlError = [](sqlite3_vfs*, int size, char* out) {
    g_real->xDlError(g_real, size, out);
  };
  g_counting.xDlSym = [](sqlite3_vfs*, void* handle, const char* symbol) {
    return g_real->xDlSym(g_real, handle, symbol);
  };
  g_counting.xDlClose = [](sqlite3_vfs*, void* handle) { g_real->xDlClose(g_real, handle); };
  g_counting.xRandomness = [](sqlite3_vfs*, int size, char* out) {
    return g_real->xRandomness(g_real, size, out);
  };
  g_counting.xSleep = [](sqlite3_vfs*, int micro) { return g_real->xSleep(g_real, micro); };
  g_counting.xCurrentTime = [](sqlite3_vfs*, double* out) {
    return g_real->xCurrentTime(g_real, out);
  };
  g_counting.xGetLastError = [](sqlite3_vfs*, int size, char* out) {
    return g_real->xGetLastError(g_real, size, out);
  };
  sqlite3_vfs_register(&g_counting, 1);
}

}  // namespace

FullDisk& FullDisk::Get() {
  static FullDisk* disk = [] {
    Install();
    return new FullDisk();
  }();
  return *disk;
}

void FullDisk::Arm(int n, Fill fill) {
  failAt_ = n;
  fill_ = fill;
  counted_ = 0;
  injected_ = 0;
}

bool FullDisk::Fails(bool grows) {
  if (failAt_ == 0) return false;
  ++counted_;
  const bool fills = counted_ == failAt_;
  const bool stillFull = fill_ == Fill::kStaysFull && counted_ > failAt_ && grows;
  const bool fails = fills || stillFull;
  if (fails) ++injected_;
  return fails;
}

}  // namespace qm::testing
