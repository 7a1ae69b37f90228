// The file search under memory pressure: beyond its first storage the read
// buffer grows only as far as each larger file needs, and a file it cannot
// hold is skipped without losing the results found before.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "find/files/file_search.h"
#include "platform/memory_advice.h"
#include "support/failing_allocations.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

TEST(FileBufferMemory, TheBufferGrowsOnlyAsLargerFilesNeedAndATooLargeFileIsSkipped) {
  testing::TempFolder folder;
  const std::string needle = "needle\n";
  // Each larger file needs a storage of more large pages than the one before.
  constexpr size_t kFirst = platform::FileBuffer::kMinimumStorage;
  constexpr size_t kPage = platform::kLargePageBytes;
  const std::vector<std::pair<std::string, size_t>> files = {{"small.txt", 70000},
                                                             {"larger.txt", kFirst + 10},
                                                             {"large.txt", kFirst + kPage + 10},
                                                             {"huge.txt", kFirst + 2 * kPage + 10},
                                                             {"last.txt", 10}};
  for (const auto& [name, padding] : files) {
    std::ofstream(folder / name, std::ios::binary) << needle << std::string(padding, 'x');
  }
  FileSearcher searcher(u"needle", 0);
  FindResultList results;
  ResultListSink sink(&results);
  testing::g_largestAllocation =
      platform::FileBuffer::AllocationFor(needle.size() + kFirst + kPage + 10);  // large.txt
  for (const auto& file : files) {
    searcher.SearchFile(folder.Text(file.first), folder.Text() + testing::Native(u"/"), sink);
  }
  testing::g_largestAllocation = SIZE_MAX;
  std::vector<std::u16string> found;
  for (const FindResult& result : results) found.push_back(result.location);
  EXPECT_EQ(found, (std::vector<std::u16string>{u"small.txt", u"larger.txt", u"large.txt",
                                                u"last.txt"}));
}

}  // namespace
}  // namespace qm
