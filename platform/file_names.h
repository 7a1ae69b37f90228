// File names on POSIX are bytes. These convert them to UTF-16 and back
// without loss: valid UTF-8 converts as UTF-8, and each byte that belongs
// to no well-formed sequence (0x80 to 0xFF; ASCII always does) becomes the
// lone surrogate U+DC00 + byte, U+DC80 to U+DCFF, as Python's
// "surrogateescape" does. Back to bytes, each such lone surrogate is its
// byte again. So the bytes of any name read as a text that gives the same
// bytes back, and a path the library hands out (a file list, a find's
// result) opens the same file when it is given back. The other way holds
// for every text that a name reads as; a text whose lone surrogates spell
// well-formed UTF-8 (U+DCC3 U+DCA9 gives the bytes of "é") is another
// spelling of that name. A lone surrogate outside U+DC80 to U+DCFF, which
// no name reads as, is written in the three-byte form of its value.
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
