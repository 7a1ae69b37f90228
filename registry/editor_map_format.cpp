#include "registry/editor_map_format.h"

#include <charconv>
#include <string_view>
#include <vector>

#include "platform/unicode_units.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The platform's _atoi64: leading white space, an optional sign, then digits
// up to the first other character; no digits give 0, and a value beyond the
// 64-bit range saturates at the nearer end of it.
int64_t ReadDecimal64(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (magnitude > (limit - digit) / 10) return negative ? INT64_MIN : INT64_MAX;
    magnitude = magnitude * 10 + digit;
  }
  return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

int32_t LowWord(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

void AppendLittleEndian64(uint64_t value, std::string* out) {
  for (int i = 0; i < 8; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The tokens of the entry text (between the first LF and the last byte),
// split at every LF with every empty token kept. False for a malformed
// block; a block whose text starts with CR has no tokens.
bool SplitEntryText(const uint8_t* bytes, uint64_t length, std::vector<std::string>* tokens) {
  tokens->clear();
  const uint8_t first = bytes[kBlockOffset];
  if (first == '\r') return true;
  if (first != '\n') return false;
  // Bytes 9 to N - 2: the last byte, the terminator's place, is left out.
  const uint64_t textStart = kBlockOffset + 1;
  const uint64_t textEnd = length - 1;
  const std::string text(reinterpret_cast<const char*>(bytes) + textStart,
                         textEnd > textStart ? static_cast<size_t>(textEnd - textStart) : 0);
  SplitNarrowText(tokens, text, "\n", 1);
  return tokens->size() % 3 == 0;
}

}  // namespace

bool SerializeEditorMap(const RegistryLock* lock, std::string* block) {
  if (lock == nullptr || block == nullptr) return false;
  const int64_t writer = platform::NamedHandleValue(lock->mapping);
  AppendLittleEndian64(static_cast<uint64_t>(writer), block);
  std::string key;
  for (const auto& [path, editorId] : lock->editors) {
    char digits[22];
    const auto end = std::to_chars(digits, digits + sizeof digits, int64_t{editorId}).ptr;
    block->push_back('\n');
    block->append(digits, end);
    block->append("\n\n");
    TextToBytes(&key, path, kCodePageUtf8, 1);
    block->append(key);
  }
  block->push_back('\r');
  return true;
}

bool ParseEditorMap(const uint8_t* bytes, uint64_t length, RegistryLock* lock) {
  if (bytes == nullptr || lock == nullptr || length < kSmallestBlock) return false;
  lock->editors.clear();
  std::vector<std::string> tokens;
  if (!SplitEntryText(bytes, length, &tokens)) return true;
  std::u16string key;
  for (size_t i = 0; i < tokens.size(); i += 3) {
    BytesToText(&key, tokens[i + 2].c_str(), kCodePageUtf8, 1);
    // Blocks are written in key order, so the end is almost always the
    // place; of two entries with one key the first stays.
    lock->editors.emplace_hint(lock->editors.end(), key, LowWord(ReadDecimal64(tokens[i])));
  }
  return true;
}

bool IsWholeBlock(const uint8_t* bytes, uint64_t length) {
  if (bytes == nullptr || length < kSmallestBlock || bytes[length - 1] != '\r') return false;
  if (bytes[kBlockOffset] == '\r') return length == kSmallestBlock;
  std::vector<std::string> tokens;
  if (!SplitEntryText(bytes, length, &tokens)) return false;
  for (size_t i = 2; i < tokens.size(); i += 3) {
    if (!platform::IsWellFormedUtf8(tokens[i])) return false;
  }
  return true;
}

}  // namespace qm
