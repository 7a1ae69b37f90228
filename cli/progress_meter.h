// "exporting: 120000 of 1000000 records" on standard error, rewritten in
// place, for work that runs longer than a second while a person watches:
// nothing when standard error is not a terminal.
#ifndef QMPECORE_CLI_PROGRESS_METER_H_
#define QMPECORE_CLI_PROGRESS_METER_H_

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qm::cli {

class ProgressMeter {
 public:
  explicit ProgressMeter(std::string doing);
  ~ProgressMeter();  // clears the line it wrote
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void Tell(int64_t done, int64_t total);

  // The library's progress handler (QmProgressHandler) for a meter.
  static int32_t Handler(void* meter, int64_t done, int64_t total);

 private:
  std::string doing_;
  bool shown_;  // false: nothing is ever shown
  bool written_ = false;
  size_t width_ = 0;  // of the longest line written
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace qm::cli

#endif  // QMPECORE_CLI_PROGRESS_METER_H_
