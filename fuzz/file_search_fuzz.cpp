// The file search against the plain reference: any file bytes, any
// needle, both kinds of case, whole words or not, the decoded search cut
// into slices of several sizes. The results must agree exactly.
#include <vector>

#include "find/files/file_search.h"
#include "find/reference_file_search.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kSliceBytes[] = {1, 2, 3, 8, 64, qm::FileTextMatcher::kDefaultSliceBytes};
  qm::fuzz::InputReader input(data, size);
  const uint8_t settings = input.Byte();
  const int32_t matchCase = settings % 3;
  const size_t slice = kSliceBytes[(settings / 3) % std::size(kSliceBytes)];
  qm::FindOptions options = qm::FindOptions::FromMatchCase(matchCase);
  options.wholeWord = (settings / 18) % 2 == 1;
  const std::u16string needle = input.Units(input.Byte() % 24);
  const std::string_view bytes = input.Rest();
  const std::u16string folder = u"/project/";
  const std::u16string path = u"/project/sub/page.htm";

  qm::FindResultList expected;
  qm::testing::ReferenceSearch(std::string(bytes), needle, options, path, folder, &expected);
  // A heap block of the bytes' own size, so that the sanitizer sees any
  // read past their end.
  const std::vector<char> exact(bytes.begin(), bytes.end());
  qm::FindResultList actual;
  qm::ResultListSink sink(&actual);
  qm::FileSearcher searcher(qm::SearchNeedle(needle, options), slice);
  searcher.SearchBytes({exact.data(), exact.size()}, path, folder, sink);
  qm::fuzz::Require(actual == expected, "the search agrees with the reference");
  return 0;
}
