// Reads the oracle's lines, answers each case with our POSIX stand-in and
// reports per function the inputs tried and the differences, grouped by
// kind with a few examples. Exits 1 when a difference is not a known one,
// 2 when the oracle's output is cut or not what the generator makes.
//
//   win32_compare [--examples N] [ORACLE_OUTPUT]   (standard input without
//                                                   a file; 3 examples a kind)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/win32_oracle/case_text.h"
#include "tools/win32_oracle/generated_inputs.h"
#include "tools/win32_oracle/known_differences.h"
#include "tools/win32_oracle/posix_answers.h"

namespace qm::oracle {
namespace {

constexpr std::string_view kUnexpected = "UNEXPECTED";

struct KindTally {
  std::string_view kind;
  uint64_t count = 0;
  std::vector<std::string> examples;
};

struct FunctionTally {
  size_t examplesPerKind = 0;
  std::string_view function;
  std::string_view standIn;
  uint64_t tried = 0;
  uint64_t differences = 0;
  uint64_t unexpected = 0;
  std::vector<KindTally> kinds;

  void Add(std::string_view kind, std::string example) {
    ++differences;
    if (kind == kUnexpected) ++unexpected;
    for (KindTally& tally : kinds) {
      if (tally.kind != kind) continue;
      ++tally.count;
      if (tally.examples.size() < examplesPerKind) tally.examples.push_back(std::move(example));
      return;
    }
    kinds.push_back({kind, 1, {}});
    if (examplesPerKind > 0) kinds.back().examples.push_back(std::move(example));
  }
};

class BadOracleOutput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OracleReader {
 public:
  explicit OracleReader(std::istream& in) : in_(in) {}

  // The fields of the next line, which must start with `expectedTag`; they
  // point into the line, valid until the next call.
  std::vector<std::string_view> NextFields(std::string_view expectedTag) {
    if (!std::getline(in_, line_)) Fail("the output ends early");
    ++lineNumber_;
    std::vector<std::string_view> fields = SplitFields(line_);
    if (fields[0] != expectedTag) Fail("expected a line of " + std::string(expectedTag));
    return fields;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw BadOracleOutput("line " + std::to_string(lineNumber_) + ": " + what);
  }

 private:
  std::istream& in_;
  std::string line_;
  uint64_t lineNumber_ = 0;
};

uint32_t ParseCount(const OracleReader& reader, std::string_view field) {
  uint64_t value = 0;
  if (field.empty() || field.size() > 10) reader.Fail("not a count: " + std::string(field));
  for (char c : field) {
    if (c < '0' || c > '9') reader.Fail("not a count: " + std::string(field));
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) reader.Fail("count too large: " + std::string(field));
  return static_cast<uint32_t>(value);
}

std::string Example(const CaseInputs& inputs, std::string_view windows, std::string_view ours) {
  std::string example;
  for (const std::string& field : inputs) example += "[" + field + "] ";
  return example + "Windows: " + std::string(windows) + "  ours: " + std::string(ours);
}

FunctionTally CompareFunction(OracleReader& reader, const FunctionInputs& function,
                              uint32_t seed, size_t index, uint32_t cases,
                              size_t examplesPerKind) {
  const PosixAnswer* posix = PosixAnswerFor(function.function);
  if (posix == nullptr) reader.Fail("no stand-in for " + std::string(function.function));
  FunctionTally tally;
  tally.examplesPerKind = examplesPerKind;
  tally.function = function.function;
  tally.standIn = posix->standIn;
  CaseRandom random(FunctionSeed(seed, index));
  for (uint32_t n = 0; n < cases; ++n) {
    const CaseInputs inputs = function.make(random);
    const std::vector<std::string_view> fields = reader.NextFields(function.function);
    if (fields.size() != inputs.size() + 2) reader.Fail("wrong number of fields");
    for (size_t k = 0; k < inputs.size(); ++k) {
      if (fields[k + 1] != inputs[k]) reader.Fail("not the generated input " + inputs[k]);
    }
    const std::string_view windows = fields.back();
    const std::string ours = posix->answer(inputs);
    ++tally.tried;
    if (windows == ours) continue;
    const KnownDifference* known =
        ExplainDifference({function.function, inputs, windows, ours});
    tally.Add(known != nullptr ? known->kind : kUnexpected, Example(inputs, windows, ours));
  }
  return tally;
}

void Report(const FunctionTally& tally) {
  std::printf("%s vs %s: %llu inputs, %llu differences (%llu unexpected)\n",
              std::string(tally.function).c_str(), std::string(tally.standIn).c_str(),
              static_cast<unsigned long long>(tally.tried),
              static_cast<unsigned long long>(tally.differences),
              static_cast<unsigned long long>(tally.unexpected));
  for (const KindTally& kind : tally.kinds) {
    std::printf("  %s%s: %llu\n", kind.kind == kUnexpected ? "" : "kept: ",
                std::string(kind.kind).c_str(), static_cast<unsigned long long>(kind.count));
    for (const std::string& example : kind.examples) std::printf("    %s\n", example.c_str());
  }
}

int CompareAll(std::istream& in, size_t examplesPerKind) {
  OracleReader reader(in);
  const std::vector<std::string_view> header = reader.NextFields(kSeedTag);
  if (header.size() != 3) reader.Fail("expected seed and case count");
  const uint32_t seed = ParseCount(reader, header[1]);
  const uint32_t cases = ParseCount(reader, header[2]);
  std::printf("seed %u, %u cases per function\n", seed, cases);
  const std::span<const FunctionInputs> functions = AllFunctionInputs();
  bool allKnown = true;
  uint64_t total = 0;
  for (size_t index = 0; index < functions.size(); ++index) {
    const FunctionTally tally = CompareFunction(reader, functions[index], seed, index, cases,
                                                  examplesPerKind);
    Report(tally);
    allKnown = allKnown && tally.unexpected == 0;
    total += tally.tried;
  }
  const std::vector<std::string_view> end = reader.NextFields(kEndTag);
  if (end.size() != 2 || end[1] != std::to_string(total)) reader.Fail("wrong case total");
  return allKnown ? 0 : 1;
}

}  // namespace
}  // namespace qm::oracle

int main(int argc, char** argv) {
  size_t examplesPerKind = 3;
  int next = 1;
  if (argc > next + 1 && std::string_view(argv[next]) == "--examples") {
    examplesPerKind = std::strtoul(argv[next + 1], nullptr, 10);
    next += 2;
  }
  try {
    if (argc > next) {
      std::ifstream file(argv[next], std::ios::binary);
      if (!file) {
        std::fprintf(stderr, "cannot open %s\n", argv[next]);
        return 2;
      }
      return qm::oracle::CompareAll(file, examplesPerKind);
    }
    return qm::oracle::CompareAll(std::cin, examplesPerKind);
  } catch (const qm::oracle::BadOracleOutput& error) {
    std::fprintf(stderr, "oracle output: %s\n", error.what());
    return 2;
  }
}
