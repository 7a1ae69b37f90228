// The streamed finds as the application calls them: the same results as
// QmFind, in the same order, handed over one at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qmpecore/qmpecore_ext.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace {

using qm::FindResultList;

// Collects what a streamed find hands over; says stop after `limit`.
struct Collector {
  FindResultList results;
  size_t limit = SIZE_MAX;

  static int32_t QM_CALL Take(void* context, const qm::FindResult* result) {
    auto* self = static_cast<Collector*>(context);
    self->results.push_back(*result);
    return self->results.size() < self->limit ? 1 : 0;
  }
};

class StreamedFind : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(qm::testing::RunQmpe("sample " + folder_.path().string() + "/plant --seed 5"), 0);
    project_ = folder_.Text("plant/plant.qmp");
    manager_ = QmCreateEditorManager();
    ASSERT_NE(QmOpenEditor(manager_, project_.c_str(), 0), nullptr);
  }
  void TearDown() override { QmCloseEditorManager(manager_); }

  qm::testing::TempFolder folder_;
  std::u16string project_;
  qm::CEditorManager* manager_ = nullptr;
};

TEST_F(StreamedFind, BothGiveWhatQmFindAppendsInItsOrder) {
  const char16_t* scopes[] = {u"Entire Project", u"All Grid Tables",    u"All Files", u"*.js",
                              u"21|3,2|",        u"3|,pages,All Files", u"",          nullptr};
  const char16_t* texts[] = {u"tank", u"1", u"OverflowAlarmResetLatch", u"TANK", u"no such text"};
  for (const char16_t* scope : scopes) {
    for (const char16_t* text : texts) {
      for (int32_t matchCase : {0, 1}) {
        SCOPED_TRACE(testing::Message()
                     << "scope " << (scope ? testing::PrintToString(std::u16string(scope)) : "null")
                     << " text " << testing::PrintToString(std::u16string(text)) << " case "
                     << matchCase);
        FindResultList expected;
        ASSERT_GE(QmFind(manager_, &expected, scope, text, matchCase), 0);
        const int32_t flags = matchCase ? kQmFindMatchCase : 0;
        Collector each;
        EXPECT_EQ(QmFindEach(manager_, scope, text, flags, Collector::Take, &each),
                  static_cast<int32_t>(expected.size()));
        EXPECT_EQ(each.results, expected);
        Collector once;
        EXPECT_EQ(QmFindInProject(project_.c_str(), scope, text, flags, Collector::Take, &once),
                  static_cast<int32_t>(expected.size()));
        EXPECT_EQ(once.results, expected);
      }
    }
  }
}

// A handler that says stop gets nothing more from the tables or files after
// the one in hand; results already found in it are dropped, not delivered.
TEST_F(StreamedFind, AHandlerThatSaysStopEndsTheFind) {
  FindResultList all;
  ASSERT_GT(QmFind(manager_, &all, u"Entire Project", u"1", 0), 10);
  for (size_t limit : {size_t{1}, size_t{7}}) {
    Collector each;
    each.limit = limit;
    EXPECT_EQ(QmFindEach(manager_, u"Entire Project", u"1", 0, Collector::Take, &each),
              static_cast<int32_t>(limit));
    EXPECT_EQ(each.results, FindResultList(all.begin(), all.begin() + limit));
    Collector once;
    once.limit = limit;
    EXPECT_EQ(QmFindInProject(project_.c_str(), u"All Files", u"1", 0, Collector::Take, &once),
              static_cast<int32_t>(limit));
  }
}

// The editor's find searches its working set as the user edited it; the
// one-off find reads the project file.
TEST_F(StreamedFind, TheEditorsFindSeesUnsavedEditsTheProjectFindDoesNot) {
  qm::ConfigTableSet* working = QmGetAllTables(QmGetEditorData(manager_)->configManager, 1);
  ASSERT_FALSE(working->timers->empty());
  working->timers->begin()->second.head.description = u"Unsaved Quokka";
  Collector each;
  EXPECT_EQ(QmFindEach(manager_, u"1|", u"quokka", 0, Collector::Take, &each), 1);
  Collector once;
  EXPECT_EQ(QmFindInProject(project_.c_str(), u"1|", u"quokka", 0, Collector::Take, &once), 0);
}

TEST_F(StreamedFind, BadArgumentsAndProjectsThatCannotOpen) {
  Collector collector;
  EXPECT_EQ(QmFindEach(nullptr, u"", u"x", 0, Collector::Take, &collector), -1);
  EXPECT_EQ(QmFindEach(manager_, u"", nullptr, 0, Collector::Take, &collector), -1);
  EXPECT_EQ(QmFindEach(manager_, u"", u"x", 0, nullptr, &collector), -1);
  EXPECT_EQ(QmFindEach(manager_, u"Entire Project", u"1", 8, Collector::Take, &collector), -1);
  EXPECT_EQ(QmFindInProject(nullptr, u"", u"x", 0, Collector::Take, &collector), -1);
  EXPECT_EQ(QmFindInProject(project_.c_str(), u"", nullptr, 0, Collector::Take, &collector), -1);
  EXPECT_EQ(QmFindInProject(project_.c_str(), u"", u"x", 0, nullptr, &collector), -1);
  EXPECT_EQ(QmFindInProject(project_.c_str(), u"", u"x", 1 << 30, Collector::Take, &collector), -1);
  EXPECT_TRUE(collector.results.empty());

  QmCloseEditor(manager_);
  EXPECT_EQ(QmFindEach(manager_, u"Entire Project", u"1", 0, Collector::Take, &collector), -1);

  // A missing project is not created, and a file that is not a project is
  // left as it was.
  const std::u16string missing = folder_.Text("plant/missing.qmp");
  EXPECT_EQ(QmFindInProject(missing.c_str(), u"All Files", u"1", 0, Collector::Take, &collector),
            -2);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "plant/missing.qmp"));
  std::ofstream(folder_ / "plant/notes.qmp") << "not a project";
  const std::u16string notes = folder_.Text("plant/notes.qmp");
  EXPECT_EQ(QmFindInProject(notes.c_str(), u"All Files", u"1", 0, Collector::Take, &collector), -2);
  EXPECT_EQ(std::filesystem::file_size(folder_ / "plant/notes.qmp"), 13u);
  EXPECT_EQ(
      QmFindInProject(folder_.Text("plant").c_str(), u"", u"1", 0, Collector::Take, &collector),
      -2);
  EXPECT_EQ(QmFindInProject(u"", u"", u"1", 0, Collector::Take, &collector), -2);
  EXPECT_TRUE(collector.results.empty());
  // Nothing was registered for the project.
  EXPECT_FALSE(QmEditorExists(project_.c_str()));
}

// A pattern that does not compile searches nothing and says where it is
// wrong; one whose matching runs away stops the find with its own answer.
TEST_F(StreamedFind, PatternsThatDoNotCompileOrRunAway) {
  Collector collector;
  EXPECT_EQ(QmFindEach(manager_, u"Entire Project", u"tank(", kQmFindRegex, Collector::Take,
                       &collector),
            kQmFindBadPattern);
  EXPECT_EQ(QmFindInProject(project_.c_str(), u"Entire Project", u"[z-a]", kQmFindRegex,
                            Collector::Take, &collector),
            kQmFindBadPattern);
  EXPECT_TRUE(collector.results.empty());

  char16_t message[64];
  int32_t offset = -1;
  EXPECT_EQ(QmCheckFindText(u"ab(c", kQmFindRegex, message, 64, &offset), kQmFindBadPattern);
  EXPECT_EQ(offset, 4);
  EXPECT_NE(std::u16string(message).find(u"missing closing parenthesis"), std::u16string::npos);
  EXPECT_EQ(QmCheckFindText(u"ab(c", kQmFindRegex, message, 5, nullptr), kQmFindBadPattern);
  EXPECT_EQ(std::u16string(message).size(), 4u);
  EXPECT_EQ(QmCheckFindText(u"ab(c", kQmFindRegex | kQmFindWholeWord, nullptr, 0, &offset),
            kQmFindBadPattern);
  EXPECT_EQ(QmCheckFindText(u"ab(c", kQmFindWholeWord, nullptr, 0, nullptr), 0);
  EXPECT_EQ(QmCheckFindText(u"a(b)c", kQmFindRegex, nullptr, 0, nullptr), 0);
  EXPECT_EQ(QmCheckFindText(u"x", 16, nullptr, 0, nullptr), kQmFindBadArguments);
  EXPECT_EQ(QmCheckFindText(nullptr, 0, nullptr, 0, nullptr), kQmFindBadArguments);
  EXPECT_EQ(QmCheckFindText(u"x", 0, nullptr, 4, nullptr), kQmFindBadArguments);

  // The first file holds a line the pattern matches before the line that
  // runs away; the second is never searched.
  std::ofstream(folder_ / "plant/a_first.txt") << "aaa\n" << std::string(40, 'a') << "!\n";
  std::ofstream(folder_ / "plant/b_second.txt") << "aaa\n";
  Collector stopped;
  EXPECT_EQ(QmFindInProject(project_.c_str(), u"a_first.txt,b_second.txt", u"(a+)+$",
                            kQmFindRegex, Collector::Take, &stopped),
            kQmFindMatchLimit);
  ASSERT_EQ(stopped.results.size(), 1u);
  EXPECT_EQ(stopped.results[0].recordId, 1);
}

// The matcher answers where the find would place a match, and how long it
// is, so that a result list can highlight it.
TEST(FindMatcher, PlacesAndMeasuresTheFirstMatch) {
  struct Case {
    const char16_t* text;
    int32_t flags;
    std::u16string_view subject;
    int32_t start, length;
  };
  const Case cases[] = {
      {u"pump", 0, u"Pumps pump", 0, 4},
      {u"pump", kQmFindWholeWord, u"Pumps pump", 6, 4},
      {u"pump", kQmFindMatchCase, u"Pumps Pump", -1, 0},
      {u"p\\w+", kQmFindRegex, u"a pump_1 b", 2, 6},
      {u"P\\w", kQmFindRegex | kQmFindWholeWord, u"Pump pu", 5, 2},
      {u"x*", kQmFindRegex, u"abc", 0, 0},
      {u"\u00E9", kQmFindRegex, u"\u00C9t\u00E9", 0, 1},
      {u"\u00E9", kQmFindRegex | kQmFindMatchCase, u"\u00C9t\u00E9", 2, 1},
  };
  for (const Case& c : cases) {
    QmFindMatcher* matcher = QmCreateFindMatcher(c.text, c.flags);
    ASSERT_NE(matcher, nullptr);
    int32_t length = 0;
    EXPECT_EQ(QmFirstMatch(matcher, c.subject.data(), static_cast<int32_t>(c.subject.size()),
                           &length),
              c.start)
        << testing::PrintToString(std::u16string(c.text));
    if (c.start >= 0) {
      EXPECT_EQ(length, c.length);
    }
    QmFreeFindMatcher(matcher);
  }

  QmFindMatcher* runaway = QmCreateFindMatcher(u"(a+)+$", kQmFindRegex);
  const std::u16string long_ = std::u16string(40, u'a') + u"!";
  EXPECT_EQ(QmFirstMatch(runaway, long_.data(), static_cast<int32_t>(long_.size()), nullptr),
            kQmFindMatchLimit);
  EXPECT_EQ(QmFirstMatch(runaway, u"aa", 2, nullptr), 0);  // the next match runs afresh
  EXPECT_EQ(QmFirstMatch(runaway, nullptr, 3, nullptr), -1);
  EXPECT_EQ(QmFirstMatch(nullptr, u"aa", 2, nullptr), -1);
  QmFreeFindMatcher(runaway);
  QmFreeFindMatcher(nullptr);
  EXPECT_EQ(QmCreateFindMatcher(u"a(", kQmFindRegex), nullptr);
  EXPECT_EQ(QmCreateFindMatcher(u"a", 64), nullptr);
  EXPECT_EQ(QmCreateFindMatcher(nullptr, 0), nullptr);
}

// The lines around a file result are the find's lines: its breaks, its
// U+FFFD for an ill-formed byte, nothing after a zero byte; spans past the
// end give what there is, and a handler's stop ends the reading.
TEST(FileLines, AreReadAsTheFindReadsTheFile) {
  qm::testing::TempFolder folder;
  std::ofstream(folder.path() / "a.txt", std::ios::binary)
      << std::string("one\r\ntwo\rthr\xC3\n\nfive\r\n\0six\n", 22);
  const std::u16string path = folder.Text("a.txt");
  struct Lines {
    std::vector<std::pair<int32_t, std::u16string>> taken;
    size_t limit = SIZE_MAX;
    static int32_t QM_CALL Take(void* context, int32_t number, const char16_t* text,
                                int32_t length) {
      auto* self = static_cast<Lines*>(context);
      self->taken.emplace_back(number, std::u16string(text, static_cast<size_t>(length)));
      return self->taken.size() < self->limit ? 1 : 0;
    }
  };
  Lines lines;
  const int32_t spans[] = {1, 1, 3, 9};
  ASSERT_EQ(QmReadFileLines(path.c_str(), spans, 2, &Lines::Take, &lines), 4);
  const std::vector<std::pair<int32_t, std::u16string>> expected = {
      {1, u"one"}, {3, u"thr\uFFFD"}, {4, u""}, {5, u"five"}};
  EXPECT_EQ(lines.taken, expected);

  Lines stopped;
  stopped.limit = 2;
  EXPECT_EQ(QmReadFileLines(path.c_str(), spans, 2, &Lines::Take, &stopped), 2);
  const int32_t overlapping[] = {1, 3, 3, 4};
  const int32_t backwards[] = {2, 1};
  EXPECT_EQ(QmReadFileLines(path.c_str(), overlapping, 2, &Lines::Take, &lines),
            kQmFindBadArguments);
  EXPECT_EQ(QmReadFileLines(path.c_str(), backwards, 1, &Lines::Take, &lines),
            kQmFindBadArguments);
  EXPECT_EQ(QmReadFileLines(nullptr, spans, 1, &Lines::Take, &lines), kQmFindBadArguments);
  EXPECT_EQ(QmReadFileLines(folder.Text("missing.txt").c_str(), spans, 1, &Lines::Take, &lines),
            kQmFindCannotOpen);
}

}  // namespace
