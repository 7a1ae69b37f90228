// The search of a list of files on a pool of workers, each with a searcher
// of its own, handing the results on in the order of the list: the same
// results, in the same order, as one searcher going through the list.
#ifndef QMPECORE_FIND_FILES_FILE_LIST_SEARCH_H_
#define QMPECORE_FIND_FILES_FILE_LIST_SEARCH_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "find/result_sink.h"
#include "find/search_needle.h"

namespace qm {

enum class FileListStatus {
  kDone,        // every file searched, or the sink became done
  kMatchLimit,  // a file's matching ran past the match limit: the search ended after it
};

// Searches `fullPaths` for `needle` on `workers` threads (at least 2 to
// use any), handing every result to `sink` on the calling thread. The
// search ends after the file in which the sink becomes done or a pattern
// runs past its match limit. Each worker compiles the needle anew, since
// a pattern's match block serves one thread.
FileListStatus SearchFileList(const SearchNeedle& needle,
                              const std::vector<std::u16string>& fullPaths,
                              std::u16string_view projectFolder, size_t workers,
                              ResultSink& sink);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_FILE_LIST_SEARCH_H_
