// File names on POSIX are bytes. These convert them to UTF-16 and back
// without loss: valid UTF-8 converts as UTF-8, and each byte of an invalid
// sequence becomes a lone surrogate U+DC80 to U+DCFF (and back), as
// Python's "surrogateescape" does, so every file found can be opened again.
// On Windows names are UTF-16 already and reach the system as they are. Their
// byte form, which SQLite and the console take, is UTF-8 with each lone
// surrogate (a Windows name may hold one) in the three-byte form of its
// value, read back the same way, so every name comes back unchanged; bytes
// not of that form come from no Windows name and read as U+FFFD.
#ifndef QMPECORE_PLATFORM_FILE_NAMES_H_
#define QMPECORE_PLATFORM_FILE_NAMES_H_

#include <string>
#include <string_view>

namespace qm::platform {

std::u16string NativeNameToText(std::string_view native);
std::string TextToNativeName(std::u16string_view text);

// True when the path is relative: on POSIX, when it does not start with
// "/"; on Windows, PathIsRelativeW's answer.
bool IsRelativePath(std::u16string_view path);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_FILE_NAMES_H_
