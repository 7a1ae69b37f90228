// The find skips making a variant's text when the needle holds units that
// the text of its type never shows. That shortcut must agree with
// VariantToText: no piece of a value's text may be said not to match it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "find/tables/field_text.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// Every type code of the layout, some it does not know, and for each the
// integers and reals at the edges of what the texts show.
std::vector<Variant> EdgeVariants() {
  const int64_t integers[] = {0, 1, -1, 127, -128, 4294967295, INT64_MIN, INT64_MAX};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const double reals[] = {0.0, -0.0, 0.1, -1.5, 1e20, -1e-300, 4.9e-324, 1e300, FLT_MAX,
                          -2.0 * FLT_MAX, nan, -nan, infinity, -infinity,
                          // dates: the first and last accepted, and past each end
                          40969.75, -657434.0, 2958465.999999999, -657435.0, 2958466.0};
  std::vector<uint16_t> types;
  for (uint16_t type = 0; type <= 21; ++type) types.push_back(type);
  for (uint16_t unknown : {22, 64, 0x2003, 0xFFFF}) types.push_back(unknown);
  std::vector<Variant> variants;
  for (uint16_t type : types) {
    for (int64_t integer : integers) variants.push_back({type, integer, 0.0, u""});
    for (double real : reals) variants.push_back({type, 0, real, u""});
    variants.push_back({type, 0, 0.0, u"Tank 7"});
  }
  return variants;
}

std::u16string AsciiCase(std::u16string text, bool upper) {
  for (char16_t& unit : text) {
    if (upper && unit >= u'a' && unit <= u'z') unit -= 32;
    if (!upper && unit >= u'A' && unit <= u'Z') unit += 32;
  }
  return text;
}

bool ShortcutAllows(const Variant& variant, std::u16string_view needleText, int32_t matchCase) {
  const SearchNeedle needle(needleText, matchCase);
  const NameLookups lookups;
  FieldTexts texts(needle, lookups);
  const FieldInfo info{0, u"Value", u"", TextForm::kVariant};
  FieldValue value;
  value.variant = &variant;
  std::u16string_view text;
  return texts.TextOf(info, value, EnumMatches(), &text);
}

TEST(VariantTextShortcutTest, NoPieceOfAVariantsTextIsRuledOut) {
  for (const Variant& variant : EdgeVariants()) {
    std::u16string text;
    VariantToText(&text, &variant, 0);
    for (size_t length = 1; length <= 2; ++length) {
      for (size_t at = 0; at + length <= text.size(); ++at) {
        const std::u16string piece = text.substr(at, length);
        const std::u16string needles[] = {piece, AsciiCase(piece, true), AsciiCase(piece, false)};
        EXPECT_TRUE(ShortcutAllows(variant, piece, 1))
            << "type " << variant.type << " piece of " << std::string(text.begin(), text.end());
        for (const std::u16string& needle : needles) {
          EXPECT_TRUE(ShortcutAllows(variant, needle, 0))
              << "type " << variant.type << " case-blind piece of "
              << std::string(text.begin(), text.end());
        }
      }
    }
  }
}

}  // namespace
}  // namespace qm
