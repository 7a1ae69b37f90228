// The search of project text files against ripgrep on the same files:
// every *.htm *.html *.bat *.js *.svg *.txt *.css file under a folder,
// searched case-blind for a rare and a common needle, warm cache, one
// thread.
//
//   build/release/bench/file_search_bench FOLDER [RARE COMMON] [RUNS]
//
// For each needle, medians of RUNS (default 7) runs: the whole file search
// as the find runs it (reading, matching and appending one result per
// line to a fresh list), the same into a list used before, the same
// without the list (matching lines only counted), and
// `rg -F -i -n -j1` on the same list of files, both printing the matching
// lines into a pipe and with -c printing per-file counts; wall time
// and the CPU time of the process (of rg and xargs, for ripgrep), since on
// a shared machine the wall time mostly measures the neighbours; MB/s of
// wall time; the ratio to ripgrep; the matching lines each found. The
// goals: at least 700 MB/s and at most twice ripgrep's time. ripgrep splits
// lines at LF alone, so the counts agree on files whose matching lines are
// not split by a lone CR, for needles without "k" or "s".
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "find/files/file_search.h"
#include "find/files/file_text_matcher.h"
#include "platform/file_names.h"
#include "platform/file_read.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaultRare = "OverflowAlarmResetLatch";
constexpr const char* kDefaultCommon = "value";

double Seconds(clockid_t clock) {
  timespec now;
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ChildrenCpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
  double wallMs;
  double cpuMs;
};

// Medians of wall and CPU time of `body`; `prepare` runs untimed before
// each run. `children` takes the CPU time of child processes instead.
Timing Median(int runs, const std::function<void()>& body, const std::function<void()>& prepare,
              bool children = false) {
  std::vector<double> walls;
  std::vector<double> cpus;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const double wall = Seconds(CLOCK_MONOTONIC);
    const double cpu = children ? ChildrenCpuSeconds() : Seconds(CLOCK_PROCESS_CPUTIME_ID);
    body();
    walls.push_back((Seconds(CLOCK_MONOTONIC) - wall) * 1e3);
    cpus.push_back(((children ? ChildrenCpuSeconds() : Seconds(CLOCK_PROCESS_CPUTIME_ID)) - cpu) *
                   1e3);
  }
  std::sort(walls.begin(), walls.end());
  std::sort(cpus.begin(), cpus.end());
  return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

bool IsSearchedType(const fs::path& path) {
  static const char* const kTypes[] = {".htm", ".html", ".bat", ".js", ".svg", ".txt", ".css"};
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(std::begin(kTypes), std::end(kTypes), extension) != std::end(kTypes);
}

// The searched files in ascending order of their path, as the find visits
// them.
std::vector<std::string> SearchedFiles(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && IsSearchedType(entry.path()))
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::u16string Text(const std::string& native) { return qm::platform::NativeNameToText(native); }

// Milliseconds to touch 100 MB of memory new to the process, page by page:
// what a long list of results pays on top of making it.
double FirstTouchMsPer100Mb() {
  constexpr size_t kBytes = 64u << 20;
  const auto memory = std::make_unique_for_overwrite<char[]>(kBytes);
  const double start = Seconds(CLOCK_MONOTONIC);
  for (size_t i = 0; i < kBytes; i += 4096) memory[i] = 1;
  const double ms = (Seconds(CLOCK_MONOTONIC) - start) * 1e3;
  volatile char sink = memory[kBytes / 2];
  (void)sink;
  return ms * 100e6 / static_cast<double>(kBytes);
}

struct LineCounter final : qm::LineSink {
  void OnLine(uint64_t, uint64_t, std::u16string_view) override { ++lines; }
  uint64_t lines = 0;
};

// Runs rg on the same files, either printing every matching line with its
// path and number (what a user of rg reads) or printing per-file counts,
// and totals the matching lines. The list goes through xargs, as thousands
// of paths may not fit one command line.
struct RgRun {
  bool ran = false;
  uint64_t lines = 0;
};

RgRun RunRg(const std::string& listFile, const std::string& needle, bool counts) {
  const std::string command = "xargs -0 -a '" + listFile + "' rg -F -i -n -j1 " +
                              (counts ? "-c --no-filename " : "") + "-e '" + needle + "' --";
  RgRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  if (counts) {
    char line[64];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
      run.lines += std::strtoull(line, nullptr, 10);
  } else {
    static char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
      run.lines += static_cast<uint64_t>(std::count(chunk, chunk + got, '\n'));
  }
  const int status = pclose(pipe);
  // rg exits 1 when nothing matched, which xargs reports as 123.
  run.ran = WIFEXITED(status) && WEXITSTATUS(status) != 126 && WEXITSTATUS(status) != 127;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (argc == 3 && std::atoi(argv[2]) <= 0)) {
    std::fprintf(stderr, "usage: %s FOLDER [RARE COMMON] [RUNS]\n", argv[0]);
    return 2;
  }
  const fs::path folder = fs::absolute(argv[1]);
  const bool needlesGiven = argc >= 4;
  const std::string needles[] = {needlesGiven ? argv[2] : kDefaultRare,
                                 needlesGiven ? argv[3] : kDefaultCommon};
  const char* runsText = argc == 3 ? argv[2] : argc >= 5 ? argv[4] : "7";
  const int runs = std::max(1, std::atoi(runsText));

  const std::vector<std::string> files = SearchedFiles(folder);
  std::vector<std::u16string> paths;
  uint64_t bytes = 0;
  for (const std::string& file : files) {
    paths.push_back(Text(file));
    bytes += fs::file_size(file);
  }
  const std::u16string projectFolder = Text(folder.string() + "/");
  const double megabytes = static_cast<double>(bytes) / 1e6;
  std::printf("%zu files, %.1f MB under %s, medians of %d runs (wall / CPU)\n", files.size(),
              megabytes, folder.c_str(), runs);

  const std::string listFile = (fs::temp_directory_path() / "file_search_bench.list").string();
  {
    std::ofstream list(listFile, std::ios::binary);
    for (const std::string& file : files) list << file << '\0';
  }
  const bool haveRg = std::system("rg --version > /dev/null 2>&1") == 0;
  if (!haveRg) std::printf("rg not found (install ripgrep): no comparison\n");

  qm::platform::FileBuffer buffer;
  const auto nothing = [] {};
  const Timing read = Median(
      runs,
      [&] {
        for (const std::u16string& path : paths) qm::platform::ReadFileText(path, &buffer);
      },
      nothing);
  std::printf("reading alone:      %7.1f / %7.1f ms  %6.0f MB/s\n", read.wallMs, read.cpuMs,
              megabytes / read.wallMs * 1e3);
  std::printf("first touch of new memory: %.0f ms per 100 MB\n", FirstTouchMsPer100Mb());

  for (const std::string& needle : needles) {
    const std::u16string needleText = Text(needle);
    std::printf("\"%s\"\n", needle.c_str());
    // A fresh list each run, as a find gets it; freeing the last run's
    // results is not the find's work.
    qm::FindResultList results;
    qm::ResultListSink sink(&results);
    const Timing find = Median(
        runs,
        [&] {
          qm::FileSearcher searcher(needleText, 0);
          for (const std::u16string& path : paths)
            searcher.SearchFile(path, projectFolder, sink);
        },
        [&] { qm::FindResultList().swap(results); });
    std::printf("  file search:      %7.1f / %7.1f ms  %6.0f MB/s  %zu lines\n", find.wallMs,
                find.cpuMs, megabytes / find.wallMs * 1e3, results.size());
    // The same into a list emptied but not freed, whose memory the process
    // has touched before: the part of the time above that is first touches
    // of new memory, which some machines (virtual ones above all) make dear.
    const Timing reused = Median(
        runs,
        [&] {
          qm::FileSearcher searcher(needleText, 0);
          for (const std::u16string& path : paths)
            searcher.SearchFile(path, projectFolder, sink);
        },
        [&] { results.clear(); });
    std::printf("  into a used list: %7.1f / %7.1f ms  %6.0f MB/s\n", reused.wallMs, reused.cpuMs,
                megabytes / reused.wallMs * 1e3);
    LineCounter counter;
    const Timing match = Median(
        runs,
        [&] {
          const qm::SearchNeedle needle(needleText, 0);
          qm::FileTextMatcher matcher(needle);
          for (const std::u16string& path : paths) {
            qm::platform::ReadFileText(path, &buffer);
            const std::string_view text = buffer.bytes();
            matcher.Search(text.substr(0, text.find('\0')), &counter);
          }
        },
        [&] { counter.lines = 0; });
    std::printf("  without the list: %7.1f / %7.1f ms  %6.0f MB/s  %llu lines\n", match.wallMs,
                match.cpuMs, megabytes / match.wallMs * 1e3,
                static_cast<unsigned long long>(counter.lines));
    if (!haveRg) continue;
    for (const bool counts : {false, true}) {
      RgRun rg;
      const Timing rgTime = Median(
          runs, [&] { rg = RunRg(listFile, needle, counts); }, nothing, true);
      std::printf("  rg -j1 %s  %7.1f / %7.1f ms  %6.0f MB/s  %llu lines%s\n",
                  counts ? "-c:       " : "(printed):", rgTime.wallMs, rgTime.cpuMs,
                  megabytes / rgTime.wallMs * 1e3, static_cast<unsigned long long>(rg.lines),
                  rg.ran ? "" : " (rg failed)");
      std::printf("    ratio to it:    %7.2f / %7.2f%s\n", find.wallMs / rgTime.wallMs,
                  find.cpuMs / rgTime.cpuMs,
                  rg.lines == results.size() ? "  (same line count)" : "  (line counts differ)");
    }
  }
  std::remove(listFile.c_str());
  return 0;
}
