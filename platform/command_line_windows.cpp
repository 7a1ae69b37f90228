#include "platform/command_line.h"

#include "platform/utf_conversion.h"
#include "platform/windows_api.h"

#include <shellapi.h>  // after <windows.h>, which it needs

namespace qm::platform {

// CommandLineToArgvW splits as the C runtime does; should it fail (only
// for want of memory), the narrow arguments are better than none.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::wstring_view argument(wide[i]);
    AppendUtf16AsUtf8(std::u16string(argument.begin(), argument.end()), &arguments[i]);
  }
  ::LocalFree(wide);
  return arguments;
}

}  // namespace qm::platform
