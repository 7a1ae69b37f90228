#include "exchange/table_file.h"

namespace qm::exchange {

std::string_view WithoutByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes;
}

FileFormat FormatOfBytes(std::string_view bytes) {
  bytes = WithoutByteOrderMark(bytes);
  const size_t first = bytes.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return FileFormat::kCsv;
  if (bytes[first] == '[') return FileFormat::kJson;
  if (bytes[first] == '{') return FileFormat::kJsonLines;
  return FileFormat::kCsv;
}

}  // namespace qm::exchange
