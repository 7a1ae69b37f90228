// What a rename changes in one text file: the old name replaced where it
// stands as a whole word, and no other byte.
#ifndef QMPECORE_RENAME_FILE_RENAME_PLAN_H_
#define QMPECORE_RENAME_FILE_RENAME_PLAN_H_

#include <string>
#include <string_view>

#include "rename/file_change_plan.h"

namespace qm {

// Fills `plan`'s bytes and lines for a file that holds `oldWord` (UTF-8)
// as a whole word (rename/word_spans.h), each occurrence replaced by
// `newWord`; false, with the plan's bytes and lines left empty, when there
// is none.
bool PlanFileRename(std::string bytes, std::string_view oldWord, std::string_view newWord,
                    FileChangePlan* plan);

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_RENAME_PLAN_H_
