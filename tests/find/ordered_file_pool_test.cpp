// The pool that works on files in parallel and releases them in order:
// the order and the prefix released, how far workers run ahead, and that
// every worker has ended when a run returns, however it ends.
#include "find/files/ordered_file_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qm {
namespace {

// Threads other than the test's that have worked and not yet ended: a
// thread-local object is destroyed as its thread ends, before a join of
// it returns.
std::atomic<int> g_liveWorkerThreads{0};

struct WorkerThreadWatch {
  WorkerThreadWatch() { ++g_liveWorkerThreads; }
  ~WorkerThreadWatch() { --g_liveWorkerThreads; }
};

constexpr size_t kNever = SIZE_MAX;

struct Case {
  size_t files;
  size_t workers;
  size_t workThrowsAt = kNever;     // Work of this file throws
  size_t releaseThrowsAt = kNever;  // Release of this file throws
  size_t releaseStopsAt = kNever;   // Release of this file returns false
  size_t parts = 1;                 // signalled by every third file; above 1 the release is slow
};

// Files take uneven times, so that later files often end first. Checks, as
// they happen, what must hold at every moment of a run.
class CheckedWork final : public OrderedFileWork {
 public:
  explicit CheckedWork(const Case& c)
      : case_(c),
        caller_(std::this_thread::get_id()),
        slots_(OrderedFilePool::SlotCount(c.workers)),
        outcomes_(slots_),
        slotBusy_(std::make_unique<std::atomic<bool>[]>(slots_)),
        workerBusy_(std::make_unique<std::atomic<bool>[]>(c.workers)),
        partsOf_(std::make_unique<std::atomic<size_t>[]>(slots_)) {}

  void Work(size_t worker, size_t index, size_t slot, FilePartSignal& parts) override {
    if (std::this_thread::get_id() != caller_) {
      thread_local WorkerThreadWatch watch;
    }
    if (worker >= case_.workers || workerBusy_[worker].exchange(true)) ++faults_;
    if (slot >= slots_ || slotBusy_[slot].exchange(true)) ++faults_;
    if (index >= released_.load() + slots_) ++faults_;  // ran further ahead than its slots
    for (size_t part = 0; index % 3 == 0 && part < case_.parts; ++part) {
      ++partsOf_[slot];
      const size_t held = ++held_;
      if (!parts.PartReady()) break;
      size_t peak = peakHeld_.load();
      while (held > peak && !peakHeld_.compare_exchange_weak(peak, held)) {
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds((index * 7919) % 5 * 150));
    outcomes_[slot] = index;
    workerBusy_[worker] = false;
    if (index == case_.workThrowsAt) throw std::runtime_error("work " + std::to_string(index));
  }

  // Only the next file to release, on the calling thread, and only once
  // its work has signalled a part.
  void ReleasePart(size_t index, size_t slot) override {
    if (std::this_thread::get_id() != caller_ || index != released_.load() || index % 3 != 0 ||
        !slotBusy_[slot]) {
      ++faults_;
    }
    ForgetParts(slot);
  }

  bool Release(size_t index, size_t slot) override {
    if (std::this_thread::get_id() != caller_ || outcomes_[slot] != index) ++faults_;
    ForgetParts(slot);
    if (index == case_.releaseThrowsAt) throw std::runtime_error("release");
    order_.push_back(index);
    slotBusy_[slot] = false;
    ++released_;
    return index != case_.releaseStopsAt;
  }

  const std::vector<size_t>& order() const { return order_; }
  // The most parts held at once that a worker went on past.
  size_t peakHeld() const { return peakHeld_.load(); }
  int faults() const { return faults_.load(); }

 private:
  const Case case_;
  const std::thread::id caller_;
  const size_t slots_;
  std::vector<size_t> outcomes_;
  std::unique_ptr<std::atomic<bool>[]> slotBusy_;
  std::unique_ptr<std::atomic<bool>[]> workerBusy_;
  std::atomic<size_t> released_{0};
  std::atomic<int> faults_{0};
  std::vector<size_t> order_;
  std::unique_ptr<std::atomic<size_t>[]> partsOf_;
  std::atomic<size_t> held_{0};
  std::atomic<size_t> peakHeld_{0};

  void ForgetParts(size_t slot) {
    if (case_.parts > 1) std::this_thread::sleep_for(std::chrono::microseconds(100));
    held_ -= partsOf_[slot].exchange(0);
  }
};

std::vector<size_t> FirstIndices(size_t count) {
  std::vector<size_t> indices(count);
  for (size_t i = 0; i < count; ++i) indices[i] = i;
  return indices;
}

TEST(OrderedFilePool, ReleasesThePrefixOneThreadWouldInListOrder) {
  struct Expected {
    Case c;
    size_t released;
    bool throws;
  };
  const Expected cases[] = {
      {{0, 4}, 0, false},
      {{1, 8}, 1, false},
      {{3, 8}, 3, false},
      {{60, 1}, 60, false},
      {{60, 2}, 60, false},
      {{60, 8}, 60, false},
      {{60, 8, kNever, kNever, 0}, 1, false},
      {{60, 8, kNever, kNever, 21}, 22, false},
      {{60, 2, kNever, kNever, 59}, 60, false},
      {{60, 8, 0}, 0, true},
      {{60, 8, 13}, 13, true},
      {{60, 2, 59}, 59, true},
      {{60, 1, 5}, 5, true},
      {{60, 8, kNever, 30}, 30, true},
      {{60, 8, 40, 30}, 30, true},  // the release fails first
      {{60, 8, 30, kNever, 30}, 30, true},  // a file that fails is never released
      {{60, 8, kNever, kNever, kNever, 100}, 60, false},  // parts past the bound wait
      {{60, 8, kNever, kNever, 9, 100}, 10, false},  // and are let go when the run ends
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(::testing::Message() << expected.c.files << " files, " << expected.c.workers
                                    << " workers, work throws at " << expected.c.workThrowsAt
                                    << ", release throws at " << expected.c.releaseThrowsAt
                                    << ", stops at " << expected.c.releaseStopsAt);
    CheckedWork work(expected.c);
    bool threw = false;
    try {
      OrderedFilePool::Run(expected.c.files, expected.c.workers, work);
    } catch (const std::runtime_error&) {
      threw = true;
    }
    EXPECT_EQ(threw, expected.throws);
    EXPECT_EQ(work.order(), FirstIndices(expected.released));
    EXPECT_EQ(work.faults(), 0);
    EXPECT_EQ(g_liveWorkerThreads.load(), 0);
    // Beyond the bound: the next file to release, which never waits; the
    // calling thread's own file; and the parts that this work counts a
    // moment longer than the pool does, in its slow release.
    EXPECT_LE(work.peakHeld(), OrderedFilePool::kHeldParts + 3 * expected.c.parts +
                                   expected.c.workers);
  }
}

TEST(OrderedFilePool, WidthIsAskedCountOrProcessorsBoundedByFiles) {
  EXPECT_EQ(OrderedFilePool::WidthFor(8, 3), 3u);
  EXPECT_EQ(OrderedFilePool::WidthFor(2, 100), 2u);
  EXPECT_EQ(OrderedFilePool::WidthFor(4, 0), 1u);
  EXPECT_GE(OrderedFilePool::WidthFor(0, 1000), 1u);
  EXPECT_EQ(OrderedFilePool::WidthFor(0, 1), 1u);
}

}  // namespace
}  // namespace qm
