#include "cli/find_flags.h"

#include "cli/cli_support.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {

int32_t FindFlagOptions::flags() const {
  return (matchCase ? kQmFindMatchCase : 0) | (wholeWord ? kQmFindWholeWord : 0) |
         (regex ? kQmFindRegex : 0);
}

void AddFindFlagOptions(CLI::App* command, FindFlagOptions* options) {
  command->add_flag("--match-case", options->matchCase, "Match letter case exactly");
  command->add_flag("--word", options->wholeWord,
                    "Match whole words only: no letter, digit or connector punctuation just "
                    "before or after a match");
  command->add_flag("--regex", options->regex,
                    "TEXT is a regular expression (PCRE2 syntax, Unicode classes), matched "
                    "against each field text and file line");
}

int32_t FileThreadsOption::flags() const {
  return static_cast<int32_t>(threads << kQmFindThreadsShift) & kQmFindThreadsMask;
}

void AddFileThreadsOption(CLI::App* command, FileThreadsOption* option) {
  command
      ->add_option("--threads", option->threads,
                   "Search the project's text files on N threads, 1 to 255 (default: one per "
                   "processor); the results and their order are the same for every N")
      ->check(CLI::Range(1u, 255u));
}

std::string PatternErrorMessage(const std::u16string& text, int32_t flags) {
  char16_t message[256] = {};
  int32_t offset = 0;
  if (QmCheckFindText(text.c_str(), flags, message, 256, &offset) != kQmFindBadPattern) {
    return "the find text cannot be used";
  }
  return "the regular expression does not compile at offset " + std::to_string(offset) + ": " +
         ToUtf8(message);
}

}  // namespace qm::cli
