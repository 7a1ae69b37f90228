// How the Windows backend reaches the Windows API: <windows.h> without its
// rarely used parts and without the min and max macros (they break
// std::min and std::max), and the passage of our UTF-16 text to and from
// the wide-character functions, whose wchar_t holds the same code units.
#ifndef QMPECORE_PLATFORM_WINDOWS_API_H_
#define QMPECORE_PLATFORM_WINDOWS_API_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace qm::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

// The text as a zero-terminated wide string for a W function. False when
// the text holds a zero unit: the function would stop there and act on
// another name than the one given.
inline bool ToWideText(std::u16string_view text, std::wstring* wide) {
  if (text.find(u'\0') != std::u16string_view::npos) return false;
  wide->assign(text.begin(), text.end());
  return true;
}

// A kernel handle closed on every way out (INVALID_HANDLE_VALUE and null
// stand for none, as the functions that open them fail with one or the
// other).
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

 private:
  HANDLE handle_;
};

// The first `length` units of a wide string that a W function filled.
inline void AssignFromWide(const wchar_t* wide, size_t length, std::u16string* text) {
  text->assign(wide, wide + length);
}

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_WINDOWS_API_H_
