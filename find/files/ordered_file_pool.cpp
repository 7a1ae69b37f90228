#include "find/files/ordered_file_pool.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/processor_count.h"

namespace qm {
namespace {

// The state that the workers and the releasing thread share.
//
// Invariants, under `mutex_`: files are taken in index order, so every
// file below `next_` is being worked on, done or failed; released_ <=
// next_ <= released_ + slots_, so no two files held at once share a slot;
// done_[i % slots_] is set exactly for the files in [released_, next_)
// whose work has ended without failure; partsHeld_[i % slots_] counts the
// parts that file i has signalled and that have not been released, and
// heldParts_ is their sum; failedIndex_ is the lowest file whose work
// threw (SIZE_MAX: none), and nothing is taken once it is set; ended_ is
// set once nothing more will be released.
class PoolRun {
 public:
  PoolRun(size_t files, size_t workers, OrderedFileWork& work)
      : files_(files),
        slots_(OrderedFilePool::SlotCount(workers)),
        work_(work),
        done_(slots_),
        partsHeld_(slots_) {}

  void WorkerLoop(size_t worker);

  // Releases files in order until the list ends, the work says stop, or
  // the next file to release is one that failed. Returns the failure in
  // that last case, else null. While the next file is not done, the
  // calling thread works too, as worker `worker`, rather than sleep: a
  // find with few matches would else wait and be woken once a file.
  std::exception_ptr ReleaseInOrder(size_t worker);

  // Works on file `index`; a failure ends the taking of files. Only a
  // worker's own thread waits for held parts to be released.
  void WorkOn(size_t worker, size_t index, bool mayWait);
  bool PartReady(size_t index, bool mayWait);
  bool CanTake() const { return !stopTaking_ && next_ < files_; }
  // The calling thread never waits in a file's work, so it takes one that
  // would hold its outcome only while the parts held are within bounds.
  bool CallerMayTake() const {
    return CanTake() && next_ < released_ + slots_ &&
           (next_ == released_ || heldParts_ <= OrderedFilePool::kHeldParts);
  }

  // Lets every worker end once its current file is done; nothing more is
  // released.
  void End() {
    const std::lock_guard lock(mutex_);
    stopTaking_ = true;
    ended_ = true;
    mayTake_.notify_all();
  }

 private:
  // Under mutex_: the parts of `slot` are being released.
  void ForgetHeldParts(size_t slot) {
    heldParts_ -= partsHeld_[slot];
    partsHeld_[slot] = 0;
    mayTake_.notify_all();
  }

  const size_t files_;
  const size_t slots_;
  OrderedFileWork& work_;

  std::mutex mutex_;
  std::condition_variable mayTake_;   // a slot or held parts were freed, or the run ends
  std::condition_variable mayRelease_;  // the next file to release has a part, is done or failed
  std::vector<uint8_t> done_;
  std::vector<size_t> partsHeld_;
  size_t heldParts_ = 0;
  size_t next_ = 0;
  size_t released_ = 0;
  size_t failedIndex_ = SIZE_MAX;
  std::exception_ptr failure_;
  bool stopTaking_ = false;
  bool ended_ = false;
};

void PoolRun::WorkerLoop(size_t worker) {
  for (;;) {
    size_t index = 0;
    {
      std::unique_lock lock(mutex_);
      mayTake_.wait(lock, [this] { return !CanTake() || next_ < released_ + slots_; });
      if (!CanTake()) return;
      index = next_++;
    }
    WorkOn(worker, index, true);
  }
}

class PartSignal final : public FilePartSignal {
 public:
  PartSignal(PoolRun* run, size_t index, bool mayWait)
      : run_(run), index_(index), mayWait_(mayWait) {}
  bool PartReady() override { return run_->PartReady(index_, mayWait_); }

 private:
  PoolRun* run_;
  size_t index_;
  bool mayWait_;
};

void PoolRun::WorkOn(size_t worker, size_t index, bool mayWait) {
  const size_t slot = index % slots_;
  PartSignal parts(this, index, mayWait);
  try {
    work_.Work(worker, index, slot, parts);
  } catch (...) {
    const std::lock_guard lock(mutex_);
    if (index < failedIndex_) {
      failedIndex_ = index;
      failure_ = std::current_exception();
    }
    stopTaking_ = true;
    mayTake_.notify_all();
    mayRelease_.notify_one();
    return;
  }
  const std::lock_guard lock(mutex_);
  done_[slot] = 1;
  if (index == released_) mayRelease_.notify_one();
}

bool PoolRun::PartReady(size_t index, bool mayWait) {
  std::unique_lock lock(mutex_);
  ++partsHeld_[index % slots_];
  ++heldParts_;
  if (index == released_) mayRelease_.notify_one();
  // The next file to release never waits, so the waits always end.
  if (mayWait) {
    mayTake_.wait(lock, [&] {
      return ended_ || index == released_ || heldParts_ <= OrderedFilePool::kHeldParts;
    });
  }
  return !ended_;
}

std::exception_ptr PoolRun::ReleaseInOrder(size_t worker) {
  enum class Step { kWork, kWorkAndRelease, kReleasePart, kRelease };
  for (;;) {
    size_t index = 0;
    Step step = Step::kWork;
    {
      std::unique_lock lock(mutex_);
      mayRelease_.wait(lock, [this] {
        const size_t slot = released_ % slots_;
        return released_ >= files_ || done_[slot] != 0 || partsHeld_[slot] != 0 ||
               released_ == failedIndex_ || CallerMayTake();
      });
      if (released_ >= files_) return nullptr;
      if (released_ == failedIndex_) return failure_;
      const size_t slot = released_ % slots_;
      if (done_[slot] != 0) {
        index = released_;
        step = Step::kRelease;
      } else if (partsHeld_[slot] != 0) {
        ForgetHeldParts(slot);
        index = released_;
        step = Step::kReleasePart;
      } else {
        index = next_++;
        step = index == released_ ? Step::kWorkAndRelease : Step::kWork;
      }
    }
    const size_t slot = index % slots_;
    bool more = true;
    switch (step) {
      case Step::kWork:
        WorkOn(worker, index, false);
        continue;
      case Step::kReleasePart:
        work_.ReleasePart(index, slot);
        continue;
      case Step::kWorkAndRelease:
        more = work_.WorkAndRelease(worker, index, slot);
        break;
      case Step::kRelease:
        // The slot stays marked until released, so no worker reuses it
        // while its outcome is handed on.
        more = work_.Release(index, slot);
        break;
    }
    {
      const std::lock_guard lock(mutex_);
      done_[slot] = 0;
      ForgetHeldParts(slot);
      ++released_;
      mayTake_.notify_all();
    }
    if (!more) return nullptr;
  }
}

void RunOnCallingThread(size_t files, OrderedFileWork& work) {
  for (size_t index = 0; index < files; ++index) {
    if (!work.WorkAndRelease(0, index, 0)) return;
  }
}

// For work on the calling thread, where nothing is released until the
// work on its file ends.
class NoPartSignal final : public FilePartSignal {
 public:
  bool PartReady() override { return true; }
};

// Stops and joins every started worker on each way out of a run.
class WorkerThreads {
 public:
  explicit WorkerThreads(PoolRun* run) : run_(run) {}
  ~WorkerThreads() {
    run_->End();
    for (std::thread& thread : threads_) thread.join();
  }
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // False when the system refuses another thread.
  bool Start(size_t worker) {
    try {
      threads_.emplace_back(&PoolRun::WorkerLoop, run_, worker);
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }
  bool empty() const { return threads_.empty(); }
  void Reserve(size_t count) { threads_.reserve(count); }

 private:
  PoolRun* run_;
  std::vector<std::thread> threads_;
};

}  // namespace

bool OrderedFileWork::WorkAndRelease(size_t worker, size_t index, size_t slot) {
  NoPartSignal parts;
  Work(worker, index, slot, parts);
  return Release(index, slot);
}

size_t OrderedFilePool::WidthFor(size_t asked, size_t files) {
  const size_t wanted = asked == 0 ? platform::UsableProcessorCount() : asked;
  return std::max<size_t>(1, std::min(wanted, files));
}

void OrderedFilePool::Run(size_t files, size_t workers, OrderedFileWork& work) {
  if (workers <= 1 || files <= 1) return RunOnCallingThread(files, work);
  PoolRun run(files, workers, work);
  std::exception_ptr failure;
  {
    // The calling thread is the last worker.
    WorkerThreads threads(&run);
    threads.Reserve(workers - 1);
    for (size_t worker = 0; worker + 1 < workers; ++worker) {
      if (!threads.Start(worker)) break;
    }
    if (threads.empty()) return RunOnCallingThread(files, work);
    failure = run.ReleaseInOrder(workers - 1);
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace qm
