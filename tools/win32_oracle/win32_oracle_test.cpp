// The pieces the differential test relies on: the line format carries
// every unit, the generator covers the cases that tell implementations
// apart, and each known difference explains only what its reason covers.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "tools/win32_oracle/case_text.h"
#include "tools/win32_oracle/generated_inputs.h"
#include "tools/win32_oracle/known_differences.h"
#include "tools/win32_oracle/posix_answers.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace qm::oracle {
namespace {

TEST(CaseTextTest, EveryUnitAndByteSurvivesTheLine) {
  std::u16string allUnits;
  for (char32_t unit = 0; unit <= 0xFFFF; ++unit) allUnits.push_back(static_cast<char16_t>(unit));
  const std::string field = EscapeText(allUnits);
  EXPECT_EQ(field.find_first_of(" \t\r\n"), std::string::npos);
  EXPECT_EQ(UnescapeText(field), allUnits);
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte) allBytes.push_back(static_cast<char>(byte));
  EXPECT_EQ(UnescapeBytes(EscapeBytes(allBytes)), allBytes);
  EXPECT_EQ(EscapeText(u"a\\b c"), "a\\u005Cb\\u0020c");
  for (double date : {-0.0, std::numeric_limits<double>::quiet_NaN(), 2958465.999994215}) {
    EXPECT_EQ(EscapeDate(*UnescapeDate(EscapeDate(date))), EscapeDate(date));
  }
}

TEST(CaseTextTest, RefusesFieldsNotOfTheEscapedForm) {
  for (const char* field : {"\\u12", "\\u12G4", "\\x41", "a b", "\\", "caf\xC3\xA9"}) {
    EXPECT_FALSE(UnescapeText(field).has_value()) << field;
  }
  EXPECT_FALSE(UnescapeBytes("\\u0041").has_value());
  EXPECT_FALSE(UnescapeDate("3FF000000000000").has_value());
  EXPECT_EQ(SplitFields("f\t\tx\t"), (std::vector<std::string_view>{"f", "", "x", ""}));
}

// The inputs of one function, decoded, in one text per case.
std::vector<std::u16string> GeneratedTexts(std::string_view function, uint32_t count) {
  const std::span<const FunctionInputs> functions = AllFunctionInputs();
  for (size_t index = 0; index < functions.size(); ++index) {
    if (functions[index].function != function) continue;
    CaseRandom random(FunctionSeed(kDefaultSeed, index));
    std::vector<std::u16string> texts;
    for (uint32_t n = 0; n < count; ++n) {
      std::u16string joined;
      for (const std::string& field : functions[index].make(random)) {
        const auto text = UnescapeText(field);
        const auto bytes = UnescapeBytes(field);
        if (text) joined += *text;
        if (bytes) {
          for (unsigned char byte : *bytes) joined.push_back(byte);
        }
      }
      texts.push_back(joined);
    }
    return texts;
  }
  ADD_FAILURE() << "no function " << function;
  return {};
}

bool AnyHolds(const std::vector<std::u16string>& texts, std::u16string_view piece) {
  for (const std::u16string& text : texts) {
    if (text.find(piece) != std::u16string::npos) return true;
  }
  return false;
}

TEST(GeneratedInputsTest, SameSeedSameInputsAndEveryFieldDecodes) {
  const std::span<const FunctionInputs> functions = AllFunctionInputs();
  std::set<std::string_view> names;
  for (size_t index = 0; index < functions.size(); ++index) {
    EXPECT_TRUE(names.insert(functions[index].function).second);
    CaseRandom first(FunctionSeed(7, index)), second(FunctionSeed(7, index));
    for (int n = 0; n < 200; ++n) {
      const CaseInputs inputs = functions[index].make(first);
      ASSERT_EQ(inputs, functions[index].make(second));
      ASSERT_EQ(inputs.size(), functions[index].inputCount);
      for (const std::string& field : inputs) {
        EXPECT_TRUE(UnescapeText(field) || UnescapeBytes(field) || UnescapeDate(field)) << field;
      }
    }
  }
}

TEST(GeneratedInputsTest, CoversTheCasesThatTellImplementationsApart) {
  const auto letters = GeneratedTexts("lstrcmpiW", 2000);
  for (std::u16string_view piece : {u"\u212A", u"\u017F", u"\u03C2", u"\u0130", u"\u0131",
                                    u"\u00DF", u"\u1E9E", u"\U00010400", u"\xDC00"}) {
    EXPECT_TRUE(AnyHolds(letters, piece)) << EscapeText(piece);
  }
  const auto patterns = GeneratedTexts("PathMatchSpecW", 2000);
  for (std::u16string_view piece : {u"*", u"?", u";", u" ", u".", u"*.*"}) {
    EXPECT_TRUE(AnyHolds(patterns, piece)) << EscapeText(piece);
  }
  const auto numbers = GeneratedTexts("_wtoi", 2000);
  for (std::u16string_view piece : {u"-", u"+", u"\u3000", u"\uFF10", u"4294967296"}) {
    EXPECT_TRUE(AnyHolds(numbers, piece)) << EscapeText(piece);
  }
  const auto bytes = GeneratedTexts("MultiByteToWideChar", 2000);
  for (std::u16string_view piece : {u"\xC0\x80", u"\xED\xA0\x80", u"\xF4\x90", u"\xFF", u"\xF5"}) {
    EXPECT_TRUE(AnyHolds(bytes, piece)) << EscapeText(piece);
  }
}

// The kind that explains a made-up difference, or "" for none.
std::string KindOf(std::string_view function, std::vector<std::string> inputs,
                   std::string_view windows, std::string_view ours) {
  const KnownDifference* known = ExplainDifference({function, inputs, windows, ours});
  return known == nullptr ? "" : std::string(known->kind);
}

TEST(KnownDifferencesTest, CaseMappingExplainsOnlyTheLettersWindowsDoesNotMap) {
  const std::string kind = "letters and pairs Windows does not case-map";
  EXPECT_EQ(KindOf("lstrcmpiW", {EscapeText(u"\u017Fun"), "SUN"}, "1", "0"), kind);
  EXPECT_EQ(KindOf("lstrcmpiW", {EscapeText(u"\U00010400"), EscapeText(u"\U00010428")}, "-1",
                   "0"),
            kind);
  EXPECT_EQ(KindOf("lstrcmpiW", {"Sun", "SUN"}, "1", "0"), "");
  EXPECT_EQ(KindOf("lstrcmpiW", {EscapeText(u"\u212A"), "k"}, "1", "0"), "");
  EXPECT_EQ(KindOf("StrStrIW", {EscapeText(u"ab\u017F"), "S"}, "-1", "2"), kind);
  EXPECT_EQ(KindOf("StrStrIW", {"abS", "s"}, "-1", "2"), "");
  EXPECT_EQ(KindOf("PathMatchSpecW", {EscapeText(u"\u212A.htm"), "k.htm"}, "0", "1"), kind);
  EXPECT_EQ(KindOf("PathMatchSpecW", {"K.htm", "k.htm"}, "0", "1"), "");
  EXPECT_EQ(KindOf("PathMatchSpecW", {"abc", "x;*.*"}, "0", "1"), "\"*.*\" inside a list");
  EXPECT_EQ(KindOf("PathMatchSpecW", {"abc", "x;*.*"}, "1", "0"), "");
}

TEST(KnownDifferencesTest, SortWeightExplainsOnlyWhatPassesOverWeightlessUnits) {
  const std::string kind = "units without sort weight";
  EXPECT_EQ(KindOf("lstrcmpiW", {EscapeText(u"x\u00AD"), "X"}, "0", "1"), kind);
  EXPECT_EQ(KindOf("lstrcmpiW", {"xy", "X"}, "0", "1"), "");
  EXPECT_EQ(KindOf("lstrcmpiW", {EscapeText(u"x\u00AD"), "y"}, "0", "-1"), "");
  EXPECT_EQ(KindOf("StrStrIW", {EscapeText(u"ab\uFFFF"), EscapeText(u"\u00AD")}, "2", "-1"), kind);
  EXPECT_EQ(KindOf("StrStrIW", {"abc", EscapeText(u"\u00AD")}, "1", "-1"), "");
}

TEST(KnownDifferencesTest, DatesDifferOnlyWhereWindowsRoundsOrTakesNan) {
  const std::string nan = EscapeDate(std::numeric_limits<double>::quiet_NaN());
  const std::string day0 = "1899-12-30 00:00:00.000 dow=6 doy=364 30/12/1899";
  EXPECT_EQ(KindOf("VarUdateFromDate", {nan}, day0, "fail"), "NaN");
  EXPECT_EQ(KindOf("VarUdateFromDate", {EscapeDate(0.0)}, day0, "fail"), "");
  // 0.4999996 s after midnight: within Windows' allowance, rounds up there.
  const std::string nearHalf = EscapeDate(0.4999996 / 86400);
  const std::string second0 = "1899-12-30 00:00:00.000 dow=6 doy=364 30/12/1899";
  const std::string second1 = "1899-12-30 00:00:01.000 dow=6 doy=364 30/12/1899";
  EXPECT_EQ(KindOf("VarUdateFromDate", {nearHalf}, second1, second0),
            "rounding allowance of 1e-11 day");
  EXPECT_EQ(KindOf("VarUdateFromDate", {EscapeDate(0.4 / 86400)}, second1, second0), "");
  EXPECT_EQ(KindOf("VarUdateFromDate", {EscapeDate(2.0)},
                   "1900-01-01 00:00:00.000 dow=0 doy=0 01/01/1900",
                   "1900-01-01 00:00:00.000 dow=1 doy=1 01/01/1900"),
            "weekday after rounding to midnight");
  EXPECT_EQ(KindOf("VarUdateFromDate", {EscapeDate(2.0)},
                   "1900-01-02 00:00:00.000 dow=0 doy=0 02/01/1900",
                   "1900-01-01 00:00:00.000 dow=1 doy=1 01/01/1900"),
            "");
  const std::string december1 = "2011-12-01 00:00:00.000 dow=4 doy=335 01/12/2011";
  EXPECT_EQ(KindOf("VarUdateFromDate", {EscapeDate(40877.99999999)},
                   "2012-01-01 00:00:00.000 dow=3 doy=334 01/01/2012", december1),
            "30 November rolled into January");
  EXPECT_EQ(KindOf("VarUdateFromDate", {EscapeDate(40877.99999999)},
                   "2013-01-01 00:00:00.000 dow=3 doy=334 01/01/2013", december1),
            "");
}

TEST(KnownDifferencesTest, PathsAndConversionsDifferOnlyInTheirOwnWay) {
  EXPECT_EQ(KindOf("PathIsRelativeW", {"/srv"}, "1", "0"), "root slash");
  EXPECT_EQ(KindOf("PathIsRelativeW", {"srv"}, "1", "0"), "");
  EXPECT_EQ(KindOf("PathIsRelativeW", {"C:x"}, "0", "1"), "drive or volume");
  EXPECT_EQ(KindOf("PathIsRelativeW", {"C:x"}, "1", "0"), "");
  const std::string replaced2 = EscapeText(u"\uFFFD\uFFFDa");
  const std::string replaced3 = EscapeText(u"\uFFFD\uFFFD\uFFFDa");
  EXPECT_EQ(KindOf("MultiByteToWideChar", {EscapeBytes("\xED\xA0\x80" "a")}, replaced2, replaced3),
            "count of U+FFFD");
  EXPECT_EQ(KindOf("MultiByteToWideChar", {EscapeBytes("\xED\xA0\x80" "a")},
                   EscapeText(u"\uFFFD\uFFFDb"), replaced3),
            "");
  const std::string swallowed = "end swallowed after a cut lead";
  EXPECT_EQ(KindOf("MultiByteToWideChar", {EscapeBytes("\xF0\x9F" "Z")}, EscapeText(u"\uFFFD"),
                   EscapeText(u"\uFFFDZ")),
            swallowed);
  EXPECT_EQ(KindOf("MultiByteToWideChar", {EscapeBytes("a\xF3\xC3\xA9")},
                   EscapeText(u"a\uFFFD"), EscapeText(u"a\uFFFD\u00E9")),
            swallowed);
  EXPECT_EQ(KindOf("MultiByteToWideChar", {EscapeBytes("Z\xF0\x9F")}, EscapeText(u"\uFFFD"),
                   EscapeText(u"Z\uFFFD")),
            "");
  EXPECT_EQ(KindOf("MultiByteToWideChar", {EscapeBytes("\xC3\xA9Z")}, EscapeText(u"\uFFFD"),
                   EscapeText(u"\u00E9Z")),
            "");
  EXPECT_EQ(KindOf("WideCharToMultiByte", {"a"}, "b", "a"), "");
}

// The lines the oracle would write if Windows answered as we do.
std::vector<std::string> LinesAnsweredByUs(uint32_t seed, uint32_t cases) {
  std::vector<std::string> lines = {"seed\t" + std::to_string(seed) + "\t" +
                                    std::to_string(cases)};
  const std::span<const FunctionInputs> functions = AllFunctionInputs();
  for (size_t index = 0; index < functions.size(); ++index) {
    CaseRandom random(FunctionSeed(seed, index));
    for (uint32_t n = 0; n < cases; ++n) {
      const CaseInputs inputs = functions[index].make(random);
      std::string line(functions[index].function);
      for (const std::string& field : inputs) line += "\t" + field;
      lines.push_back(line + "\t" + PosixAnswerFor(functions[index].function)->answer(inputs));
    }
  }
  lines.push_back("end\t" + std::to_string(lines.size() - 1));
  return lines;
}

// The comparer's exit code for `lines`; what it prints goes to `output`.
int Compare(const std::vector<std::string>& lines, std::string* output = nullptr) {
  const qm::testing::TempFolder folder;
  {
    std::ofstream file(folder / "answers.txt", std::ios::binary);
    for (const std::string& line : lines) file << line << '\n';
  }
  return qm::testing::RunCommand(qm::testing::ProgramCommand(QM_WIN32_COMPARE_PATH) + " " +
                                     qm::testing::Quoted(folder / "answers.txt") + " 2>&1",
                                 output);
}

TEST(CompareProgramTest, FailsOnAnUnknownDifferenceAndOnOutputNotFromTheGenerator) {
  constexpr uint32_t kCases = 20;
  const std::vector<std::string> agreed = LinesAnsweredByUs(5, kCases);
  std::string output;
  EXPECT_EQ(Compare(agreed, &output), 0) << output;
  EXPECT_NE(output.find("StrStrW vs FindText: 20 inputs, 0 differences"), std::string::npos);

  std::vector<std::string> differing = agreed;
  const size_t firstStrStrW = 1 + 2 * kCases;  // after the header, lstrcmpiW and StrStrIW
  ASSERT_TRUE(differing[firstStrStrW].starts_with("StrStrW\t"));
  differing[firstStrStrW] += "7";  // an offset that no stand-in gave
  EXPECT_EQ(Compare(differing, &output), 1);
  EXPECT_NE(output.find("UNEXPECTED: 1"), std::string::npos) << output;

  std::vector<std::string> cut(agreed.begin(), agreed.end() - 2);
  EXPECT_EQ(Compare(cut, &output), 2);
  std::vector<std::string> otherInput = agreed;
  otherInput[1].insert(otherInput[1].find('\t') + 1, "x");
  EXPECT_EQ(Compare(otherInput, &output), 2);
  EXPECT_NE(output.find("line 2: not the generated input"), std::string::npos) << output;
}

}  // namespace
}  // namespace qm::oracle
