#include "cli/progress_meter.h"

#include <algorithm>
#include <cstdio>

#include "platform/standard_streams.h"

namespace qm::cli {
namespace {

constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawTime = std::chrono::milliseconds(100);

}  // namespace

ProgressMeter::ProgressMeter(std::string doing)
    : doing_(std::move(doing)),
      shown_(platform::IsTerminal(platform::StandardStream::kError)),
      start_(std::chrono::steady_clock::now()),
      last_(start_) {}

// Lines are cleared with blanks rather than an escape sequence, which a
// Windows console shows as it stands unless told otherwise.
ProgressMeter::~ProgressMeter() {
  if (written_) std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
}

void ProgressMeter::Tell(int64_t done, int64_t total) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < kQuietTime || (written_ && now - last_ < kRedrawTime)) return;
  last_ = now;
  written_ = true;
  const int width = std::fprintf(stderr, "\r%s: %lld of %lld records", doing_.c_str(),
                                 static_cast<long long>(done), static_cast<long long>(total));
  if (width > 0 && static_cast<size_t>(width) < width_) {
    std::fprintf(stderr, "%*s", static_cast<int>(width_ - static_cast<size_t>(width)), "");
  }
  width_ = std::max(width_, static_cast<size_t>(std::max(width, 0)));
  std::fflush(stderr);
}

int32_t ProgressMeter::Handler(void* meter, int64_t done, int64_t total) {
  static_cast<ProgressMeter*>(meter)->Tell(done, total);
  return 1;
}

}  // namespace qm::cli
