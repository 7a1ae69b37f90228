#include "find/files/file_match_plan.h"

#include <array>
#include <string>

#include "find/files/utf8_decode.h"
#include "platform/text_case.h"
#include "platform/unicode_units.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

constexpr char16_t kAsciiEnd = 0x80;
constexpr char kCaseBit = 0x20;

bool HoldsBreakOrZero(std::u16string_view needle) {
  return needle.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

// True when the needle is whole code points (no unpaired surrogate) and
// holds no U+FFFD, which the decoded text may have from ill-formed bytes.
bool HasExactUtf8Form(std::u16string_view needle) {
  for (size_t i = 0; i < needle.size(); ++i) {
    const char16_t unit = needle[i];
    if (unit == kReplacementCharacter) return false;
    if (!platform::IsSurrogate(unit)) continue;
    if (!platform::IsLeadSurrogate(unit) || i + 1 == needle.size() || !platform::IsTrailSurrogate(needle[i + 1])) {
      return false;
    }
    ++i;
  }
  return true;
}

bool IsAscii(std::u16string_view text) {
  for (char16_t unit : text) {
    if (unit >= kAsciiEnd) return false;
  }
  return true;
}

MaskedPattern<char> ExactBytes(std::u16string_view text) {
  std::string utf8;
  TextToBytes(&utf8, text, kCodePageUtf8, 1);
  std::string orBits(utf8.size(), '\0');
  return MaskedPattern<char>(std::move(utf8), std::move(orBits));
}

// `folded` is ASCII; its letters are lower case and take either case.
MaskedPattern<char> CaseBlindBytes(std::u16string_view folded) {
  std::string bytes(folded.begin(), folded.end());
  std::string orBits(bytes.size(), '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] >= 'a' && bytes[i] <= 'z') orBits[i] = kCaseBit;
  }
  return MaskedPattern<char>(std::move(bytes), std::move(orBits));
}

std::vector<MaskedPattern<char>> ForeignVariants(std::u16string_view folded) {
  std::array<bool, kAsciiEnd> seen{};
  std::vector<MaskedPattern<char>> variants;
  for (char16_t unit : folded) {
    if (seen[unit]) continue;
    seen[unit] = true;
    // Other ASCII units that fold to it have their case bit free.
    for (char16_t foreign : platform::UnitsFoldingTo(unit)) {
      if (foreign >= kAsciiEnd) variants.push_back(ExactBytes(std::u16string_view(&foreign, 1)));
    }
  }
  return variants;
}

}  // namespace

FileMatchPlan PlanFileMatch(std::u16string_view needle, bool caseSensitive) {
  FileMatchPlan plan;
  if (needle.empty() || HoldsBreakOrZero(needle)) return plan;
  plan.fold = !caseSensitive;
  std::u16string compared;
  if (plan.fold) {
    platform::AppendFolded(needle, &compared);
  } else {
    compared = needle;
  }
  plan.units = MaskedPattern<char16_t>(compared, std::u16string(compared.size(), u'\0'));
  plan.way = FileMatchPlan::Way::kUnits;
  if (caseSensitive && HasExactUtf8Form(needle)) {
    plan.way = FileMatchPlan::Way::kBytes;
    plan.bytes = ExactBytes(needle);
  } else if (!caseSensitive && IsAscii(compared)) {
    plan.way = FileMatchPlan::Way::kBytes;
    plan.bytes = CaseBlindBytes(compared);
    plan.foreignVariants = ForeignVariants(compared);
  }
  return plan;
}

}  // namespace qm
