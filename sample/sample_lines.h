// Lines of code and markup for the sample text files: HTML pages, scripts,
// style sheets, SVG graphics, batch files and plain-text notes. Lines come
// from templates of each language whose placeholders are filled with the
// plant's device codes, tag names, areas, units and names in other
// scripts. No line holds a line break; the caller adds those.
#ifndef QMPECORE_SAMPLE_SAMPLE_LINES_H_
#define QMPECORE_SAMPLE_SAMPLE_LINES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "sample/sample_random.h"

namespace qm::sample {

enum class Language { kHtml, kScript, kStyle, kGraphic, kBatch, kText };

class SampleLines {
 public:
  // Device codes in the lines are those of devices 0 to deviceCount - 1.
  explicit SampleLines(uint32_t deviceCount) : deviceCount_(deviceCount) {}

  // The fixed lines that open and close a file of the language.
  size_t HeaderLines(Language language) const;
  size_t FooterLines(Language language) const;
  void AppendHeader(Language language, size_t index, SampleRandom& rng, std::string* out) const;
  void AppendFooter(Language language, size_t index, SampleRandom& rng, std::string* out) const;

  // Appends one body line of the language.
  void AppendLine(Language language, SampleRandom& rng, std::string* out) const;
  // Appends a body line that holds `word` once (the same letters, case kept).
  void AppendLineWith(Language language, std::string_view word, SampleRandom& rng,
                      std::string* out) const;

 private:
  void Expand(std::string_view pattern, std::string_view word, SampleRandom& rng,
              std::string* out) const;
  void AppendTag(SampleRandom& rng, std::string* out) const;

  uint32_t deviceCount_;
};

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_LINES_H_
