#include "find/files/file_search.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/path_limits.h"
#include "platform/text_case.h"

namespace qm {
namespace {

constexpr int32_t kFileTableNumber = 24;

bool StartsWithFolder(std::u16string_view path, std::u16string_view folder) {
  if (path.size() < folder.size()) return false;
  const std::u16string_view head = path.substr(0, folder.size());
  if constexpr (platform::kPathsFoldCase) return platform::CompareTextIgnoreCase(head, folder) == 0;
  return head == folder;
}

std::u16string_view Location(std::u16string_view fullPath, std::u16string_view projectFolder) {
  return StartsWithFolder(fullPath, projectFolder) ? fullPath.substr(projectFolder.size())
                                                   : fullPath;
}

int32_t Saturated(uint64_t value) {
  return static_cast<int32_t>(std::min<uint64_t>(value, INT32_MAX));
}

// Hands over one result per reported line, with the file's common fields.
class LineResults final : public LineSink {
 public:
  LineResults(FindResult* result, ResultSink* sink) : result_(result), sink_(sink) {}
  void OnLine(uint64_t lineNumber, uint64_t column, std::u16string_view line) override {
    result_->recordId = Saturated(lineNumber);
    result_->column = Saturated(column);
    result_->matchedText.assign(line);
    sink_->Take(*result_);
  }

 private:
  FindResult* result_;
  ResultSink* sink_;
};

}  // namespace

FileSearcher::FileSearcher(const SearchNeedle& needle, size_t sliceBytes)
    : needle_(needle), matcher_(needle_, sliceBytes) {
  result_.tableNumber = kFileTableNumber;
  result_.searchText = needle.text();
}

void FileSearcher::SearchFile(std::u16string_view fullPath, std::u16string_view projectFolder,
                              ResultSink& sink) {
  try {
    if (!platform::ReadFileText(fullPath, &buffer_).ok()) return;
  } catch (const std::bad_alloc&) {
    return;  // a file too large to hold is skipped like one that cannot be read
  }
  SearchText(buffer_.bytes(), fullPath, projectFolder, sink);
}

void FileSearcher::SearchBytes(std::string_view bytes, std::u16string_view fullPath,
                               std::u16string_view projectFolder, ResultSink& sink) {
  SearchText(bytes.substr(0, bytes.find('\0')), fullPath, projectFolder, sink);
}

void FileSearcher::SearchText(std::string_view text, std::u16string_view fullPath,
                              std::u16string_view projectFolder, ResultSink& sink) {
  const std::string_view bytes = converterReading_.Of(text);
  result_.location.assign(Location(fullPath, projectFolder));
  result_.label.assign(fullPath);
  LineResults lines(&result_, &sink);
  matcher_.Search(bytes, &lines);
}

}  // namespace qm
