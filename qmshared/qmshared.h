// The operations of qmshared, the utility library that the core and the
// configuration store call: text normalisation, splitting, formatting,
// UTF-8/UTF-16 conversion, path splitting, tracing and variant text.
//
// Every operation is a plain function that never throws on its own (only
// the standard containers may, on exhausted memory) and writes its answer
// into a string or sequence that the caller owns. The trailing integer
// arguments are kept for the callers' sake; their meaning is given on each
// declaration.
#ifndef QMPECORE_QMSHARED_QMSHARED_H_
#define QMPECORE_QMSHARED_QMSHARED_H_

#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_limits.h"
#include "qmpecore/config_records.h"

#ifndef QM_CALL
#define QM_CALL
#endif
#ifndef QMSHARED_API
#define QMSHARED_API
#endif

namespace qm {

// The code page of UTF-8, the only one these conversions speak.
inline constexpr uint32_t kCodePageUtf8 = 65001;

// A fixed-size path record. Callers zero it, put the path into `path` with
// SetPathPartsPath (which refuses a path that does not fit rather than cut
// it), call SplitPath, and join drive and directory to get the folder.
struct PathParts {
  char16_t path[platform::kPathFieldUnits];
  char16_t drive[3];
  char16_t directory[platform::kDirectoryFieldUnits];
  char16_t fileName[256];
  char16_t extension[256];
};

// One argument of FormatText: a text (inserted as it stands, never read as
// a format) or a number.
struct FormatArg {
  enum class Kind { kText, kNumber };
  FormatArg(std::u16string_view t) : kind(Kind::kText), text(t) {}
  FormatArg(const std::u16string& t) : kind(Kind::kText), text(t) {}
  FormatArg(const char16_t* t) : kind(Kind::kText), text(t ? t : u"") {}
  FormatArg(int32_t n) : kind(Kind::kNumber), number(n) {}
  FormatArg(int64_t n) : kind(Kind::kNumber), number(n) {}
  Kind kind;
  std::u16string_view text;
  int64_t number = 0;
};

// Plain (unmangled) symbols, so that the Windows DLL can export each
// operation at its ordinal through qmshared/qmshared.def whatever the compiler.
extern "C" {

// Ordinal 2. Rewrites a path-like text in place: runs of separators
// ("/" and, on Windows, "\") collapse into one (on Windows a leading double
// separator is kept, for network paths, and "/" becomes "\"); a trailing
// separator stays. Nothing is trimmed, no letter case changes and the file
// system is never touched, so " ", "*.*" and "Entire Project" and the empty
// text stay as they are. Idempotent. The two integers are unused (pass 0).
QMSHARED_API void QM_CALL NormalizeText(std::u16string* text, int32_t, int32_t);

// Ordinal 75. Makes a registry key of a text that NormalizeText prepared:
// "." segments are removed and ".." segments resolved lexically (a ".."
// that would climb above the start is kept), runs of separators collapse
// as in NormalizeText, a trailing separator stays, a non-empty text that
// resolves to nothing becomes "." (the empty text stays empty), and on
// Windows letter case is folded. NormalizeText then NormalizeKey is
// idempotent. Pass -1.
QMSHARED_API void QM_CALL NormalizeKey(std::u16string* key, int32_t);

// Ordinal 3. Fills `tokens` afresh with the tokens of `source` between any
// of the delimiter bytes, in order, every empty token kept (the trailing one
// included: "5\n\n" gives "5", "", ""). Pass 1.
QMSHARED_API void QM_CALL SplitNarrowText(std::vector<std::string>* tokens,
                                          const std::string& source,
                                          const std::string& delimiters, int32_t);

// Ordinal 4. Fills `parts` afresh with the non-empty parts of `source`
// between any of the delimiter characters ("|3" and "3|" both give "3").
// Pass 0.
QMSHARED_API void QM_CALL SplitText(std::vector<std::u16string>* parts,
                                    const std::u16string& source,
                                    const std::u16string& delimiters, int32_t);

// Ordinal 6, through the FormatText template below. Understands "%s"
// (a text), "%d" and "%ld" (numbers, the full 64 bits) and "%%"; every
// other character is copied, a "%" that starts none of these included. A placeholder whose argument is missing or of the other kind is a
// programming error: debug builds assert, release builds insert the
// argument as text (or nothing when it is missing).
QMSHARED_API void QM_CALL FormatTextArgs(std::u16string* out, std::u16string_view format,
                                         const FormatArg* args, size_t count);

// Ordinal 11. Replaces `out` with the UTF-16 form of the UTF-8 bytes up to
// the first zero byte. Each maximal invalid subsequence becomes one U+FFFD,
// as ICU substitutes. A leading byte-order mark is kept as U+FEFF, like any
// other character, so offsets in the text count it. Only code page 65001 is
// spoken: any other leaves `out` empty. Pass 1.
QMSHARED_API void QM_CALL BytesToText(std::u16string* out, const char* bytes,
                                      uint32_t codePage, int32_t);

// The same conversion over a counted byte range (zero bytes included).
QMSHARED_API void QM_CALL BytesToTextN(std::u16string* out, std::string_view bytes);

// Ordinal 12. Replaces `out` with the UTF-8 form of the UTF-16 text; an
// unpaired surrogate becomes U+FFFD. Only code page 65001 is spoken. Pass 1.
QMSHARED_API void QM_CALL TextToBytes(std::string* out, std::u16string_view text,
                                      uint32_t codePage, int32_t);

// Ordinal 18. Writes the text as one line of diagnostics (standard error on
// POSIX, the debugger output on Windows). A null text writes nothing.
QMSHARED_API void QM_CALL TraceText(const char16_t* text);

// Zeroes the record and copies `path` into its path field. Returns false,
// leaving the record zeroed, when the path (and its terminator) does not fit
// or the path holds a zero unit (it would be cut there).
QMSHARED_API bool QM_CALL SetPathPartsPath(PathParts* parts, std::u16string_view path);

// Ordinal 32. Fills drive, directory (with its trailing separator), file
// name and extension from the path field. The drive is empty on POSIX; the
// extension starts at the last "." of the final segment, dot included. Returns false, leaving those four
// fields empty, when the path field is not terminated or a part would not
// fit its field; it never writes past a field.
QMSHARED_API bool QM_CALL SplitPath(PathParts* parts);

// Ordinal 80. Replaces `out` with the text of the value: integers in
// decimal as stored (VT_UI8 as unsigned), reals in the shortest text that
// reads back to the same value (VT_R4 as a float, unless it lies beyond the
// float range), booleans "True"/"False", strings as they are, dates as
// "dd/mm/yyyy hh:mm:ss" (24-hour clock, see platform/ole_date.h) or
// "Invalid DateTime" outside the years 100 to 9999; empty, null and unknown
// types give the empty text. Pass 0.
QMSHARED_API void QM_CALL VariantToText(std::u16string* out, const Variant* value, int32_t);

}  // extern "C"

// FormatText(out, format, args...): the type-safe face of ordinal 6.
template <class... Args>
void FormatText(std::u16string* out, std::u16string_view format, const Args&... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg(u"")};
  FormatTextArgs(out, format, list, sizeof...(Args));
}

}  // namespace qm

#endif  // QMPECORE_QMSHARED_QMSHARED_H_
