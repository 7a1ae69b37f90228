// Without flags both converters replace what they cannot convert with
// U+FFFD instead of failing. How many U+FFFD stand for one ill-formed
// sequence of UTF-8 is the system's own rule, which may differ from the
// POSIX backend's for some sequences.
#include "platform/utf_conversion.h"
#include "platform/windows_api.h"

namespace qm::platform {

// UTF-16 never needs more units than UTF-8 has bytes. An empty piece is
// left out: the system reports it as an error.
void AppendUtf8AsUtf16(std::string_view bytes, std::u16string* out) {
  if (bytes.empty()) return;
  const size_t start = out->size();
  out->resize(start + bytes.size());
  const int written = ::MultiByteToWideChar(
      CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
      reinterpret_cast<wchar_t*>(out->data() + start), static_cast<int>(bytes.size()));
  out->resize(start + static_cast<size_t>(written > 0 ? written : 0));
}

// UTF-8 never needs more than three bytes per UTF-16 unit.
void AppendUtf16AsUtf8(std::u16string_view text, std::string* out) {
  if (text.empty()) return;
  const size_t start = out->size();
  out->resize(start + text.size() * 3);
  const int written = ::WideCharToMultiByte(
      CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
      out->data() + start, static_cast<int>(text.size() * 3), nullptr, nullptr);
  out->resize(start + static_cast<size_t>(written > 0 ? written : 0));
}

}  // namespace qm::platform
