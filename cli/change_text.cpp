#include "cli/change_text.h"

#include <utility>

#include "cli/cli_support.h"
#include "cli/json_text.h"

namespace qm::cli {

void AppendFieldPlace(std::u16string_view location, int32_t recordId, std::u16string_view column,
                      std::string* out) {
  AppendUtf8(location, out);
  out->append(": #");
  AppendNumber(recordId, out);
  out->push_back(' ');
  AppendUtf8(column, out);
  out->append(": ");
}

void AppendBeforeAfter(std::u16string_view before, std::u16string_view after, std::string* out) {
  AppendUtf8(before, out);
  out->append(" -> ");
  AppendUtf8(after, out);
}

void AppendLineChange(std::u16string_view location, int32_t line, std::u16string_view before,
                      std::u16string_view after, std::string* out) {
  const std::string path = PathBytes(location);
  for (const auto& [sign, text] : {std::pair{": - ", before}, {": + ", after}}) {
    out->append(path).push_back(':');
    AppendNumber(line, out);
    out->append(sign);
    AppendUtf8(text, out);
    out->push_back('\n');
  }
}

}  // namespace qm::cli
