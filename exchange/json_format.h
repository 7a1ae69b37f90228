// Tag list files as JSON: an array of objects, one object a line, or JSON
// lines (one object a line, nothing around them). Keys are the column
// titles; ids and numbers are JSON numbers, every other cell a text.
// Read with nlohmann-json's event parser, so that no document is built.
#ifndef QMPECORE_EXCHANGE_JSON_FORMAT_H_
#define QMPECORE_EXCHANGE_JSON_FORMAT_H_

#include <vector>

#include "exchange/table_file.h"

namespace qm::exchange {

class JsonWriter : public TableFileWriter {
 public:
  JsonWriter(ByteSink sink, bool lines) : TableFileWriter(std::move(sink)), lines_(lines) {}
  void Header(std::span<const std::string> titles, std::span<const JsonKind> kinds) override;
  void Row(std::span<const std::string> cells) override;
  bool Finish() override;

 private:
  bool lines_;
  bool first_ = true;
  std::vector<std::string> keys_;  // each title as a JSON text with its colon
  std::vector<JsonKind> kinds_;
};

// An array of objects, or objects one a line (`lines`): each key is a
// column (handed to sink.Column when first met), each object a row on the
// line of its "{". Numbers keep their text; true and false are texts,
// null an empty cell. Stops at the first fault of the format.
void ReadJson(std::string_view bytes, bool lines, TableFileSink* sink);

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_JSON_FORMAT_H_
