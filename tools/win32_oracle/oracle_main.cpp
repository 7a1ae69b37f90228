// The Win32 answers for the generated inputs, one line a case on standard
// output (case_text.h), for the comparer to set beside the POSIX answers.
//
//   win32_oracle [SEED [CASES_PER_FUNCTION]]
#include <windows.h>  // before the others, which need its types

#include <fcntl.h>
#include <io.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "tools/win32_oracle/case_text.h"
#include "tools/win32_oracle/generated_inputs.h"

namespace qm::oracle {
namespace {

std::wstring WideText(const std::string& field) {
  const std::u16string text = UnescapeText(field).value();
  return std::wstring(text.begin(), text.end());
}

std::u16string FromWide(const wchar_t* units, size_t length) {
  return std::u16string(units, units + length);
}

std::string OffsetIn(const wchar_t* haystack, const wchar_t* found) {
  return std::to_string(found == nullptr ? -1 : found - haystack);
}

std::string CompareIgnoringCase(std::span<const std::string> inputs) {
  const int order = ::lstrcmpiW(WideText(inputs[0]).c_str(), WideText(inputs[1]).c_str());
  return std::to_string(order < 0 ? -1 : order > 0 ? 1 : 0);
}

std::string SearchIgnoringCase(std::span<const std::string> inputs) {
  const std::wstring haystack = WideText(inputs[0]);
  return OffsetIn(haystack.c_str(), ::StrStrIW(haystack.c_str(), WideText(inputs[1]).c_str()));
}

std::string SearchMatchingCase(std::span<const std::string> inputs) {
  const std::wstring haystack = WideText(inputs[0]);
  return OffsetIn(haystack.c_str(), ::StrStrW(haystack.c_str(), WideText(inputs[1]).c_str()));
}

std::string MatchPath(std::span<const std::string> inputs) {
  return ::PathMatchSpecW(WideText(inputs[0]).c_str(), WideText(inputs[1]).c_str()) ? "1" : "0";
}

std::string ReadNumber(std::span<const std::string> inputs) {
  return std::to_string(::_wtoi(WideText(inputs[0]).c_str()));
}

// The calendar fields of the date, and the short date text made from them
// with the runtime's formatter, as the User grid shows an expiry date.
std::string SplitDate(std::span<const std::string> inputs) {
  UDATE udate = {};
  if (FAILED(::VarUdateFromDate(UnescapeDate(inputs[0]).value(), 0, &udate))) {
    return FormatCalendarAnswer(std::nullopt);
  }
  const SYSTEMTIME& st = udate.st;
  std::tm time = {};
  time.tm_sec = st.wSecond;
  time.tm_min = st.wMinute;
  time.tm_hour = st.wHour;
  time.tm_mday = st.wDay;
  time.tm_mon = st.wMonth - 1;
  time.tm_year = st.wYear - 1900;
  time.tm_wday = st.wDayOfWeek;
  time.tm_yday = udate.wDayOfYear - 1;
  wchar_t text[256];
  const size_t length = std::wcsftime(text, std::size(text), L"%d/%m/%Y", &time);
  return FormatCalendarAnswer(CalendarAnswer{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                                             st.wSecond, st.wMilliseconds, st.wDayOfWeek,
                                             udate.wDayOfYear, FromWide(text, length)});
}

std::string IsRelative(std::span<const std::string> inputs) {
  return ::PathIsRelativeW(WideText(inputs[0]).c_str()) ? "1" : "0";
}

// An empty input is an error for both converters; it converts to nothing.
std::string Utf8ToUtf16(std::span<const std::string> inputs) {
  const std::string bytes = UnescapeBytes(inputs[0]).value();
  std::wstring text(bytes.size(), L'\0');
  const int written = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(),
                                            static_cast<int>(bytes.size()), text.data(),
                                            static_cast<int>(text.size()));
  return EscapeText(FromWide(text.data(), written > 0 ? static_cast<size_t>(written) : 0));
}

std::string Utf16ToUtf8(std::span<const std::string> inputs) {
  const std::wstring text = WideText(inputs[0]);
  std::string bytes(text.size() * 3, '\0');
  const int written = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                            bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                            nullptr);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return EscapeBytes(bytes);
}

struct Win32Answer {
  std::string_view function;
  std::string (*answer)(std::span<const std::string> inputs);
};

constexpr Win32Answer kAnswers[] = {
    {"lstrcmpiW", CompareIgnoringCase},   {"StrStrIW", SearchIgnoringCase},
    {"StrStrW", SearchMatchingCase},      {"PathMatchSpecW", MatchPath},
    {"_wtoi", ReadNumber},                {"VarUdateFromDate", SplitDate},
    {"PathIsRelativeW", IsRelative},      {"MultiByteToWideChar", Utf8ToUtf16},
    {"WideCharToMultiByte", Utf16ToUtf8},
};

const Win32Answer* AnswerFor(std::string_view function) {
  for (const Win32Answer& entry : kAnswers) {
    if (entry.function == function) return &entry;
  }
  return nullptr;
}

void WriteLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace
}  // namespace qm::oracle

int main(int argc, char** argv) {
  using namespace qm::oracle;
  // Lines end in "\n" alone, as the comparer reads them.
  _setmode(_fileno(stdout), _O_BINARY);
  const uint32_t seed = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10))
                                 : kDefaultSeed;
  const uint32_t cases = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10))
                                  : kDefaultCasesPerFunction;
  const std::span<const FunctionInputs> functions = AllFunctionInputs();
  for (const FunctionInputs& inputs : functions) {
    if (AnswerFor(inputs.function) == nullptr) {
      std::fprintf(stderr, "no Win32 answer for %s\n", std::string(inputs.function).c_str());
      return 2;
    }
  }
  WriteLine(std::string(kSeedTag) + kFieldSeparator + std::to_string(seed) + kFieldSeparator +
            std::to_string(cases));
  uint64_t total = 0;
  for (size_t index = 0; index < functions.size(); ++index) {
    const FunctionInputs& function = functions[index];
    const Win32Answer& win32 = *AnswerFor(function.function);
    CaseRandom random(FunctionSeed(seed, index));
    for (uint32_t n = 0; n < cases; ++n, ++total) {
      const CaseInputs caseInputs = function.make(random);
      std::string line(function.function);
      for (const std::string& field : caseInputs) line += kFieldSeparator + field;
      WriteLine(line + kFieldSeparator + win32.answer(caseInputs));
    }
  }
  WriteLine(std::string(kEndTag) + kFieldSeparator + std::to_string(total));
  return std::fflush(stdout) == 0 ? 0 : 1;
}
