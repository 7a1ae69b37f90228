// This test program run again as a child process, with its standard input
// and output on pipes to the parent, and killed or reaped by the parent.
#ifndef QMPECORE_TESTS_SUPPORT_CHILD_PROCESS_H_
#define QMPECORE_TESTS_SUPPORT_CHILD_PROCESS_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::testing {

class ChildProcess {
 public:
  // Starts the program with `arguments` (after its own name); a failed
  // start fails the test and leaves started() false.
  explicit ChildProcess(const std::vector<std::string>& arguments);
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const;
  bool Write(std::string_view bytes);
  // Up to `size` bytes of its output; 0 once it has closed its output.
  size_t Read(char* buffer, size_t size);
  // Ends it at once, as a crash would, and reaps it.
  void Kill();
  // Closes its input and waits for it to end; true when it exited by
  // itself rather than being killed.
  bool Finish();

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

// Ends the calling process at once, as a crash would: no destructor, no
// flush, no exit handler runs.
[[noreturn]] void CrashThisProcess();

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_CHILD_PROCESS_H_
