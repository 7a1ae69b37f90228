// The masked pattern's prefilters, the wide one where the processor has
// it and the sixteen-byte one, against a check of every start: small
// alphabets make matches and near-misses everywhere, at block edges and
// at the last start.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "find/files/masked_pattern.h"

namespace qm {
namespace {

size_t FindEveryStart(const std::string& text, const std::string& elements,
                      const std::string& orBits, size_t from, size_t end) {
  for (size_t start = from; start + elements.size() <= end; ++start) {
    bool matches = true;
    for (size_t i = 0; i < elements.size() && matches; ++i) {
      matches = static_cast<char>(text[start + i] | orBits[i]) == elements[i];
    }
    if (matches) return start;
  }
  return MaskedPattern<char>::npos;
}

TEST(MaskedPattern, FindsTheFirstStartAsACheckOfEveryStart) {
  std::mt19937 random(11);
  for (int round = 0; round < 4000; ++round) {
    const char* const alphabet = round % 2 == 0 ? "aAbB" : "aAbBxyz\n";
    const size_t letters = round % 2 == 0 ? 4 : 8;
    std::string text(random() % 400, ' ');
    for (char& c : text) c = alphabet[random() % letters];
    std::string elements(1 + random() % (round % 3 == 0 ? 40 : 4), ' ');
    std::string orBits(elements.size(), '\0');
    for (size_t i = 0; i < elements.size(); ++i) {
      elements[i] = "abxz\n"[random() % 5];
      if (elements[i] >= 'a' && random() % 2 == 0) orBits[i] = 0x20;  // either case
    }
    const size_t end = text.empty() ? 0 : text.size() - random() % (text.size() / 4 + 1);
    const size_t from = end == 0 ? 0 : random() % (end + 1);
    // The pattern planted across the end, where no start may find it, or
    // just before it.
    const size_t planted = end + random() % elements.size();
    if (planted >= elements.size() && planted <= text.size()) {
      for (size_t i = 0; i < elements.size(); ++i) {
        const bool otherCase = orBits[i] != 0 && random() % 2 == 0;
        text[planted - elements.size() + i] = static_cast<char>(elements[i] - (otherCase ? 0x20 : 0));
      }
    }
    const MaskedPattern<char> pattern(elements, orBits);
    const size_t expected = FindEveryStart(text, elements, orBits, from, end);
    ASSERT_EQ(pattern.Find(text.data(), from, end, nullptr), expected) << round;
    ASSERT_EQ(pattern.Find(text.data(), from, end), expected) << round;
  }
}

}  // namespace
}  // namespace qm
