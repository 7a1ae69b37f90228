// Words that the sample configuration and the sample text files share, so
// that pages and scripts name the devices and tags the configuration holds.
// All texts are UTF-8.
#ifndef QMPECORE_SAMPLE_SAMPLE_WORDS_H_
#define QMPECORE_SAMPLE_SAMPLE_WORDS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qm::sample {

// The two find needles of the sample. The rare one is planted on a known
// number of lines of the searched text files and nowhere else; the common
// one occurs naturally on many lines of every kind of file.
inline constexpr std::string_view kRareNeedle = "OverflowAlarmResetLatch";
inline constexpr std::string_view kCommonNeedle = "value";

// One kind of field device, and the letters that start its tag names.
struct DeviceKind {
  std::string_view name;
  std::string_view code;
};

// One signal of a device: the end of a tag name, the tag's type code (some
// are codes the grids do not list) and a unit for texts.
struct Signal {
  std::string_view name;
  uint16_t tagType;
  std::string_view unit;
};

std::span<const DeviceKind> DeviceKinds();
std::span<const Signal> Signals();
// Plant areas, as words ("Filtration") and as folder names ("filtration").
std::span<const std::string_view> AreaNames();
std::string AreaFolder(uint32_t area);
// Names in other scripts: umlauts, the Kelvin sign, Greek, CJK, emoji and
// other astral characters, the long s.
std::span<const std::string_view> ForeignNames();
// Texts that a find scope or a format would misread if taken as such.
std::span<const std::string_view> TrickyNames();

// The tag prefix of device `index` ("P101"), the same in both halves of the
// sample.
std::string DeviceCode(uint32_t index);
const DeviceKind& DeviceKindOf(uint32_t index);

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_WORDS_H_
