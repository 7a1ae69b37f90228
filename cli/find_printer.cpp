#include "cli/find_printer.h"

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

}  // namespace

FindPrinter::FindPrinter(std::FILE* out, FindOutput form, QmFindMatcher* matcher)
    : output_(out), pending_(output_.pending()), form_(form), matcher_(matcher) {}

bool FindPrinter::Print(const FindResult& result) {
  if (output_.failed()) return false;
  if (form_ == FindOutput::kHuman) {
    PrintHuman(result);
  } else {
    PrintJson(result);
  }
  ++printed_;
  output_.FlushIfFull();
  return !output_.failed();
}

void FindPrinter::PrintHuman(const FindResult& result) {
  pending_.append(LocationBytes(result));
  if (result.tableNumber == kTableFile) {
    pending_.push_back(':');
    AppendNumber(result.recordId, &pending_);
    pending_.push_back(':');
    AppendNumber(static_cast<int64_t>(ColumnInLine(result, matcher_)), &pending_);
  } else {
    pending_.append(": ");
    AppendUtf8(result.label, &pending_);
  }
  pending_.append(": ");
  AppendUtf8(result.matchedText, &pending_);
  pending_.push_back('\n');
}

// The nine fields in the order and layout of the JSON library's dump: an
// array dumped with an indent of 2, or one object per line.
void FindPrinter::PrintJson(const FindResult& result) {
  const bool lines = form_ == FindOutput::kJsonLines;
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

bool FindPrinter::Finish() {
  switch (form_) {
    case FindOutput::kHuman:
      AppendNumber(static_cast<int64_t>(printed_), &pending_);
      pending_.append(printed_ == 1 ? " result\n" : " results\n");
      break;
    case FindOutput::kJsonArray:
      AppendArrayClose(printed_, &pending_);
      break;
    case FindOutput::kJsonLines:
      break;
  }
  return output_.Finish();
}

// A file's path prints as the file system's bytes, as qmpe files prints
// it, so that a name that is no UTF-8 can be given back to a shell.
const std::string& FindPrinter::LocationBytes(const FindResult& result) {
  const bool file = result.tableNumber == kTableFile;
  if (result.location != lastLocation_ || file != lastLocationIsFile_ || printed_ == 0) {
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
