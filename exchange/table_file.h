// A tag list file as rows of cells, whatever its format: what the writers
// of each format take and what their readers hand on. Cells are UTF-8.
#ifndef QMPECORE_EXCHANGE_TABLE_FILE_H_
#define QMPECORE_EXCHANGE_TABLE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qm::exchange {

enum class FileFormat { kCsv, kJson, kJsonLines };

// Takes the bytes of a file being written, piece by piece; false stops
// the writing.
using ByteSink = std::function<bool(std::string_view bytes)>;

// How a JSON file gives a column's values: as texts or as numbers.
enum class JsonKind : uint8_t { kText, kInteger, kReal };

// Collects the bytes of a file and hands them to its sink in large pieces.
class TableFileWriter {
 public:
  static constexpr size_t kPieceBytes = 1 << 16;

  TableFileWriter(ByteSink sink) : sink_(std::move(sink)) {}
  virtual ~TableFileWriter() = default;

  // Once, before any row: the titles, and how JSON gives each column.
  virtual void Header(std::span<const std::string> titles, std::span<const JsonKind> kinds) = 0;
  virtual void Row(std::span<const std::string> cells) = 0;
  // After the last row; false when the sink stopped the file (at any point).
  virtual bool Finish() = 0;

 protected:
  std::string& pending() { return pending_; }
  void FlushIfFull() {
    if (pending_.size() >= kPieceBytes) Flush();
  }
  bool Flush() {
    if (ok_ && !pending_.empty()) ok_ = sink_(pending_);
    pending_.clear();
    return ok_;
  }

 private:
  ByteSink sink_;
  std::string pending_;
  bool ok_ = true;
};

// One cell of a row that a reader hands on: the column it belongs to
// (an index into the titles the reader has handed on), where it stands in
// its row for messages (from 1), and its text.
struct ReadCell {
  uint32_t column;
  uint32_t position;
  std::string_view text;
};

// What a reader finds in a file, in file order. Lines count from 1.
class TableFileSink {
 public:
  virtual ~TableFileSink() = default;
  // Column `column` is titled `title`, at `position` of the line `line`.
  virtual void Column(uint32_t column, std::string_view title, int64_t line,
                      uint32_t position) = 0;
  // A row that begins on `line`; its cells are valid only during the call.
  virtual void Row(int64_t line, std::span<const ReadCell> cells) = 0;
  // The file cannot be read on from here: a fault of its format.
  virtual void Fault(int64_t line, uint32_t position, std::string message) = 0;
};

// Where each format's readers start: the format that the bytes begin
// with (a JSON array or object after blanks and a byte-order mark, else
// CSV).
FileFormat FormatOfBytes(std::string_view bytes);

// The bytes without a UTF-8 byte-order mark.
std::string_view WithoutByteOrderMark(std::string_view bytes);

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_TABLE_FILE_H_
