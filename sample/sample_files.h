// The folder half of `qmpe sample`: pages, scripts, style sheets, graphics,
// batch and text files in sub-folders, plus files of types the find does
// not search. A fixed set of files carries the awkward cases (byte-order
// mark, zero byte, invalid UTF-8, UTF-16, every kind of line break, empty
// and unbroken files, names with spaces, upper case and non-ASCII letters);
// bulk files of realistic code and markup make up the volume.
#ifndef QMPECORE_SAMPLE_SAMPLE_FILES_H_
#define QMPECORE_SAMPLE_SAMPLE_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sample/sample_lines.h"

namespace qm::sample {

struct SampleFilesSize {
  uint32_t bulkFiles;        // files of the searched types beyond the fixed set
  uint64_t bulkBytes;        // their total size, at least
  uint32_t rareNeedleLines;  // bulk lines that hold the rare needle, one per file
  uint32_t deviceCount;      // devices whose tags the texts name
};

inline constexpr SampleFilesSize kSmallFilesSize = {14, 200'000, 3, 24};
inline constexpr SampleFilesSize kLargeFilesSize = {2000, 160'000'000, 9, 2000};

class SampleFolder {
 public:
  // Plans every file (names, kinds and sizes); cheap, writes nothing.
  SampleFolder(const SampleFilesSize& size, uint64_t seed);

  // The relative names (UTF-8, "/"-separated) of every file, in the order
  // Write writes them.
  std::vector<std::string> Names() const;
  // Lines of searched files that hold the rare needle (kRareNeedle). The
  // fixed set adds more occurrences only in files the find does not read
  // (a log file, and after a zero byte).
  uint32_t RareNeedleLines() const { return rareNeedleLines_; }

  // Writes every file under `root` (an existing folder, UTF-8), making
  // sub-folders as needed and replacing files of the same names. Returns
  // the number of bytes written. Throws SampleError naming the file that
  // could not be written.
  uint64_t Write(const std::string& root) const;

 private:
  // How a file's bytes are made: lines of a language (bare, after a
  // byte-order mark, or followed by a zero byte and more text), or one of
  // the fixed contents.
  enum class Content {
    kLines,
    kByteOrderMark,
    kZeroByte,
    kInvalidUtf8,
    kUtf16,
    kEmpty,
    kUnbroken,
    kLongLine,
    kAstral,
    kKelvin,
    kPng,
    kJson,
    kMarkdown,
    kLog,
  };
  enum class Breaks { kLf, kCrLf, kCr, kCrCrLf, kMixed };

  struct FilePlan {
    std::string name;
    Content content;
    Language language;
    Breaks breaks;
    uint64_t bytes;            // body size to reach, for lines
    bool withoutCommonNeedle;  // no line may hold kCommonNeedle
    int64_t needleLine;        // body line holding kRareNeedle, or -1
  };

  void PlanFixedFiles();
  void PlanBulkFiles(const SampleFilesSize& size);
  std::string Make(const FilePlan& plan, size_t index) const;
  void AppendLines(const FilePlan& plan, SampleRandom& rng, std::string* out) const;
  static std::string_view BreakText(Breaks breaks, SampleRandom& rng);

  uint64_t seed_;
  SampleLines lines_;
  uint32_t deviceCount_;
  std::vector<FilePlan> plans_;
  uint32_t rareNeedleLines_ = 0;
};

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_FILES_H_
