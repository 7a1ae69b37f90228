// The file search under memory pressure: the read buffer takes the file's
// size plus one byte and no more, and a file it cannot hold is skipped
// without losing the results found before.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "find/files/file_search.h"
#include "support/failing_allocations.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

TEST(FileBufferMemory, TheBufferFitsEachLargerFileExactlyAndATooLargeFileIsSkipped) {
  testing::TempFolder folder;
  const std::string needle = "needle\n";
  const std::vector<std::pair<std::string, size_t>> files = {
      {"small.txt", 70000}, {"large.txt", 100000}, {"huge.txt", 200000}, {"last.txt", 10}};
  for (const auto& [name, padding] : files) {
    std::ofstream(folder / name, std::ios::binary) << needle << std::string(padding, 'x');
  }
  FileSearcher searcher(u"needle", 0);
  FindResultList results;
  ResultListSink sink(&results);
  testing::g_largestAllocation = needle.size() + 100000 + 1;  // large.txt and its zero byte
  for (const auto& file : files) {
    searcher.SearchFile(folder.Text(file.first), folder.Text() + testing::Native(u"/"), sink);
  }
  testing::g_largestAllocation = SIZE_MAX;
  std::vector<std::u16string> found;
  for (const FindResult& result : results) found.push_back(result.location);
  EXPECT_EQ(found, (std::vector<std::u16string>{u"small.txt", u"large.txt", u"last.txt"}));
}

}  // namespace
}  // namespace qm
