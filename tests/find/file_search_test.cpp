// The file search on hand-made files: results field by field.
#include "find/files/file_search.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/native_path.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

class FileSearchTest : public ::testing::Test {
 protected:
  // Writes `bytes` to `name` in the project folder and searches it.
  FindResultList Search(const std::string& bytes, std::u16string_view needle, int32_t matchCase = 0,
                        const std::string& name = "a.txt") {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    FindResultList results;
    ResultListSink sink(&results);
    FileSearcher(needle, matchCase).SearchFile(folder_.Text(name), Folder(), sink);
    return results;
  }
  std::u16string Folder() const { return folder_.Text() + testing::Native(u"/"); }

  testing::TempFolder folder_;
};

// Line number, column and line text of a result.
using Line = std::tuple<int32_t, int32_t, std::u16string>;

std::u16string AsciiText(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<Line> Lines(const FindResultList& results) {
  std::vector<Line> lines;
  for (const FindResult& r : results) lines.emplace_back(r.recordId, r.column, r.matchedText);
  return lines;
}

TEST_F(FileSearchTest, ColumnsCountEveryBreakAsTwoUnits) {
  const std::vector<Line> expected = {{1, 0, u"abc"}, {2, 9, u"xyz abc abc"}};
  EXPECT_EQ(Lines(Search("abc\r\nxyz abc abc", u"abc")), expected);
  EXPECT_EQ(Lines(Search("abc\nxyz abc abc", u"abc")), expected);
  EXPECT_EQ(Lines(Search("abc\rxyz abc abc", u"abc")), expected);
  // CR CR LF is two breaks, LF CR two, CR LF LF two.
  EXPECT_EQ(Lines(Search("x\r\r\nabc", u"abc")), (std::vector<Line>{{3, 5, u"abc"}}));
  EXPECT_EQ(Lines(Search("x\n\rabc", u"abc")), (std::vector<Line>{{3, 5, u"abc"}}));
  EXPECT_EQ(Lines(Search("x\r\n\nabc", u"abc")), (std::vector<Line>{{3, 5, u"abc"}}));
}

TEST_F(FileSearchTest, ResultCarriesTheFileFields) {
  const FindResult expected = {
      24, u"b.htm", 1, 4, u"", Folder() + u"b.htm", u"one abc two abc", u"ABC", 0};
  EXPECT_EQ(Search("one abc two abc\n", u"ABC", 0, "b.htm"), FindResultList{expected});
}

TEST_F(FileSearchTest, LinesAtTheEdges) {
  // A last empty line is counted but matches nothing; a text without any
  // break is line 1; an empty file and an empty needle give nothing.
  EXPECT_EQ(Lines(Search("x\r\nab\r\n", u"ab")), (std::vector<Line>{{2, 3, u"ab"}}));
  EXPECT_EQ(Lines(Search("only ab", u"ab")), (std::vector<Line>{{1, 5, u"only ab"}}));
  EXPECT_TRUE(Search("", u"ab").empty());
  EXPECT_TRUE(Search("ab", u"").empty());
  EXPECT_TRUE(Search("a\r\nb", u"a\r\nb").empty());
}

TEST_F(FileSearchTest, TextEndsAtTheFirstZeroByte) {
  // Saved as UTF-16: FF FE is two ill-formed bytes, then "a", then zero.
  const std::string utf16("\xFF\xFE" "a\0b\0c\0", 8);
  EXPECT_EQ(Lines(Search(utf16, u"a")), (std::vector<Line>{{1, 2, u"\uFFFD\uFFFDa"}}));
  EXPECT_TRUE(Search(utf16, u"b").empty());
}

TEST_F(FileSearchTest, ColumnsCountUtf16Units) {
  // U+00E9 is one unit, U+1F600 two, the byte-order mark one, an
  // ill-formed E2 82 one U+FFFD.
  const std::string text = "\xEF\xBB\xBF\xC3\xA9\xF0\x9F\x98\x80\xE2\x82" "ab";
  EXPECT_EQ(Lines(Search(text, u"ab")),
            (std::vector<Line>{{1, 5, u"\uFEFF\u00E9\U0001F600\uFFFDab"}}));
}

TEST_F(FileSearchTest, CaseBlindUnlessMatchCaseIsExactlyOneAndFoldsEveryScript) {
  for (int32_t matchCase : {0, 1, 2, -1}) {
    EXPECT_EQ(Search("AB", u"ab", matchCase).size(), matchCase == 1 ? 0u : 1u) << matchCase;
  }
  // The Kelvin sign folds to "k", capital sigma to sigma, on every platform
  // (platform_case_*_test.cpp pins where the platforms part).
  EXPECT_EQ(Lines(Search("x\n\xE2\x84\xAA" "ey", u"key")), std::vector<Line>({{2, 3, u"\u212Aey"}}));
  EXPECT_EQ(Search("\xCE\xA3\xCE\xB1", u"\u03C3\u0391").size(), 1u);
  EXPECT_TRUE(Search("\xE2\x84\xAA" "ey", u"key", 1).empty());
}

TEST_F(FileSearchTest, LocationOfAFileOutsideTheFolderIsItsFullPath) {
  std::ofstream(folder_ / "c.txt") << "ab";
  FindResultList results;
  ResultListSink sink(&results);
  FileSearcher searcher(u"ab", 0);
  searcher.SearchFile(folder_.Text("c.txt"), u"/no/such/folder/deeper/than/the/path/", sink);
  searcher.SearchFile(folder_.Text("c.txt"), u"/elsewhere/", sink);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].location, folder_.Text("c.txt"));
  EXPECT_EQ(results[1].location, folder_.Text("c.txt"));
}

TEST_F(FileSearchTest, UnreadableFilesAreSkippedAndTheListKept) {
  FindResultList results(2);
  ResultListSink sink(&results);
  FileSearcher searcher(u"ab", 0);
  searcher.SearchFile(folder_.Text("missing.txt"), Folder(), sink);
  searcher.SearchFile(folder_.Text(), Folder(), sink);  // a folder
  EXPECT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0], FindResult{});
}

// The searcher's buffers are reused: a large file after a small one, and a
// small one after, read whole and nothing more.
TEST_F(FileSearchTest, SearcherServesFileAfterFile) {
  const std::string big = std::string(100000, 'x') + "ab\n" + std::string(100000, 'y');
  std::ofstream(folder_ / "1.txt") << "ab";
  std::ofstream(folder_ / "2.txt") << big;
  std::ofstream(folder_ / "3.txt") << "zab";
  FindResultList results;
  ResultListSink sink(&results);
  FileSearcher searcher(u"AB", 0);
  for (const char* name : {"1.txt", "2.txt", "3.txt"}) {
    searcher.SearchFile(folder_.Text(name), Folder(), sink);
  }
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[1].column, 100000);
  EXPECT_EQ(results[2].location, u"3.txt");
  EXPECT_EQ(results[2].column, 1);
}

// A list that grows past a few megabytes has its storage replaced by hand:
// the results before it, even one appended to a list the caller filled,
// keep their order and values.
TEST_F(FileSearchTest, LongListKeepsEveryResultAsItGrows) {
  std::string text;
  for (int i = 0; i < 60000; ++i) text += "ab" + std::to_string(i) + "\n";
  FindResultList results(1);
  results[0].label = u"the caller's";
  ResultListSink sink(&results);
  FileSearcher(u"ab", 0).SearchBytes(text, folder_.Text("a.txt"), Folder(), sink);
  ASSERT_EQ(results.size(), 60001u);
  EXPECT_EQ(results[0].label, u"the caller's");
  for (int i = 0; i < 60000; i += 997) {
    EXPECT_EQ(results[i + 1].recordId, i + 1);
    EXPECT_EQ(results[i + 1].matchedText, u"ab" + AsciiText(std::to_string(i)));
    EXPECT_EQ(results[i + 1].location, u"a.txt");
  }
}

}  // namespace
}  // namespace qm
