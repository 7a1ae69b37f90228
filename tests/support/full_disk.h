// A disk that fills at a chosen moment, for the tests of saves on a full
// disk. One count of the calls that put bytes on the disk: SQLite's
// writes, syncs and truncations through a VFS that stands in for the
// default one, and the platform layer's writes, syncs, links and renames
// through its table of system calls (POSIX). The Nth of them fails as a
// full disk makes it fail: that one alone (kOnce, as a sync that fails
// once), or that one and from then on every call that needs new space
// (kStaysFull: a write past a file's end, a new link), while rewriting
// bytes in place, syncs and renames go on succeeding, as on a real disk.
#ifndef QMPECORE_TESTS_SUPPORT_FULL_DISK_H_
#define QMPECORE_TESTS_SUPPORT_FULL_DISK_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace qm::testing {

enum class Fill { kOnce, kStaysFull };

class FullDisk {
 public:
  // The process's disk. The first call puts the VFS in place as SQLite's
  // default: connections opened afterwards go through it.
  static FullDisk& Get();

  // Counts from zero, and fails the nth call from now (from 1).
  void Arm(int n, Fill fill);
  void Disarm() { Arm(0, Fill::kOnce); }

  // Asked by each counted call before it runs: true when it must fail.
  // `grows`: the call needs new space.
  bool Fails(bool grows);

  int counted() const { return counted_; }
  int injected() const { return injected_; }

  // While set, each counted call and each delete or rename that orders a
  // commit is appended as a line ("sync PATH", "rename FROM TO", ...).
  std::vector<std::string>* log = nullptr;
  void Note(const std::string& line) {
    if (log != nullptr) log->push_back(line);
  }

 private:
  int failAt_ = 0;
  Fill fill_ = Fill::kOnce;
  int counted_ = 0;
  int injected_ = 0;
};

// The figures of one sweep, for the test's report.
struct SweepFigures {
  int attempts = 0;  // runs of the operation, the last one undisturbed
  int injected = 0;  // failures injected over all runs
  SweepFigures& operator+=(const SweepFigures& other) {
    attempts += other.attempts;
    injected += other.injected;
    return *this;
  }
};

// Runs `attempt` with the disk filling at the 1st counted call, then at
// the 2nd, and so on, until a run meets no failure (it ran to its end).
// `attempt` prepares, calls the `arm` it is given where the counting
// starts, runs the operation and checks its outcome, asking
// FullDisk::Get().injected() whether this run was disturbed.
template <class Attempt>
SweepFigures SweepFullDisk(Fill fill, Attempt&& attempt, int limit = 5000) {
  SweepFigures figures;
  FullDisk& disk = FullDisk::Get();
  for (int n = 1; n <= limit; ++n) {
    disk.Disarm();
    attempt([&disk, n, fill] { disk.Arm(n, fill); });
    const int injected = disk.injected();
    disk.Disarm();
    ++figures.attempts;
    figures.injected += injected;
    if (injected == 0) return figures;
  }
  ADD_FAILURE() << "the operation still met failures after " << limit << " runs";
  return figures;
}

// The bytes of the files of `before` that `after` no longer holds as they
// were, file by file.
inline size_t BytesLost(const std::map<std::string, std::string>& before,
                        const std::map<std::string, std::string>& after) {
  size_t lost = 0;
  for (const auto& [name, bytes] : before) {
    auto found = after.find(name);
    if (found == after.end() || found->second != bytes) lost += bytes.size();
  }
  return lost;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_FULL_DISK_H_
