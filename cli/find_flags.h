// The options that every command taking a find's text shares: how the
// text matches (--match-case, --word, --regex), as the exports' flags.
#ifndef QMPECORE_CLI_FIND_FLAGS_H_
#define QMPECORE_CLI_FIND_FLAGS_H_

#include <cstdint>
#include <string>

#include <CLI/CLI.hpp>

namespace qm::cli {

struct FindFlagOptions {
  bool matchCase = false;
  bool wholeWord = false;
  bool regex = false;

  int32_t flags() const;
};

void AddFindFlagOptions(CLI::App* command, FindFlagOptions* options);

// How many threads search the project's text files (--threads N, 1 to
// 255); 0, the default, for one per processor.
struct FileThreadsOption {
  uint32_t threads = 0;

  // As the bits of the find flags that carry it.
  int32_t flags() const;
};

void AddFileThreadsOption(CLI::App* command, FileThreadsOption* option);

// Why a find's text with `flags` cannot be used: a pattern's fault and
// where it lies.
std::string PatternErrorMessage(const std::u16string& text, int32_t flags);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_FIND_FLAGS_H_
