// The Windows backend folds as the system's case-blind comparison judges:
// the same answers as StrStrIW and lstrcmpiW on texts made of the units
// where the platforms part.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <random>
#include <string>

#include "platform/text_case.h"

namespace qm::platform {
namespace {

TEST(TextCaseTest, TheSystemsCaseBlindEquality) {
  EXPECT_EQ(FindTextIgnoreCase(u"\u212Aelvin", u"kelvin"), 0u);  // as Unicode folds it
  // Unlike Unicode's simple folding: the system keeps the long s apart
  // from "s", and the dotted and dotless i apart from "i" and "I".
  EXPECT_NE(CompareTextIgnoreCase(u"\u017Fun", u"SUN"), 0);
  EXPECT_NE(CompareTextIgnoreCase(u"\u0130", u"i"), 0);
  EXPECT_NE(CompareTextIgnoreCase(u"\u0131", u"I"), 0);
  EXPECT_EQ(CompareTextIgnoreCase(u"\u03C2", u"\u03A3"), 0);  // final sigma
  // Beyond the BMP a letter folds with its other case exactly where the
  // system's comparison holds the two equal (Deseret here).
  const int equal = ::CompareStringEx(LOCALE_NAME_INVARIANT, NORM_IGNORECASE, L"\U00010400", 2,
                                      L"\U00010428", 2, nullptr, nullptr, 0);
  EXPECT_EQ(CompareTextIgnoreCase(u"\U00010400", u"\U00010428") == 0, equal == CSTR_EQUAL);
}

// The sharp s is left out: the system compares it as "ss", an expansion
// that no unit-for-unit search follows, so the find keeps it apart from
// "ss" on both platforms.
TEST(TextCaseTest, FindAgreesWithStrStrIW) {
  const wchar_t alphabet[] = {L'k', L'K', L'\u212A', L's', L'\u017F', L'S', L'i', L'I',
                              L'\u0130', L'\u0131', L'\u03C2', L'\u03C3', L'\u03A3', L'\u00C5',
                              L'\u212B', L'\u00E5', L'x'};
  std::mt19937 random(20261206);
  auto make = [&](size_t length) {
    std::wstring text;
    for (size_t i = 0; i < length; ++i) text.push_back(alphabet[random() % std::size(alphabet)]);
    return text;
  };
  for (int round = 0; round < 5000; ++round) {
    const std::wstring haystack = make(random() % 12);
    const std::wstring needle = make(1 + random() % 3);
    const wchar_t* found = ::StrStrIW(haystack.c_str(), needle.c_str());
    const size_t expected = found == nullptr ? std::u16string_view::npos
                                             : static_cast<size_t>(found - haystack.c_str());
    const std::u16string h(haystack.begin(), haystack.end());
    const std::u16string n(needle.begin(), needle.end());
    ASSERT_EQ(FindTextIgnoreCase(h, n), expected)
        << ::testing::PrintToString(h) << " " << ::testing::PrintToString(n);
    ASSERT_EQ(CompareTextIgnoreCase(h, n) == 0, ::lstrcmpiW(haystack.c_str(), needle.c_str()) == 0)
        << round;
  }
}

}  // namespace
}  // namespace qm::platform
