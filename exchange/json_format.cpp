#include "exchange/json_format.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <unordered_map>

#include <nlohmann/json.hpp>

namespace qm::exchange {
namespace {

void AppendJsonText(std::string_view text, std::string* out) {
  out->push_back('"');
  for (char c : text) {
    switch (c) {
      case '"': out->append("\\\""); break;
      case '\\': out->append("\\\\"); break;
      case '\n': out->append("\\n"); break;
      case '\r': out->append("\\r"); break;
      case '\t': out->append("\\t"); break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          out->append("\\u00");
          out->push_back(kHex[(c >> 4) & 0xF]);
          out->push_back(kHex[c & 0xF]);
        } else {
          out->push_back(c);
        }
    }
  }
  out->push_back('"');
}

// A real's cell is a JSON number only when JSON can hold it.
bool IsJsonNumber(std::string_view cell) {
  return !cell.empty() && cell != "nan" && cell != "inf" && cell != "-inf";
}

// Counts the line breaks that the parser reads past.
class LineCountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  LineCountingIterator(const char* at, int64_t* line) : at_(at), line_(line) {}
  reference operator*() const { return *at_; }
  LineCountingIterator& operator++() {
    if (*at_ == '\n') ++*line_;
    ++at_;
    return *this;
  }
  friend bool operator==(const LineCountingIterator& a, const LineCountingIterator& b) {
    return a.at_ == b.at_;
  }
  friend bool operator!=(const LineCountingIterator& a, const LineCountingIterator& b) {
    return a.at_ != b.at_;
  }

 private:
  const char* at_;
  int64_t* line_;
};

using Json = nlohmann::json;

// Turns the parser's events into rows. `line` is the line the parser has
// read up to, which is the line of the event's last character.
class JsonRows {
 public:
  JsonRows(TableFileSink* sink, bool lines, int64_t* line)
      : sink_(*sink), topIsObject_(lines), line_(*line) {}

  bool null() { return Cell(""); }
  bool boolean(bool value) { return Cell(value ? "true" : "false"); }
  bool number_integer(Json::number_integer_t value) { return Integer(value); }
  bool number_unsigned(Json::number_unsigned_t value) { return Integer(value); }
  bool number_float(Json::number_float_t, const Json::string_t& text) { return Cell(text); }
  bool string(Json::string_t& text) { return Cell(text); }
  bool binary(Json::binary_t&) { return Wrong(); }
  bool start_object(std::size_t) {
    if (depth_ != (topIsObject_ ? 0 : 1)) return Wrong();
    ++depth_;
    rowLine_ = line_;
    texts_.clear();
    cells_.clear();
    return true;
  }
  bool key(Json::string_t& title) {
    auto [at, added] = columns_.emplace(title, static_cast<uint32_t>(columns_.size()));
    position_ = static_cast<uint32_t>(cells_.size() + 1);
    if (added) sink_.Column(at->second, title, line_, position_);
    column_ = at->second;
    return true;
  }
  bool end_object() {
    --depth_;
    for (size_t i = 0; i < cells_.size(); ++i) cells_[i].text = texts_[i];
    sink_.Row(rowLine_, cells_);
    return true;
  }
  bool start_array(std::size_t) {
    if (depth_ != 0 || topIsObject_) return Wrong();
    ++depth_;
    return true;
  }
  bool end_array() {
    --depth_;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
    std::string message = error.what();
    // nlohmann's own prefix ("[json.exception.parse_error.101] ") helps nobody here.
    if (const size_t end = message.find("] "); end != std::string::npos) message.erase(0, end + 2);
    sink_.Fault(line_, 0, "the JSON cannot be read here: " + message);
    return false;
  }

  bool failed() const { return failed_; }

 private:
  bool Wrong() {
    sink_.Fault(line_, 0,
                topIsObject_ ? "each line must hold one object whose values are texts or numbers"
                             : "the file must be one array of objects whose values are texts or "
                               "numbers");
    failed_ = true;
    return false;
  }
  template <class Number>
  bool Integer(Number value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return Cell(std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
  }
  bool Cell(std::string_view text) {
    if (depth_ != (topIsObject_ ? 1 : 2)) return Wrong();
    texts_.emplace_back(text);
    cells_.push_back({column_, position_, {}});
    return true;
  }

  TableFileSink& sink_;
  bool topIsObject_;
  const int64_t& line_;
  int depth_ = 0;
  int64_t rowLine_ = 0;
  uint32_t column_ = 0;
  uint32_t position_ = 0;
  bool failed_ = false;
  std::unordered_map<std::string, uint32_t> columns_;
  std::vector<std::string> texts_;
  std::vector<ReadCell> cells_;
};

}  // namespace

void JsonWriter::Header(std::span<const std::string> titles, std::span<const JsonKind> kinds) {
  for (const std::string& title : titles) {
    keys_.emplace_back();
    AppendJsonText(title, &keys_.back());
    keys_.back().push_back(':');
  }
  kinds_.assign(kinds.begin(), kinds.end());
  if (!lines_) pending().append("[");
}

void JsonWriter::Row(std::span<const std::string> cells) {
  std::string& out = pending();
  if (!lines_) out.append(first_ ? "\n" : ",\n");
  first_ = false;
  out.push_back('{');
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) out.push_back(',');
    out.append(keys_[i]);
    const bool number = kinds_[i] == JsonKind::kInteger ||
                        (kinds_[i] == JsonKind::kReal && IsJsonNumber(cells[i]));
    if (number) {
      out.append(cells[i]);
      // A real stays one in JSON: "-0" would read back as the integer 0.
      if (kinds_[i] == JsonKind::kReal && cells[i].find_first_of(".e") == std::string::npos) {
        out.append(".0");
      }
    } else {
      AppendJsonText(cells[i], &out);
    }
  }
  out.push_back('}');
  if (lines_) out.push_back('\n');
  FlushIfFull();
}

bool JsonWriter::Finish() {
  if (!lines_) pending().append(first_ ? "]\n" : "\n]\n");
  return Flush();
}

void ReadJson(std::string_view bytes, bool lines, TableFileSink* sink) {
  bytes = WithoutByteOrderMark(bytes);
  int64_t line = 1;
  JsonRows rows(sink, lines, &line);
  if (!lines) {
    Json::sax_parse(LineCountingIterator(bytes.data(), &line),
                    LineCountingIterator(bytes.data() + bytes.size(), &line), &rows);
    return;
  }
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const std::string_view text = bytes.substr(0, end);
    if (text.find_first_not_of(" \t\r") != std::string_view::npos) {
      if (!Json::sax_parse(LineCountingIterator(text.data(), &line),
                           LineCountingIterator(text.data() + text.size(), &line), &rows)) {
        return;
      }
    }
    if (end == std::string_view::npos) return;
    bytes.remove_prefix(end + 1);
    ++line;
  }
}

}  // namespace qm::exchange
