#include "rename/file_rename_plan.h"

#include "rename/word_spans.h"

namespace qm {

bool PlanFileRename(std::string bytes, std::string_view oldWord, std::string_view newWord,
                    FileChangePlan* plan) {
  std::vector<ByteEdit> edits;
  for (size_t at : FindWholeWordSpans(bytes, oldWord)) {
    edits.push_back({at, oldWord.size(), std::string(newWord)});
  }
  return PlanFileEdits(std::move(bytes), std::move(edits), plan);
}

}  // namespace qm
