#include "cli/cli_support.h"

#include <filesystem>

#include "platform/file_names.h"
#include "qmcfg/qmcfg.h"
#include "qmshared/qmshared.h"

namespace qm::cli {
namespace {
int g_exitCode = kExitSuccess;
}  // namespace

void ExitWith(int code) { g_exitCode = code; }
int ExitCode() { return g_exitCode; }

std::u16string ToText(const std::string& utf8) {
  std::u16string text;
  BytesToTextN(&text, utf8);
  return text;
}

std::string ToUtf8(const std::u16string& text) {
  std::string bytes;
  TextToBytes(&bytes, text, kCodePageUtf8, 1);
  return bytes;
}

std::u16string PathText(const std::string& native) { return platform::NativeNameToText(native); }

std::string PathBytes(std::u16string_view text) { return platform::TextToNativeName(text); }

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string SaveFailureText(int32_t code) {
  if (code == kCfgReadOnly) {
    return "the project is read-only (a read-only file, folder or mount); nothing was written";
  }
  if (code == kCfgSqliteBase + 13) return "the disk is full; nothing was written";  // SQLITE_FULL
  return "code " + std::to_string(code);
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  const std::u8string absolute = std::filesystem::absolute(PathOf(path)).lexically_normal().u8string();
  return std::string(absolute.begin(), absolute.end());
}

}  // namespace qm::cli
