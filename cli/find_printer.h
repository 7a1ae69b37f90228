// How qmpe find prints results as the library finds them: in the human
// form (path:line:column: text for a file hit, as grep and rg print it), as
// one JSON array written one object at a time, or as JSON lines; or, as
// grep users reach for, only the places that hold results (-l) or their
// counts (--count). Nothing is kept but the bytes waiting to be written,
// for the counts a count per place, and with context lines the results of
// the current file, whose lines are read once when the file's results end.
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
  // Lines of a file shown before and after each of its results in the
  // human form, as grep's -B and -A show them, with "--" between groups
  // (also when both are 0, as grep separates then).
  bool contextLines = false;
  int32_t linesBefore = 0;
  int32_t linesAfter = 0;
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
  bool WithContext() const {
    return options_.form == FindOutput::kHuman && options_.contextLines;
  }
  // Prints the held results of a file with the lines around them.
  void PrintHeldFileResults();
  // Prints what comes before line `number` of the held file: "--" where a
  // group of lines begins; the held results of earlier lines.
  void StartLine(int32_t number);
  void PrintContextLine(int32_t number, std::u16string_view text);
  static int32_t QM_CALL TakeContextLine(void* context, int32_t number, const char16_t* text,
                                         int32_t length);
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
  std::vector<FindResult> heldFileResults_;  // of one file, in line order
  size_t nextHeld_ = 0;           // the first held result not yet printed
  int32_t lastLineOfFile_ = 0;    // the last line printed of the held file
  bool anyGroupPrinted_ = false;  // of any file: the next group needs "--"
};

// The library's handler: `context` is the FindPrinter.
int32_t PrintFoundResult(void* context, const FindResult* result);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_FIND_PRINTER_H_
