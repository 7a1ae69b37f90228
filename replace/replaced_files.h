// The files of a replace preview planned on a pool of workers: each file
// the find reported read and its reported lines replaced, the plans taken
// into the preview in the find's order.
#ifndef QMPECORE_REPLACE_REPLACED_FILES_H_
#define QMPECORE_REPLACE_REPLACED_FILES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "find/find_options.h"
#include "rename/file_operations.h"
#include "replace/project_replace.h"

namespace qm {

// A file the find reported, with the lines it reported (ascending), and
// how many of the preview's field changes come before the file's lines in
// find order.
struct ReplacedFile {
  std::u16string path;
  std::u16string location;
  std::vector<int32_t> lines;
  size_t changesBefore = 0;
};

// Plans `files` with the replace of `text` (found with `options`, whose
// fileWorkers say how many threads) by `replacement`, into `preview`: its
// plans in file order, each with its changesBefore. The first file that cannot be read or replaced,
// in file order, sets the preview's status and message, and no later file
// is taken.
void PlanReplacedFiles(const std::vector<ReplacedFile>& files, std::u16string_view text,
                       const FindOptions& options, const std::u16string& replacement,
                       FileOperations& operations, ReplacePreview* preview);

}  // namespace qm

#endif  // QMPECORE_REPLACE_REPLACED_FILES_H_
