// How qmpe prints a change in its human form, one way for the rename, the
// replace and the import: a field as "location: #id Column: before -> after",
// a file line as "path:line: - before" and "path:line: + after".
#ifndef QMPECORE_CLI_CHANGE_TEXT_H_
#define QMPECORE_CLI_CHANGE_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::cli {

// "location: #id Column: "
void AppendFieldPlace(std::u16string_view location, int32_t recordId, std::u16string_view column,
                      std::string* out);
// "before -> after"
void AppendBeforeAfter(std::u16string_view before, std::u16string_view after, std::string* out);
// Both lines of a changed file line, each with its break; the path as the
// file system's bytes, as qmpe files prints it.
void AppendLineChange(std::u16string_view location, int32_t line, std::u16string_view before,
                      std::u16string_view after, std::string* out);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_CHANGE_TEXT_H_
