#include "cli/find_printer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "cli/cli_support.h"
#include "cli/json_text.h"
#include "qmpecore/config_records.h"

namespace qm::cli {
namespace {

// The column of a file hit within its line, counted from 1 as editors and
// other search tools count it (the result's column is the offset in the
// whole text): where the line first matches, by the find's own rule.
size_t ColumnInLine(const FindResult& result, QmFindMatcher* matcher) {
  const int32_t at = QmFirstMatch(matcher, result.matchedText.data(),
                                  static_cast<int32_t>(result.matchedText.size()), nullptr);
  return at < 0 ? 1 : static_cast<size_t>(at) + 1;
}

// Whether two texts are the same, compared as bytes: every result asks it
// of its place, and std::u16string's own comparison goes unit by unit.
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

// rg's colors: places magenta, line numbers green, matches bold red.
constexpr char kPlaceColor[] = "\033[35m";
constexpr char kLineColor[] = "\033[32m";
constexpr char kMatchColor[] = "\033[1;31m";
constexpr char kNoColor[] = "\033[0m";

}  // namespace

FindPrinter::FindPrinter(std::FILE* out, const FindPrintOptions& options, QmFindMatcher* matcher)
    : output_(out), pending_(output_.pending()), options_(options), matcher_(matcher) {}

bool FindPrinter::Print(const FindResult& result) {
  if (output_.failed()) return false;
  const bool newPlace = printed_ == 0 || !SameText(result.location, lastLocation_) ||
                        (result.tableNumber == kTableFile) != lastLocationIsFile_;
  if (newPlace) PrintHeldFileResults();
  const std::string& place = LocationBytes(result);
  inPlace_ = newPlace ? 1 : inPlace_ + 1;
  if (options_.maxPerPlace != 0 && inPlace_ > options_.maxPerPlace) return true;
  switch (options_.form) {
    case FindOutput::kHuman:
      if (WithContext() && result.tableNumber == kTableFile) {
        heldFileResults_.push_back(result);
      } else {
        PrintHuman(result);
      }
      break;
    case FindOutput::kJsonArray:
    case FindOutput::kJsonLines:
      PrintJson(result);
      break;
    case FindOutput::kPlaces:
      if (newPlace) {
        AppendColored(kPlaceColor, place);
        pending_.push_back('\n');
      }
      break;
    case FindOutput::kCounts:
      if (newPlace) counts_.emplace_back(place, 0);
      ++counts_.back().second;
      break;
  }
  ++printed_;
  output_.FlushIfFull();
  return !output_.failed();
}

void FindPrinter::AppendColored(const char* color, std::string_view text) {
  if (options_.color) pending_.append(color);
  pending_.append(text);
  if (options_.color) pending_.append(kNoColor);
}

// Each match in the text, as the find's matcher finds them one after the
// other in what follows the one before.
void FindPrinter::AppendMatchedText(const std::u16string& text) {
  if (!options_.color) {
    AppendUtf8(text, &pending_);
    return;
  }
  std::u16string_view rest = text;
  while (!rest.empty()) {
    int32_t length = 0;
    const int32_t at =
        QmFirstMatch(matcher_, rest.data(), static_cast<int32_t>(rest.size()), &length);
    if (at < 0 || length <= 0) break;
    AppendUtf8(rest.substr(0, static_cast<size_t>(at)), &pending_);
    std::string match;
    AppendUtf8(rest.substr(static_cast<size_t>(at), static_cast<size_t>(length)), &match);
    AppendColored(kMatchColor, match);
    rest.remove_prefix(static_cast<size_t>(at + length));
  }
  AppendUtf8(rest, &pending_);
}

void FindPrinter::PrintHuman(const FindResult& result) {
  AppendColored(kPlaceColor, LocationBytes(result));
  if (result.tableNumber == kTableFile) {
    pending_.push_back(':');
    std::string line;
    AppendNumber(result.recordId, &line);
    AppendColored(kLineColor, line);
    pending_.push_back(':');
    AppendNumber(static_cast<int64_t>(ColumnInLine(result, matcher_)), &pending_);
  } else {
    pending_.append(": ");
    AppendUtf8(result.label, &pending_);
  }
  pending_.append(": ");
  AppendMatchedText(result.matchedText);
  pending_.push_back('\n');
}

// The nine fields in the order and layout of the JSON library's dump: an
// array dumped with an indent of 2, or one object per line.
void FindPrinter::PrintJson(const FindResult& result) {
  const bool lines = options_.form == FindOutput::kJsonLines;
  if (lines) {
    pending_.push_back('{');
  } else {
    AppendArrayElementOpen(printed_, &pending_);
  }
  JsonFields fields(&pending_, lines ? 0 : 4);
  fields.Number("tableNumber", result.tableNumber);
  fields.String("location", result.location);
  fields.Number("recordId", result.recordId);
  fields.Number("column", result.column);
  fields.String("columnName", result.columnName);
  fields.String("label", result.label);
  fields.String("matchedText", result.matchedText);
  fields.String("searchText", result.searchText);
  fields.Number("parentId", result.parentId);
  if (lines) {
    pending_.append("}\n");
  } else {
    AppendArrayElementClose(&pending_);
  }
}

// The spans of lines around the held results, merged where they touch,
// read in one pass over the file. A result whose line the file no longer
// holds (it changed since the find) is still printed, in its place.
void FindPrinter::PrintHeldFileResults() {
  if (heldFileResults_.empty()) return;
  std::vector<int32_t> spans;  // first and last line of each
  for (const FindResult& held : heldFileResults_) {
    const int64_t line = held.recordId;
    const auto first = static_cast<int32_t>(std::max<int64_t>(1, line - options_.linesBefore));
    const auto last = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, line + options_.linesAfter));
    if (!spans.empty() && first <= static_cast<int64_t>(spans.back()) + 1) {
      spans.back() = std::max(spans.back(), last);
    } else {
      spans.push_back(first);
      spans.push_back(last);
    }
  }
  nextHeld_ = 0;
  lastLineOfFile_ = 0;
  QmReadFileLines(heldFileResults_.front().label.c_str(), spans.data(),
                  static_cast<int32_t>(spans.size() / 2), &TakeContextLine, this);
  StartLine(INT32_MAX);
  heldFileResults_.clear();
}

void FindPrinter::StartLine(int32_t number) {
  while (nextHeld_ < heldFileResults_.size() &&
         heldFileResults_[nextHeld_].recordId < number) {
    StartLine(heldFileResults_[nextHeld_].recordId);
    PrintHuman(heldFileResults_[nextHeld_++]);
  }
  if (number == INT32_MAX || number <= lastLineOfFile_) return;
  if (lastLineOfFile_ == 0 ? anyGroupPrinted_ : number > lastLineOfFile_ + 1) {
    pending_.append("--\n");
  }
  lastLineOfFile_ = number;
  anyGroupPrinted_ = true;
}

void FindPrinter::PrintContextLine(int32_t number, std::u16string_view text) {
  StartLine(number);
  bool isResult = false;
  while (nextHeld_ < heldFileResults_.size() &&
         heldFileResults_[nextHeld_].recordId == number) {
    PrintHuman(heldFileResults_[nextHeld_++]);
    isResult = true;
  }
  if (!isResult) {
    AppendColored(kPlaceColor, LocationBytes(heldFileResults_.front()));
    pending_.push_back('-');
    std::string line;
    AppendNumber(number, &line);
    AppendColored(kLineColor, line);
    pending_.push_back('-');
    AppendUtf8(text, &pending_);
    pending_.push_back('\n');
  }
  output_.FlushIfFull();
}

int32_t QM_CALL FindPrinter::TakeContextLine(void* context, int32_t number, const char16_t* text,
                                             int32_t length) {
  auto* printer = static_cast<FindPrinter*>(context);
  printer->PrintContextLine(number, {text, static_cast<size_t>(length)});
  return printer->output_.failed() ? 0 : 1;
}

bool FindPrinter::Finish() {
  PrintHeldFileResults();
  switch (options_.form) {
    case FindOutput::kCounts:
      for (const auto& [place, count] : counts_) {
        AppendColored(kPlaceColor, place);
        pending_.push_back(':');
        AppendNumber(static_cast<int64_t>(count), &pending_);
        pending_.push_back('\n');
      }
      [[fallthrough]];
    case FindOutput::kHuman:
      AppendNumber(static_cast<int64_t>(printed_), &pending_);
      pending_.append(printed_ == 1 ? " result\n" : " results\n");
      break;
    case FindOutput::kJsonArray:
      AppendArrayClose(printed_, &pending_);
      break;
    case FindOutput::kJsonLines:
    case FindOutput::kPlaces:
      break;
  }
  return output_.Finish();
}

// A file's path prints as the file system's bytes, as qmpe files prints
// it, so that a name that is no UTF-8 can be given back to a shell.
const std::string& FindPrinter::LocationBytes(const FindResult& result) {
  const bool file = result.tableNumber == kTableFile;
  if (printed_ == 0 || file != lastLocationIsFile_ || !SameText(result.location, lastLocation_)) {
    lastLocation_ = result.location;
    lastLocationIsFile_ = file;
    lastLocationBytes_.clear();
    if (file) {
      lastLocationBytes_ = PathBytes(result.location);
    } else {
      AppendUtf8(result.location, &lastLocationBytes_);
    }
  }
  return lastLocationBytes_;
}

int32_t PrintFoundResult(void* context, const FindResult* result) {
  return static_cast<FindPrinter*>(context)->Print(*result) ? 1 : 0;
}

}  // namespace qm::cli
