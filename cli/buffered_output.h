// Output gathered in memory and written in large pieces: large enough that
// writes cost little per line, small enough that a reader sees lines while
// the command runs. A failed write is remembered; nothing more is written.
#ifndef QMPECORE_CLI_BUFFERED_OUTPUT_H_
#define QMPECORE_CLI_BUFFERED_OUTPUT_H_

#include <cstdio>
#include <string>

namespace qm::cli {

class BufferedOutput {
 public:
  explicit BufferedOutput(std::FILE* out);
  BufferedOutput(const BufferedOutput&) = delete;
  BufferedOutput& operator=(const BufferedOutput&) = delete;

  // What waits to be written; append to it, then call FlushIfFull.
  std::string& pending() { return pending_; }
  void FlushIfFull();
  // Writes what waits and flushes the stream; false when any write failed.
  bool Finish();
  bool failed() const { return failed_; }

 private:
  void Flush();

  std::FILE* out_;
  std::string pending_;
  bool failed_ = false;
};

}  // namespace qm::cli

#endif  // QMPECORE_CLI_BUFFERED_OUTPUT_H_
