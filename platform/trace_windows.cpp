// Traces go to the debugger through OutputDebugStringW, one call per line.
#include "platform/trace.h"

#include <string>

#include "platform/unicode_units.h"
#include "platform/windows_api.h"

namespace qm::platform {

// The debugger shows the line up to its first zero unit, if it holds one.
void WriteTraceLine(std::u16string_view text) {
  constexpr wchar_t kReplacement = 0xFFFD;
  std::wstring line;
  line.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsLeadSurrogate(unit) && i + 1 < text.size() && IsTrailSurrogate(text[i + 1])) {
      line.push_back(static_cast<wchar_t>(unit));
      line.push_back(static_cast<wchar_t>(text[++i]));
    } else if (IsSurrogate(unit)) {
      line.push_back(kReplacement);
    } else {
      line.push_back(static_cast<wchar_t>(unit));
    }
  }
  if (line.empty() || line.back() != L'\n') line.push_back(L'\n');
  ::OutputDebugStringW(line.c_str());
}

}  // namespace qm::platform
