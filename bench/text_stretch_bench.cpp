// The counting of lines and UTF-16 units in the raw text of project files
// (MeasureStretch over each whole file), with the sixteen-byte code alone
// and with the processor's wide counter of plain ASCII chunks.
//
//   build/release/bench/text_stretch_bench FOLDER [RUNS]
//   build/release/bench/text_stretch_bench FOLDER --once sixteen|wide
//
// Every regular file under FOLDER but the project file is read into memory
// first. The first form prints, for each way, the median MB/s of RUNS
// (default 7) passes over all the text and the totals, which must agree.
// The second makes one pass, for bench/text_stretch_instructions.sh to
// count its instructions per byte.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "find/files/text_stretch.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ReadTexts(const fs::path& folder, size_t* bytes) {
  std::vector<std::string> texts;
  *bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".qmp") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    *bytes += texts.back().size();
  }
  return texts;
}

struct Totals {
  uint64_t units = 0;
  uint64_t breaks = 0;
};

Totals MeasureAll(const std::vector<std::string>& texts, qm::WideRunCounter counter) {
  Totals totals;
  for (const std::string& text : texts) {
    const qm::Stretch stretch = qm::MeasureStretch(text.data(), 0, text.size(), text.size(), counter);
    totals.units += stretch.units;
    totals.breaks += stretch.breaks;
  }
  return totals;
}

double Seconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [RUNS | --once sixteen|wide]\n", argv[0]);
    return 2;
  }
  size_t bytes = 0;
  const std::vector<std::string> texts = ReadTexts(argv[1], &bytes);
  const qm::WideRunCounter wide = qm::ProcessorWideRunCounter();
  if (argc == 4 && std::strcmp(argv[2], "--once") == 0) {
    const bool useWide = std::strcmp(argv[3], "wide") == 0;
    if (useWide && wide == nullptr) {
      std::fprintf(stderr, "this processor has no wide counter\n");
      return 1;
    }
    const Totals totals = MeasureAll(texts, useWide ? wide : nullptr);
    std::printf("%zu bytes %llu units %llu breaks\n", bytes,
                static_cast<unsigned long long>(totals.units),
                static_cast<unsigned long long>(totals.breaks));
    return 0;
  }
  const int runs = argc >= 3 ? std::max(1, std::atoi(argv[2])) : 7;
  std::printf("%zu files, %.1f MB\n", texts.size(), static_cast<double>(bytes) / 1e6);
  struct Way {
    const char* name;
    qm::WideRunCounter counter;
  };
  for (const Way& way : {Way{"sixteen-byte", nullptr}, Way{"wide (AVX2)", wide}}) {
    if (way.counter == nullptr && way.name[0] == 'w') {
      std::printf("%-13s not on this processor\n", way.name);
      continue;
    }
    std::vector<double> seconds;
    Totals totals;
    for (int run = 0; run < runs; ++run) {
      const double start = Seconds();
      totals = MeasureAll(texts, way.counter);
      seconds.push_back(Seconds() - start);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%-13s %8.0f MB/s  %llu units  %llu breaks\n", way.name,
                static_cast<double>(bytes) / 1e6 / seconds[seconds.size() / 2],
                static_cast<unsigned long long>(totals.units),
                static_cast<unsigned long long>(totals.breaks));
  }
  return 0;
}
