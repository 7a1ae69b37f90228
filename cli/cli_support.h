// What every qmpe command shares: exit codes, errors with a message, and
// the conversions between the shell's UTF-8 and the library's UTF-16.
#ifndef QMPECORE_CLI_CLI_SUPPORT_H_
#define QMPECORE_CLI_CLI_SUPPORT_H_

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm::cli {

// Exit codes, as grep users expect: 0 success (or "yes"), 1 no result (or
// "no"), 2 a usage error or a failure.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNo = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFailure = 2;

// A command failure with the message to print and the exit code.
class CommandError : public std::runtime_error {
 public:
  explicit CommandError(const std::string& message, int exitCode = kExitFailure)
      : std::runtime_error(message), exitCode_(exitCode) {}
  int exitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

// The exit code that main returns after a command ran without throwing.
void ExitWith(int code);
int ExitCode();

// Shell text (UTF-8) to library text and back.
std::u16string ToText(const std::string& utf8);
std::string ToUtf8(const std::u16string& text);

// A path of the command line as the library names it, and a path of the
// library's as the file system's bytes (platform/file_names.h): both
// lossless, so that a name that is no UTF-8 (POSIX allows any bytes)
// reaches the file it names and prints as it stands on disk.
std::u16string PathText(const std::string& native);
std::string PathBytes(std::u16string_view text);

// A path as the file system wants it. Shell paths here are UTF-8 (on
// Windows the command line is taken as UTF-16 and passed on as UTF-8), and
// a narrow std::filesystem::path would be read in the ANSI code page there.
std::filesystem::path PathOf(std::string_view utf8);

// Why a save failed, from its code (the store's codes, qmcfg.h): a
// project that may not be written and a full disk in words, others by code.
std::string SaveFailureText(int32_t code);

// The argument made absolute against the current folder (lexically: the
// file need not exist), as the library wants every path.
std::string AbsolutePath(const std::string& path);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_CLI_SUPPORT_H_
