// The file search of a find on several threads against the same find on
// one, over random projects: the same results in the same order, the same
// prefix when the receiver stops early or a pattern runs past its match
// limit, and no thread left when the find returns.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "files/file_manager.h"
#include "find/find_dispatch.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

// Keeps the first `keep` results, then says it is done.
class PrefixSink final : public ResultSink {
 public:
  explicit PrefixSink(size_t keep) : keep_(keep) {}
  void Take(const FindResult& result) override {
    if (!Done()) results.push_back(result);
  }
  bool Done() const override { return results.size() >= keep_; }
  FindResultList results;

 private:
  size_t keep_;
};

// Threads of this process, where the system lists them (-1 elsewhere).
int ThreadCount() {
  std::error_code error;
  std::filesystem::directory_iterator tasks("/proc/self/task", error);
  if (error) return -1;
  return static_cast<int>(std::distance(tasks, std::filesystem::directory_iterator()));
}

// The thread count once it is back to `count`, or after ten seconds: a
// joined thread may stay listed a moment (under an emulator, longer)
// while the system reaps it.
int SettledThreadCount(int count) {
  for (int wait = 0; wait < 1000 && ThreadCount() != count; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ThreadCount();
}

const char* const kWords[] = {"pump", "Pump", "valve", "tank_1", "tänk", "PUMPS", "a", "aaa"};
const char* const kBreaks[] = {"\n", "\r\n", "\r"};
const char* const kNames[] = {".txt", ".js", ".htm", ".css", ".json"};  // .json is not searched

// A project of random text files, some in sub-folders, some empty, one
// now and then large; `runaway` puts a line that the pattern (a+)+$ runs
// past the match limit on into a few of them.
class RandomProject {
 public:
  RandomProject(uint32_t seed, bool runaway) : random_(seed) {
    std::filesystem::create_directories(folder_ / "pages");
    std::ofstream(folder_ / "plant.qmp") << "";
    const size_t files = 1 + random_() % 40;
    for (size_t file = 0; file < files; ++file) {
      const std::string name = (random_() % 3 == 0 ? "pages/f" : "f") + std::to_string(file) +
                               kNames[random_() % std::size(kNames)];
      std::ofstream out(folder_ / name, std::ios::binary);
      const size_t lines = random_() % 8 == 0 ? 3000 : random_() % 30;
      for (size_t line = 0; line < lines; ++line) {
        for (size_t word = random_() % 6; word > 0; --word) {
          out << kWords[random_() % std::size(kWords)] << (random_() % 2 ? " " : ".");
        }
        if (runaway && random_() % 200 == 0) out << std::string(40, 'a') << '!';
        out << kBreaks[random_() % std::size(kBreaks)];
      }
    }
    project_.projectPath = folder_.Text("plant.qmp");
    int32_t code = 0;
    project_.fileManager = CreateFileManager(project_.projectPath.c_str(), &code);
  }
  ~RandomProject() {
    project_.fileManager->Close();
    delete project_.fileManager;
  }

  FindStatus Find(const char16_t* text, FindOptions options, uint32_t workers,
                  ResultSink& sink) {
    options.fileWorkers = workers;
    const FindRequest request{project_,
                              []() -> const ConfigTableSet& { throw std::logic_error("tables"); },
                              &lookups_,
                              u"All Files",
                              text,
                              options};
    return RunFind(request, sink);
  }

 private:
  testing::TempFolder folder_;
  std::mt19937 random_;
  EditorData project_;
  NameLookups lookups_;
};

struct Needle {
  const char16_t* text;
  FindOptions options;
};

const Needle kNeedles[] = {
    {u"pump", {}},
    {u"Pump", {.matchCase = true}},
    {u"tank_1", {.wholeWord = true}},
    {u"t.nk", {.regex = true}},
    {u"a", {.wholeWord = true}},
    {u"(a+)+$", {.regex = true}},
};

TEST(ParallelFileFind, SameResultsInSameOrderForEveryWorkerCount) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    RandomProject project(seed, seed % 3 == 0);
    for (const Needle& needle : kNeedles) {
      SCOPED_TRACE(::testing::Message() << "seed " << seed << ", needle "
                                      << ::testing::PrintToString(std::u16string(needle.text)));
      PrefixSink one(SIZE_MAX);
      const FindStatus status = project.Find(needle.text, needle.options, 1, one);
      for (uint32_t workers : {2u, 8u}) {
        PrefixSink many(SIZE_MAX);
        EXPECT_EQ(project.Find(needle.text, needle.options, workers, many), status) << workers;
        EXPECT_EQ(many.results, one.results) << workers << " workers";
      }
    }
  }
}

// A receiver that stops after k results has the first k of them however
// many threads search, and the find has ended all its threads when it
// returns.
TEST(ParallelFileFind, StoppedFindHandsOverTheSinglePrefixAndEndsItsThreads) {
  const int threadsBefore = ThreadCount();
  for (uint32_t seed = 20; seed <= 24; ++seed) {
    RandomProject project(seed, false);
    PrefixSink all(SIZE_MAX);
    project.Find(u"pump", {}, 1, all);
    const size_t total = all.results.size();
    for (size_t keep : {size_t{0}, size_t{1}, total / 3, total - 1}) {
      if (keep > total) continue;
      for (uint32_t workers : {2u, 8u}) {
        PrefixSink stopped(keep);
        project.Find(u"pump", {}, workers, stopped);
        const FindResultList expected(all.results.begin(), all.results.begin() + keep);
        EXPECT_EQ(stopped.results, expected) << "seed " << seed << ", " << workers << " workers";
        EXPECT_EQ(SettledThreadCount(threadsBefore), threadsBefore);
      }
    }
  }
}

}  // namespace
}  // namespace qm
