// The replace in one project text file: the lines that the find reported,
// each decoded as the find decodes it, their matches replaced, and only
// the bytes of those matches changed.
#ifndef QMPECORE_REPLACE_FILE_REPLACE_H_
#define QMPECORE_REPLACE_FILE_REPLACE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "rename/file_change_plan.h"
#include "replace/text_replacer.h"

namespace qm {

enum class FileReplaceStatus { kChanged, kUnchanged, kFailed };

// Plans the replace of the file's `bytes` in the lines numbered `lines`
// (ascending, from 1, as the find counts them) into `plan`. kUnchanged
// when every match's replacement equals it; kFailed with `error` when the
// replacement cannot be made, or a match would split a character's bytes
// (a plain needle that starts or ends within a surrogate pair).
FileReplaceStatus PlanFileReplace(std::string bytes, const std::vector<int32_t>& lines,
                                  TextReplacer& replacer, FileChangePlan* plan,
                                  std::u16string* error);

}  // namespace qm

#endif  // QMPECORE_REPLACE_FILE_REPLACE_H_
