// The inputs lean toward what tells case mappings, wildcard matchers,
// number readers, date converters and UTF converters apart: letters whose
// case forms differ between mappings, surrogates paired and lone, wildcard
// lists, overflowing numbers, dates at the ends of the range and half a
// second before midnight, and every kind of ill-formed UTF-8.
#include "tools/win32_oracle/generated_inputs.h"

#include <array>
#include <cmath>
#include <limits>

#include "tools/win32_oracle/case_text.h"

namespace qm::oracle {
namespace {

// Code points that one case mapping or another takes as forms of one
// letter; ASCII letters are added to these by CaseFormsOf.
constexpr std::u32string_view kCaseGroups[] = {
    U"kK\u212A",                // Kelvin sign
    U"sS\u017F",                // long s
    U"\u03C3\u03A3\u03C2",      // final sigma
    U"iI\u0130\u0131",          // dotted capital I, dotless small i
    U"\u00DF\u1E9E",            // sharp s and its capital
    U"\u00E5\u00C5\u212B",      // Angstrom sign
    U"\u00B5\u03BC\u039C",      // micro sign
    U"\u03C9\u03A9\u2126",      // Ohm sign
    U"\u00FF\u0178",            // y with diaeresis, capital outside Latin-1
    U"\u03B2\u03D0\u0392",      // beta symbol
    U"\u03B8\u03D1\u0398\u03F4",  // theta symbols
    U"\u03B9\u0345\u1FBE\u0399",  // iota subscript and prosgegrammeni
    U"\u0430\u0410",            // Cyrillic a
    U"\u0451\u0401",            // Cyrillic io
    U"\u015F\u015E",            // s with cedilla
    U"\u011F\u011E",            // g with breve
    U"\u01C4\u01C5\u01C6",      // DZ with caron, title case between
    U"\u13A0\uAB70",            // Cherokee, folding to the capital
    U"\uFF21\uFF41",            // fullwidth A
    U"\u24B6\u24D0",            // circled A
    U"\u1E60\u1E61\u1E9B",      // s with dot above, and long s with it
    U"\u023A\u2C65",            // A with stroke: small form much later
    U"\u00C9\u00E9",            // e acute
    U"\u0141\u0142",            // l with stroke
    U"\u10A0\u2D00",            // Georgian
    U"\u1F88\u1F80",            // alpha with psili and ypogegrammeni
    U"\U00010400\U00010428",    // Deseret
    U"\U000104B0\U000104D8",    // Osage
    U"\U0001E900\U0001E922",    // Adlam
};

// Neither letters nor wildcards: separators, digits, marks that a
// linguistic comparison may skip, and units beyond the letters.
constexpr std::u32string_view kOtherCodePoints =
    U" .-_'0123456789\u00A0\u00AD\u0301\u200B\uFEFF\uFFFD\uFFFF\U0001F600";

// Unpaired surrogates, written as code points of their own.
constexpr char32_t kLoneSurrogates[] = {0xD800, 0xD801, 0xDBFF, 0xDC00, 0xDC28, 0xDFFF};

void AppendCodePoint(char32_t c, std::u16string* text) {
  if (c <= 0xFFFF) {
    text->push_back(static_cast<char16_t>(c));
  } else {
    text->push_back(static_cast<char16_t>(0xD7C0 + (c >> 10)));
    text->push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
  }
}

bool IsAsciiLetter(char32_t c) { return (c | 0x20) >= U'a' && (c | 0x20) <= U'z'; }

// The forms of `c` that a case mapping might take as equal to it; `c`
// alone when it has none.
std::u32string CaseFormsOf(char32_t c) {
  for (std::u32string_view group : kCaseGroups) {
    if (group.find(c) != std::u32string_view::npos) return std::u32string(group);
  }
  if (IsAsciiLetter(c)) return {c | 0x20, c & ~char32_t{0x20}};
  return std::u32string(1, c);
}

char32_t RandomLetterOrMark(CaseRandom& random) {
  const uint32_t kind = random.Below(20);
  if (kind < 10) {
    const char32_t first = random.OneIn(2) ? U'a' : U'A';
    return first + random.Below(26);
  }
  if (kind < 15) {
    std::u32string_view group = kCaseGroups[random.Below(std::size(kCaseGroups))];
    return group[random.Below(static_cast<uint32_t>(group.size()))];
  }
  if (kind < 17) return kOtherCodePoints[random.Below(kOtherCodePoints.size())];
  if (kind < 18) return random.Pick(std::span<const char32_t>(kLoneSurrogates));
  if (kind < 19) return 0x10000 + random.Below(0x100000);
  char32_t unit;
  do {
    unit = 1 + random.Below(0xFFFF);
  } while (unit >= 0xD800 && unit <= 0xDFFF);
  return unit;
}

std::u32string RandomCodePoints(CaseRandom& random, uint32_t maxLength) {
  std::u32string text;
  for (uint32_t n = random.Below(maxLength + 1); n > 0; --n) {
    text.push_back(RandomLetterOrMark(random));
  }
  return text;
}

// Each code point replaced, one time in two, by another of its case forms.
std::u32string CaseVariant(CaseRandom& random, std::u32string_view text) {
  std::u32string variant;
  for (char32_t c : text) {
    const std::u32string forms = CaseFormsOf(c);
    variant.push_back(random.OneIn(2) ? forms[random.Below(static_cast<uint32_t>(forms.size()))]
                                      : c);
  }
  return variant;
}

std::u16string ToUtf16(std::u32string_view codePoints) {
  std::u16string text;
  for (char32_t c : codePoints) AppendCodePoint(c, &text);
  return text;
}

// A second text for a comparison: mostly a case variant of the first, so
// that equal answers are common, sometimes cut or extended, sometimes
// unrelated.
std::u32string ComparisonPartner(CaseRandom& random, const std::u32string& first) {
  const uint32_t kind = random.Below(10);
  if (kind < 6) return CaseVariant(random, first);
  if (kind < 7) return CaseVariant(random, first.substr(0, random.Below(first.size() + 1)));
  if (kind < 8) {
    const std::u32string variant = CaseVariant(random, first);
    return variant + RandomCodePoints(random, 3);
  }
  return RandomCodePoints(random, 12);
}

CaseInputs MakeComparison(CaseRandom& random) {
  const std::u32string first = RandomCodePoints(random, 12);
  const std::u32string second = ComparisonPartner(random, first);
  return {EscapeText(ToUtf16(first)), EscapeText(ToUtf16(second))};
}

// A needle cut from the haystack, from a case variant of it, or made up.
CaseInputs MakeSearch(CaseRandom& random, bool varyCase) {
  const std::u32string haystack = RandomCodePoints(random, 16);
  std::u32string needle;
  const uint32_t kind = random.Below(20);
  if (kind == 0) {
    needle.clear();
  } else if (kind < 15 && !haystack.empty()) {
    const uint32_t start = random.Below(static_cast<uint32_t>(haystack.size()));
    needle = haystack.substr(start, 1 + random.Below(static_cast<uint32_t>(haystack.size())));
    if (varyCase || random.OneIn(4)) needle = CaseVariant(random, needle);
  } else {
    needle = RandomCodePoints(random, 4);
  }
  // A needle cut between the units of a pair makes lone surrogates of
  // its own: cut the UTF-16 form, not the code points, now and then.
  std::u16string needleUnits = ToUtf16(needle);
  if (random.OneIn(10) && needleUnits.size() > 1) needleUnits.erase(0, 1);
  return {EscapeText(ToUtf16(haystack)), EscapeText(needleUnits)};
}

CaseInputs MakeSearchIgnoringCase(CaseRandom& random) { return MakeSearch(random, true); }
CaseInputs MakeSearchMatchingCase(CaseRandom& random) { return MakeSearch(random, false); }

// Paths of a project folder: a drive or not, folders split by either slash,
// names with dots, blanks and letters of every kind.
std::u32string RandomPath(CaseRandom& random) {
  std::u32string path;
  if (random.OneIn(3)) path += U"C:\\";
  for (uint32_t parts = random.Below(4); parts > 0; --parts) {
    for (uint32_t n = 1 + random.Below(6); n > 0; --n) {
      path.push_back(random.OneIn(6) ? U'.' : RandomLetterOrMark(random));
    }
    if (parts > 1) path.push_back(random.OneIn(4) ? U'/' : U'\\');
  }
  if (random.OneIn(2)) {
    path.push_back(U'.');
    constexpr std::u32string_view kExtensions[] = {U"htm", U"HTML", U"js", U"txt", U"", U"x"};
    path += random.Pick(std::span<const std::u32string_view>(kExtensions));
  }
  return path;
}

// One pattern shaped on the path: letters kept or swapped for a case form,
// "?" for single code points, "*" for runs.
std::u32string PatternFor(CaseRandom& random, std::u32string_view path) {
  constexpr std::u32string_view kFixedPatterns[] = {U"*.*", U"*", U"*.", U".*", U"", U"?",
                                                    U"*.htm", U"*.HTM", U"**", U"*?*"};
  if (random.OneIn(6)) {
    return std::u32string(random.Pick(std::span<const std::u32string_view>(kFixedPatterns)));
  }
  std::u32string pattern;
  for (size_t at = 0; at < path.size();) {
    const uint32_t kind = random.Below(12);
    if (kind == 0) {
      pattern.push_back(U'*');
      at += random.Below(static_cast<uint32_t>(path.size() - at) + 1);
    } else if (kind == 1) {
      pattern.push_back(U'?');
      ++at;
    } else if (kind == 2) {
      pattern.push_back(RandomLetterOrMark(random));
      ++at;
    } else {
      pattern += CaseVariant(random, path.substr(at, 1));
      ++at;
    }
  }
  if (random.OneIn(8)) pattern.push_back(U'*');
  return pattern;
}

CaseInputs MakePathMatch(CaseRandom& random) {
  const std::u32string path = RandomPath(random);
  std::u32string patterns;
  for (uint32_t n = random.OneIn(3) ? 2 + random.Below(2) : 1; n > 0; --n) {
    patterns.append(random.Below(5) == 0 ? 1 + random.Below(2) : 0, U' ');
    patterns += PatternFor(random, path);
    if (n > 1 || random.OneIn(8)) patterns.push_back(U';');
  }
  return {EscapeText(ToUtf16(path)), EscapeText(ToUtf16(patterns))};
}

// Blanks of every kind, signs, digits (some beyond ASCII), and numbers at
// and past the edges of 32 and 64 bits.
CaseInputs MakeNumber(CaseRandom& random) {
  constexpr char32_t kBlanks[] = {U' ', U'\t', U'\n', U'\v', U'\f', U'\r', 0x85, 0xA0,
                                  0x1680, 0x2003, 0x2028, 0x3000, 0xFEFF, 0x1C};
  constexpr char32_t kDigits[] = {0x660, 0x6F0, 0x966, 0xFF10, 0xFF19, 0xB2, 0x1D7CE};
  constexpr std::u32string_view kEdges[] = {
      U"2147483647", U"2147483648", U"4294967295", U"4294967296", U"9223372036854775807",
      U"9223372036854775808", U"18446744073709551615", U"18446744073709551616",
      U"99999999999999999999", U"0000000000000000000002147483647", U"0", U"00"};
  std::u32string text;
  for (uint32_t n = random.OneIn(2) ? random.Below(3) : 0; n > 0; --n) {
    text.push_back(random.Pick(std::span<const char32_t>(kBlanks)));
  }
  const uint32_t sign = random.Below(8);
  if (sign < 2) text.push_back(sign == 0 ? U'-' : U'+');
  if (sign == 2) text += random.OneIn(2) ? U"+-" : U"--";
  if (sign == 3) text += U" -";
  if (random.OneIn(3)) {
    text += random.Pick(std::span<const std::u32string_view>(kEdges));
  } else {
    for (uint32_t n = random.Below(12); n > 0; --n) {
      text.push_back(random.OneIn(12) ? random.Pick(std::span<const char32_t>(kDigits))
                                      : U'0' + random.Below(10));
    }
  }
  if (random.OneIn(3)) text += RandomCodePoints(random, 4);
  return {EscapeText(ToUtf16(text))};
}

// Whole days near the ends of the range and near day 0, fractions at the
// edges of a second and of midnight, and the values that no day has.
CaseInputs MakeDate(CaseRandom& random) {
  constexpr double kSpecials[] = {std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  -0.0, 0.0, 1e300, -1e300,
                                  std::numeric_limits<double>::denorm_min(),
                                  -std::numeric_limits<double>::denorm_min()};
  // The ends of the range, day 0, the end of February 1900, and the ends of
  // months of each length: 30 November and 31 December 2011, 29 February
  // 2000 and 28 February 2100.
  constexpr double kAnchorDays[] = {-657435, -657434, -1,    0,     1,     60,     61,
                                    2958465, 2958466, 40877, 40908, 36585, 73109};
  constexpr double kSecond = 1.0 / 86400;
  constexpr double kMicrosecond = kSecond * 1e-6;
  const uint32_t kind = random.Below(16);
  if (kind == 0) return {EscapeDate(random.Pick(std::span<const double>(kSpecials)))};
  double day;
  if (kind < 8) {
    day = random.Pick(std::span<const double>(kAnchorDays));
    day += random.Below(5) - 2.0;
  } else {
    day = random.Below(3615901) - 657434.0;  // any day from 1 January 100 to 9999's end
  }
  double fraction;
  switch (random.Below(6)) {
    case 0:  // midnight
      fraction = 0;
      break;
    case 1:  // within a millisecond of half a second before midnight
      fraction = 1 - kSecond / 2 + (random.Below(2001) - 1000.0) * kMicrosecond;
      break;
    case 2:  // on, or half a microsecond either side of, a half second
      fraction = (random.Below(86400) + 0.5) * kSecond;
      fraction += (random.Below(3) - 1.0) * kMicrosecond / 2;
      break;
    case 3:  // just below the next day, as close as a double comes
      fraction = 1 - std::ldexp(1.0, -static_cast<int>(random.Below(52) + 1));
      break;
    case 4:  // noon
      fraction = 0.5;
      break;
    default:
      fraction = random.Next() / 4294967296.0;
      break;
  }
  const bool negative = day < 0 || (day == 0 && random.OneIn(2));
  return {EscapeDate(negative ? day - fraction : day + fraction)};
}

// Paths absolute and relative in every syntax of either system.
CaseInputs MakeRelativePath(CaseRandom& random) {
  constexpr std::u32string_view kStarts[] = {
      U"", U"C:", U"c:\\", U"z:/", U"1:", U":", U"\\", U"\\\\", U"\\\\server\\share",
      U"\\\\?\\C:\\", U"/", U"//", U".", U"..", U".\\", U"../", U" C:", U"\u00E9:",
      U"\U00010400:", U"\xD800:", U"file://", U"a:b", U"C", U"~", U"%TEMP%"};
  std::u32string path(random.Pick(std::span<const std::u32string_view>(kStarts)));
  if (random.OneIn(2)) path += RandomPath(random);
  return {EscapeText(ToUtf16(path))};
}

// Well-formed sequences of each length and every kind of ill-formed one:
// overlong forms, surrogates, code points past U+10FFFF, cut sequences,
// bytes that never begin a sequence and trail bytes on their own.
CaseInputs MakeUtf8(CaseRandom& random) {
  constexpr std::string_view kPieces[] = {
      "a", "Z", " ", std::string_view("\0", 1), "\xC3\xA9", "\xE2\x82\xAC", "\xEF\xBB\xBF",
      "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBF", "\xED\x9F\xBF", "\xEE\x80\x80",
      "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xF0\x80\x80\x80",
      "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xED\xA0\xBD\xED\xB8\x80",
      "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF", "\xF8\x88\x80\x80\x80", "\xFC\x84\x80\x80\x80\x80",
      "\xE2\x82", "\xF0\x9F\x98", "\xF0\x9F", "\xC3", "\xE0\xA0", "\xF5", "\xFE", "\xFF",
      "\x80", "\xBF", "\x80\x80", "\xC2\x80\x80"};
  std::string bytes;
  for (uint32_t n = random.Below(7); n > 0; --n) {
    if (random.OneIn(6)) {
      bytes.push_back(static_cast<char>(random.Below(256)));
    } else {
      bytes += random.Pick(std::span<const std::string_view>(kPieces));
    }
  }
  return {EscapeBytes(bytes)};
}

// Pairs in order and reversed, lone halves at the start, middle and end.
CaseInputs MakeUtf16(CaseRandom& random) {
  constexpr char16_t kUnits[] = {u'a', u'\0', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFD, 0xFFFF,
                                 0xFEFF, 0xD7FF, 0xE000, 0xD800, 0xDBFF, 0xDC00, 0xDFFF};
  std::u16string text;
  for (uint32_t n = random.Below(7); n > 0; --n) {
    const uint32_t kind = random.Below(4);
    if (kind == 0) {
      AppendCodePoint(0x10000 + random.Below(0x100000), &text);
    } else if (kind == 1) {
      text.push_back(static_cast<char16_t>(random.Below(0x10000)));
    } else {
      text.push_back(random.Pick(std::span<const char16_t>(kUnits)));
    }
  }
  return {EscapeText(text)};
}

constexpr FunctionInputs kFunctions[] = {
    {"lstrcmpiW", 2, MakeComparison},
    {"StrStrIW", 2, MakeSearchIgnoringCase},
    {"StrStrW", 2, MakeSearchMatchingCase},
    {"PathMatchSpecW", 2, MakePathMatch},
    {"_wtoi", 1, MakeNumber},
    {"VarUdateFromDate", 1, MakeDate},
    {"PathIsRelativeW", 1, MakeRelativePath},
    {"MultiByteToWideChar", 1, MakeUtf8},
    {"WideCharToMultiByte", 1, MakeUtf16},
};

}  // namespace

std::span<const FunctionInputs> AllFunctionInputs() { return kFunctions; }

uint32_t FunctionSeed(uint32_t seed, size_t functionIndex) {
  return seed * 7919u + static_cast<uint32_t>(functionIndex);
}

}  // namespace qm::oracle
