// Each entry of the table names one kind of difference and a test that
// recognises it from the inputs and the two answers. Where it can, the
// test answers the case again with our code on inputs changed in the one
// respect that the platforms treat differently, and requires Windows'
// answer then; so an entry explains only what its reason covers.
#include "tools/win32_oracle/known_differences.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/text_case.h"
#include "platform/utf_conversion.h"
#include "tools/win32_oracle/case_text.h"
#include "tools/win32_oracle/posix_answers.h"

namespace qm::oracle {
namespace {

// Letters that Unicode's simple case folding joins to others of their case
// group and Windows' case mapping leaves alone: the long s, the micro
// sign, the iota subscript, the Greek symbol forms of beta and theta, the
// long s with dot above, Cherokee (whose small letters fold to capitals).
bool IsLetterWindowsDoesNotMap(char16_t unit) {
  constexpr char16_t kLetters[] = {0x017F, 0x00B5, 0x0345, 0x03D0, 0x03D1, 0x03F4, 0x1E9B};
  return std::find(std::begin(kLetters), std::end(kLetters), unit) != std::end(kLetters) ||
         (unit >= 0x13A0 && unit <= 0x13FD) || (unit >= 0xAB70 && unit <= 0xABBF);
}

// The letters that the path match of Windows also keeps apart from their
// small letters: it compares the upper case of each unit, and the Kelvin,
// Angstrom and Ohm signs are upper case already, while the final sigma,
// the capital sharp s, the title-case DZ and the Greek prosgegrammeni have
// no upper case of their own in Windows' table.
bool IsLetterWindowsMatchDoesNotMap(char16_t unit) {
  constexpr char16_t kLetters[] = {0x212A, 0x212B, 0x2126, 0x03C2, 0x1E9E, 0x01C5, 0x1FBE};
  return IsLetterWindowsDoesNotMap(unit) ||
         std::find(std::begin(kLetters), std::end(kLetters), unit) != std::end(kLetters);
}

bool IsSurrogateUnit(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// Whether the platform's sort table may give `unit` no weight, so that a
// linguistic comparison passes over it. Only letters and digits assigned
// before the table was made (Unicode 6.0 and earlier) are sure to weigh;
// the table leaves out format characters (soft hyphen, zero-width no-break
// space), unassigned code points and noncharacters, U+FFFD, surrogates,
// all newer characters (such as the small Cherokee letters) and some
// symbols and signs.
bool MayLackSortWeight(char16_t unit) {
  if (!u_isalnum(unit)) return true;
  UVersionInfo age;
  u_charAge(unit, age);
  return age[0] > 6 || (age[0] == 6 && age[1] >= 1);
}

// `text` without the units that may lack sort weight; `removed` counts them.
std::u16string WithoutUnitsLackingWeight(std::u16string text, size_t* removed) {
  *removed += std::erase_if(text, MayLackSortWeight);
  return text;
}

std::u16string Text(std::string_view field) { return UnescapeText(field).value(); }

// Our answer for the text inputs with every unit that `keptApart` selects
// replaced by a private-use unit of its own, which no mapping joins to any
// other: the case of those units then counts as Windows counts it. A
// surrogate unit becomes a private-use unit from U+F000 on, so a pair is
// two characters and has no case, as Windows takes it; the other units
// selected take the private-use units from U+E000 on, in order. Nothing
// when no unit is selected: then these units cannot be the cause.
std::optional<std::string> OurAnswerWithUnitsCaseless(const Difference& difference,
                                                      bool (*keptApart)(char16_t unit)) {
  std::u16string letters;  // the selected units other than surrogates, ascending
  for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const auto bmpUnit = static_cast<char16_t>(unit);
    if (!IsSurrogateUnit(bmpUnit) && keptApart(bmpUnit)) letters.push_back(bmpUnit);
  }
  std::vector<std::string> inputs;
  bool changed = false;
  for (const std::string& field : difference.inputs) {
    std::u16string text = Text(field);
    for (char16_t& unit : text) {
      if (!keptApart(unit)) continue;
      unit = IsSurrogateUnit(unit)
                 ? static_cast<char16_t>(0xF000 + (unit - 0xD800))
                 : static_cast<char16_t>(0xE000 + letters.find(unit));
      changed = true;
    }
    inputs.push_back(EscapeText(text));
  }
  if (!changed) return std::nullopt;
  return PosixAnswerFor(difference.function)->answer(inputs);
}

bool IsLetterOrPairWindowsDoesNotMap(char16_t unit) {
  return IsLetterWindowsDoesNotMap(unit) || IsSurrogateUnit(unit);
}

bool IsLetterOrPairWindowsMatchDoesNotMap(char16_t unit) {
  return IsLetterWindowsMatchDoesNotMap(unit) || IsSurrogateUnit(unit);
}

bool EqualityAgreesWhenUnmapped(const Difference& difference) {
  const std::optional<std::string> answer =
      OurAnswerWithUnitsCaseless(difference, IsLetterOrPairWindowsDoesNotMap);
  return answer && (*answer == "0") == (difference.windows == "0");
}

bool SearchAgreesWhenUnmapped(const Difference& difference) {
  return OurAnswerWithUnitsCaseless(difference, IsLetterOrPairWindowsDoesNotMap) ==
         difference.windows;
}

bool MatchAgreesWhenUnmapped(const Difference& difference) {
  return OurAnswerWithUnitsCaseless(difference, IsLetterOrPairWindowsMatchDoesNotMap) ==
         difference.windows;
}

// Our answer with every "*.*" piece of a list (blanks before it aside) made
// an ordinary pattern that needs a dot ("**.*"), unless the whole text is
// "*.*"; with the letters that the path match does not map made caseless
// too, when that is what else stands between the answers.
bool MatchAgreesWithStarDotStarOnlyWhole(const Difference& difference) {
  const std::u16string patterns = Text(difference.inputs[1]);
  if (patterns == u"*.*") return false;
  std::u16string changed;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(patterns.find(u';', start), patterns.size());
    std::u16string_view piece = std::u16string_view(patterns).substr(start, end - start);
    const size_t blanks = std::min(piece.find_first_not_of(u' '), piece.size());
    changed += piece.substr(0, blanks);
    changed += piece.substr(blanks) == u"*.*" ? u"**.*" : piece.substr(blanks);
    if (end == patterns.size()) break;
    changed += u';';
    start = end + 1;
  }
  if (changed == patterns) return false;
  const std::vector<std::string> inputs = {difference.inputs[0], EscapeText(changed)};
  return PosixAnswerFor(difference.function)->answer(inputs) == difference.windows ||
         MatchAgreesWhenUnmapped(
             {difference.function, inputs, difference.windows, difference.ours});
}

bool BothUnequalInOtherOrder(const Difference& difference) {
  return difference.windows != "0" && difference.ours != "0";
}

// Windows finds the texts equal, and so do we once the units that may lack
// sort weight are gone from both.
bool EqualWithoutUnitsLackingWeight(const Difference& difference) {
  if (difference.windows != "0") return false;
  size_t removed = 0;
  const std::u16string a = WithoutUnitsLackingWeight(Text(difference.inputs[0]), &removed);
  const std::u16string b = WithoutUnitsLackingWeight(Text(difference.inputs[1]), &removed);
  return removed > 0 && platform::CompareTextIgnoreCase(a, b) == 0;
}

// Windows finds the needle before we do (or where we find none), in a
// stretch of the haystack as long as the needle that equals the needle
// once the units that may lack sort weight are gone from both.
bool FoundEarlierPassingOverUnitsLackingWeight(const Difference& difference) {
  const long windows = std::stol(std::string(difference.windows));
  const long ours = std::stol(std::string(difference.ours));
  if (windows < 0 || (ours >= 0 && ours < windows)) return false;
  const std::u16string haystack = Text(difference.inputs[0]);
  const std::u16string needle = Text(difference.inputs[1]);
  size_t removed = 0;
  const std::u16string stretch = WithoutUnitsLackingWeight(
      haystack.substr(static_cast<size_t>(windows), needle.size()), &removed);
  const std::u16string bare = WithoutUnitsLackingWeight(needle, &removed);
  return removed > 0 && platform::CompareTextIgnoreCase(stretch, bare) == 0;
}

// --- Dates ---

struct DateAnswer {
  std::string calendar;  // date and time of day
  std::string week;      // weekday and day of the year
  std::string text;
};

std::optional<DateAnswer> SplitDateAnswer(std::string_view answer) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t blank = answer.find(' ', start);
    parts.push_back(answer.substr(start, blank - start));
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  if (parts.size() != 5) return std::nullopt;
  return DateAnswer{std::string(parts[0]) + " " + std::string(parts[1]),
                    std::string(parts[2]) + " " + std::string(parts[3]), std::string(parts[4])};
}

double Date(const Difference& difference) { return UnescapeDate(difference.inputs[0]).value(); }

bool WindowsTakesNanAsDayZero(const Difference& difference) {
  return std::isnan(Date(difference)) && difference.ours == "fail";
}

bool StaleWeekAfterRoundingToMidnight(const Difference& difference) {
  const std::optional<DateAnswer> windows = SplitDateAnswer(difference.windows);
  const std::optional<DateAnswer> ours = SplitDateAnswer(difference.ours);
  return windows && ours && windows->calendar == ours->calendar &&
         windows->text == ours->text && windows->calendar.ends_with(" 00:00:00.000");
}

// Windows adds 1e-11 of a day to the time before it splits it, so a time
// up to 0.864 microseconds short of the half second rounds up (and a
// nanosecond more, the error of its arithmetic in hours, minutes and
// seconds). Such a time moved on by a tenth of a second (away from day 0,
// as the time of day runs) must give Windows' answer, the weekday aside.
bool RoundsUpWithinWindowsAllowance(const Difference& difference) {
  constexpr double kAllowanceSeconds = 1e-11 * 86400 + 1e-9;
  constexpr double kTenthOfSecond = 0.1 / 86400;
  const double date = Date(difference);
  if (!std::isfinite(date)) return false;
  const double seconds = std::fabs(date - std::trunc(date)) * 86400;
  const double belowHalf = 0.5 - (seconds - std::floor(seconds));
  if (belowHalf <= 0 || belowHalf > kAllowanceSeconds) return false;
  const double moved = date + std::copysign(kTenthOfSecond, date);
  const std::optional<DateAnswer> windows = SplitDateAnswer(difference.windows);
  const std::optional<DateAnswer> ours = SplitDateAnswer(
      PosixAnswerFor(difference.function)->answer(std::vector<std::string>{EscapeDate(moved)}));
  return windows && ours && windows->calendar == ours->calendar && windows->text == ours->text;
}

// Rounding up from 30 November 23:59:59.5 lands on 1 January of the next
// year instead of 1 December.
bool WindowsRollsNovemberIntoJanuary(const Difference& difference) {
  const std::optional<DateAnswer> windows = SplitDateAnswer(difference.windows);
  const std::optional<DateAnswer> ours = SplitDateAnswer(difference.ours);
  if (!windows || !ours || !ours->calendar.ends_with("-12-01 00:00:00.000")) return false;
  const int year = std::stoi(ours->calendar);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%04d-01-01 00:00:00.000", year + 1);
  return windows->calendar == expected;
}

bool WindowsRollsIntoYear10000(const Difference& difference) {
  return difference.windows.starts_with("10000-01-01 ") &&
         difference.ours.starts_with("9999-12-31 23:59:59");
}

// --- Paths ---

std::u16string Path(const Difference& difference) { return Text(difference.inputs[0]); }

bool WindowsDriveOrVolume(const Difference& difference) {
  const std::u16string path = Path(difference);
  return path.size() > 1 && path[1] == u':' && difference.windows == "0";
}

bool WindowsRootBackslash(const Difference& difference) {
  const std::u16string path = Path(difference);
  return !path.empty() && path[0] == u'\\' && difference.windows == "0";
}

bool PosixRootSlash(const Difference& difference) {
  const std::u16string path = Path(difference);
  return !path.empty() && path[0] == u'/' && difference.windows == "1";
}

// --- UTF-8 ---

// Which U+FFFD runs a converter makes is its own rule; joining each run
// into one leaves what all converters agree on.
std::u16string WithReplacementRunsJoined(std::u16string text) {
  text.erase(std::unique(text.begin(), text.end(),
                         [](char16_t a, char16_t b) { return a == 0xFFFD && b == 0xFFFD; }),
             text.end());
  return text;
}

bool OtherCountOfReplacements(const Difference& difference) {
  const std::optional<std::u16string> windows = UnescapeText(difference.windows);
  const std::optional<std::u16string> ours = UnescapeText(difference.ours);
  return windows && ours &&
         WithReplacementRunsJoined(*windows) == WithReplacementRunsJoined(*ours);
}

// The number of trail bytes that `lead` announces by its high bits, or 0.
size_t AnnouncedTrailBytes(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 1;
  if ((lead & 0xF0) == 0xE0) return 2;
  if ((lead & 0xF8) == 0xF0) return 3;
  return 0;
}

// When the input ends before the trail bytes that a lead among its last
// three bytes announces, the converter here makes one U+FFFD of the lead
// and everything after it, valid characters included ("\xF3\xC3\xA9"
// gives only U+FFFD): Windows' answer is then ours for the bytes before
// that lead and one U+FFFD, up to the count of U+FFFD.
bool SwallowsTheEndAfterACutLead(const Difference& difference) {
  const std::optional<std::string> bytes = UnescapeBytes(difference.inputs[0]);
  const std::optional<std::u16string> windows = UnescapeText(difference.windows);
  if (!bytes || !windows) return false;
  for (size_t after = 0; after < 3 && after < bytes->size(); ++after) {
    const size_t lead = bytes->size() - 1 - after;
    if (AnnouncedTrailBytes(static_cast<unsigned char>((*bytes)[lead])) <= after) continue;
    std::u16string expected;
    platform::AppendUtf8AsUtf16(std::string_view(*bytes).substr(0, lead), &expected);
    expected.push_back(0xFFFD);
    if (WithReplacementRunsJoined(*windows) == WithReplacementRunsJoined(expected)) return true;
  }
  return false;
}

// Windows' answers here are those of wine's Win32 functions; an entry that
// says "as wine answers" is a fault of wine that Windows is not known to
// share, kept so that the run stays quiet about it.
constexpr KnownDifference kKnownDifferences[] = {
    // lstrcmpiW orders linguistically, by the platform's sort weights; ours
    // orders by folded units. Every caller asks only whether two texts are
    // equal.
    {"lstrcmpiW", "order of unequal texts", BothUnequalInOtherOrder},
    // Each platform folds with its own case mapping (on Windows the fold
    // table is built from the system's mapping, which keeps these apart).
    {"lstrcmpiW", "letters and pairs Windows does not case-map", EqualityAgreesWhenUnmapped},
    // The linguistic comparison skips units without sort weight; an exact
    // comparison of texts, as ours is, cannot.
    {"lstrcmpiW", "units without sort weight", EqualWithoutUnitsLackingWeight},
    {"StrStrIW", "letters and pairs Windows does not case-map", SearchAgreesWhenUnmapped},
    // StrStrIW compares each stretch of the haystack linguistically, so a
    // unit without sort weight matches nothing or anything; ours compares
    // folded units, and the Windows build keeps the same search engine.
    {"StrStrIW", "units without sort weight", FoundEarlierPassingOverUnitsLackingWeight},
    // The path match compares units by their upper case: the signs that
    // are upper case already do not meet their small letters, a pair is
    // two characters to "?". Ours folds code points, on both platforms.
    {"PathMatchSpecW", "letters and pairs Windows does not case-map", MatchAgreesWhenUnmapped},
    // Ours takes a piece "*.*" of a list, or one after blanks, as matching
    // every text, as the whole text "*.*" does; Windows (as wine answers
    // here) only the whole text. Kept until a real Windows answers: the
    // scope item " *.*" and the list "*.htm;*.*" depend on it.
    {"PathMatchSpecW", "\"*.*\" inside a list", MatchAgreesWithStarDotStarOnlyWhole},
    // The range test (as wine answers here) lets NaN through and reads it
    // as day 0; NaN is no date, and ours refuses it with the dates out of
    // range.
    {"VarUdateFromDate", "NaN", WindowsTakesNanAsDayZero},
    // When the time rounds up to midnight the conversion (as wine answers
    // here) moves the day but not the weekday and day of the year. Neither
    // field is ever shown.
    {"VarUdateFromDate", "weekday after rounding to midnight", StaleWeekAfterRoundingToMidnight},
    // The conversion's allowance against truncation (wine's, at least);
    // ours rounds the exact time. Only a date within a microsecond of half
    // a second before midnight shows a different day.
    {"VarUdateFromDate", "rounding allowance of 1e-11 day", RoundsUpWithinWindowsAllowance},
    // The conversion (as wine answers here) rounds the last half second of
    // 31 December 9999 into a year that the formatter refuses (an empty
    // text); ours stays at 23:59:59 so that every accepted date has a text.
    {"VarUdateFromDate", "last half second of 9999", WindowsRollsIntoYear10000},
    // A fault of the platform conversion (as wine answers here) that shows
    // a date a month late; ours gives 1 December.
    {"VarUdateFromDate", "30 November rolled into January", WindowsRollsNovemberIntoJanuary},
    // Path syntax is the platform's: "X:" and "\" start absolute paths on
    // Windows only, "/" on POSIX only.
    {"PathIsRelativeW", "drive or volume", WindowsDriveOrVolume},
    {"PathIsRelativeW", "root backslash", WindowsRootBackslash},
    {"PathIsRelativeW", "root slash", PosixRootSlash},
    // How many U+FFFD stand for one ill-formed sequence is each converter's
    // own rule: ours one per maximal ill-formed subsequence, Windows its
    // own count. The valid text between is the same.
    {"MultiByteToWideChar", "count of U+FFFD", OtherCountOfReplacements},
    // A fault of the converter as wine answers here, which loses valid
    // text; ours keeps every valid character, as the Unicode rule has it.
    {"MultiByteToWideChar", "end swallowed after a cut lead", SwallowsTheEndAfterACutLead},
};

}  // namespace

const KnownDifference* ExplainDifference(const Difference& difference) {
  for (const KnownDifference& known : kKnownDifferences) {
    if (known.function == difference.function && known.explains(difference)) return &known;
  }
  return nullptr;
}

}  // namespace qm::oracle
