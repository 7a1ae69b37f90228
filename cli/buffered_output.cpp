#include "cli/buffered_output.h"

namespace qm::cli {
namespace {

constexpr size_t kFlushBytes = 64 * 1024;

}  // namespace

BufferedOutput::BufferedOutput(std::FILE* out) : out_(out) { pending_.reserve(kFlushBytes * 2); }

void BufferedOutput::FlushIfFull() {
  if (pending_.size() >= kFlushBytes) Flush();
}

bool BufferedOutput::Finish() {
  Flush();
  if (std::fflush(out_) != 0) failed_ = true;
  return !failed_;
}

void BufferedOutput::Flush() {
  if (!failed_ && !pending_.empty() &&
      std::fwrite(pending_.data(), 1, pending_.size(), out_) != pending_.size()) {
    failed_ = true;
  }
  pending_.clear();
}

}  // namespace qm::cli
