// "%s", "%d", "%ld" and "%%" over UTF-16, with typed arguments: a text is
// inserted as it stands and never read as a format, and a mismatch between
// a placeholder and its argument cannot read memory that is not there.
#include <cassert>
#include <charconv>
#include <functional>
#include <string>
#include <string_view>

#include "qmshared/qmshared.h"

namespace qm {
namespace {

void AppendNumber(int64_t number, std::u16string* out) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  out->append(digits, result.ptr);
}

void AppendArg(const FormatArg& arg, std::u16string* out) {
  if (arg.kind == FormatArg::Kind::kText) {
    out->append(arg.text);
  } else {
    AppendNumber(arg.number, out);
  }
}

// The length of the placeholder at the start of `rest` ("%s", "%d", "%ld",
// "%%"), or 0 when `rest` does not start with one.
size_t PlaceholderLength(std::u16string_view rest) {
  if (rest.size() < 2 || rest[0] != u'%') return 0;
  if (rest[1] == u's' || rest[1] == u'd' || rest[1] == u'%') return 2;
  if (rest.size() >= 3 && rest[1] == u'l' && rest[2] == u'd') return 3;
  return 0;
}

// Whether the format or a text argument views the storage of `out`, which
// writing into `out` would change under it.
bool ViewsInto(const std::u16string& out, std::u16string_view format, const FormatArg* args,
               size_t count) {
  const std::less<const char16_t*> before;
  const char16_t* begin = out.data();
  const char16_t* end = begin + out.capacity() + 1;
  const auto inside = [&](std::u16string_view text) {
    return !text.empty() && !before(text.data(), begin) && before(text.data(), end);
  };
  if (inside(format)) return true;
  for (size_t i = 0; i < count; ++i) {
    if (args[i].kind == FormatArg::Kind::kText && inside(args[i].text)) return true;
  }
  return false;
}

void Format(std::u16string_view format, const FormatArg* args, size_t count,
            std::u16string* result) {
  size_t next = 0;
  size_t i = 0;
  while (i < format.size()) {
    const size_t length = PlaceholderLength(format.substr(i));
    if (length == 0) {
      result->push_back(format[i++]);
      continue;
    }
    const char16_t conversion = format[i + length - 1];
    i += length;
    if (conversion == u'%') {
      result->push_back(u'%');
      continue;
    }
    assert(next < count && "FormatText: a placeholder without an argument");
    if (next >= count) continue;
    const FormatArg& arg = args[next++];
    assert((conversion == u's') == (arg.kind == FormatArg::Kind::kText) &&
           "FormatText: an argument of the wrong kind");
    AppendArg(arg, result);
  }
}

}  // namespace

// The text is written straight into `out`, reusing its storage (a caller
// formatting many labels into one string allocates nothing once it has
// grown), unless an argument views that storage: then it is built aside.
void QM_CALL FormatTextArgs(std::u16string* out, std::u16string_view format,
                            const FormatArg* args, size_t count) {
  if (out == nullptr) return;
  if (ViewsInto(*out, format, args, count)) {
    std::u16string aside;
    Format(format, args, count, &aside);
    *out = std::move(aside);
    return;
  }
  out->clear();
  Format(format, args, count, out);
}

}  // namespace qm
