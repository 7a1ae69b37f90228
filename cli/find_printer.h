// How qmpe find prints results as the library finds them: in the human
// form (path:line:column: text for a file hit, as grep and rg print it), as
// one JSON array written one object at a time, or as JSON lines; or, as
// grep users reach for, only the places that hold results (-l) or their
// counts (--count). Nothing is kept but the bytes waiting to be written and,
// for the counts, a count per place.
#ifndef QMPECORE_CLI_FIND_PRINTER_H_
#define QMPECORE_CLI_FIND_PRINTER_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/buffered_output.h"
#include "qmpecore/find_result.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {

enum class FindOutput { kHuman, kJsonArray, kJsonLines, kPlaces, kCounts };

struct FindPrintOptions {
  FindOutput form = FindOutput::kHuman;
  // At most this many results of each place (a grid, a file); 0: all.
  uint64_t maxPerPlace = 0;
  // The human forms with the place, the line number and each match in
  // color, as rg prints them.
  bool color = false;
};

class FindPrinter {
 public:
  // `matcher` is the find's, which the human form needs to place the column
  // within the line and the matches to color; it must outlive the printer.
  FindPrinter(std::FILE* out, const FindPrintOptions& options, QmFindMatcher* matcher);
  FindPrinter(const FindPrinter&) = delete;
  FindPrinter& operator=(const FindPrinter&) = delete;

  // False once a write has failed: the rest of the find is not wanted.
  bool Print(const FindResult& result);
  // Writes what closes the output (the array's bracket, the count line)
  // and flushes; false when any write failed.
  bool Finish();

  // The results taken (within --max-count), printed or counted.
  uint64_t printed() const { return printed_; }

 private:
  void PrintHuman(const FindResult& result);
  void AppendMatchedText(const std::u16string& text);
  void AppendColored(const char* color, std::string_view text);
  void PrintJson(const FindResult& result);
  // The location as printed; consecutive results of one file share it.
  const std::string& LocationBytes(const FindResult& result);
  BufferedOutput output_;
  std::string& pending_;  // output_'s
  FindPrintOptions options_;
  QmFindMatcher* matcher_;
  uint64_t printed_ = 0;
  uint64_t inPlace_ = 0;  // results taken of the current place
  std::vector<std::pair<std::string, uint64_t>> counts_;  // places in order
  std::u16string lastLocation_;
  bool lastLocationIsFile_ = false;
  std::string lastLocationBytes_;
};

// The library's handler: `context` is the FindPrinter.
int32_t PrintFoundResult(void* context, const FindResult* result);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_FIND_PRINTER_H_
