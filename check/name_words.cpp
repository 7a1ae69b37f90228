#include "check/name_words.h"

#include "find/word_characters.h"
#include "platform/text_case.h"
#include "platform/unicode_units.h"

namespace qm {
namespace {

// The code point at `at` and its length in units; U+FFFD for a lone
// surrogate, which is no word character.
char32_t CodePointAt(std::u16string_view text, size_t at, size_t* length) {
  const char16_t unit = text[at];
  *length = 1;
  if (!platform::IsSurrogate(unit)) return unit;
  if (platform::IsLeadSurrogate(unit) && at + 1 < text.size() &&
      platform::IsTrailSurrogate(text[at + 1])) {
    *length = 2;
    return platform::CodePointOfPair(unit, text[at + 1]);
  }
  return platform::kReplacementCharacter;
}

// Most text is ASCII: its word characters are told without a call.
bool IsWordAt(std::u16string_view text, size_t at, size_t* length) {
  const char16_t unit = text[at];
  if (unit < 0x80) {
    *length = 1;
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
           (unit >= u'0' && unit <= u'9') || unit == u'_';
  }
  return IsWordCharacter(CodePointAt(text, at, length));
}

uint64_t LengthBit(size_t length) { return uint64_t{1} << (length < 63 ? length : 63); }

}  // namespace

size_t WordRunEnd(std::u16string_view text, size_t at) {
  size_t length = 0;
  while (at < text.size() && IsWordAt(text, at, &length)) at += length;
  return at;
}

void NameWordIndex::Add(std::u16string_view name) {
  const auto index = static_cast<uint32_t>(names_.size());
  const auto [entry, isNew] = byText_.emplace(name, index);
  entryOf_.push_back(entry->second);
  if (!isNew) return;
  names_.push_back({name, 0, kNone, true});
  if (name.empty() || name.find_first_of(u"\r\n") != std::u16string_view::npos) return;
  Name& added = names_.back();
  added.named = false;
  ++unnamed_;
  size_t at = 0;
  size_t length = 0;
  while (at < name.size() && !IsWordAt(name, at, &length)) at += length;
  if (at == name.size()) {
    wordless_.push_back(index);
    return;
  }
  const size_t end = WordRunEnd(name, at);
  added.runOffset = static_cast<uint32_t>(at);
  const auto [filed, first] = byFirstRun_.emplace(name.substr(at, end - at), index);
  if (!first) {
    added.next = filed->second;
    filed->second = index;
  }
  runLengths_ |= LengthBit(end - at);
}

void NameWordIndex::MarkAt(std::u16string_view text, size_t start, Name* name) {
  if (name->named || text.compare(start, name->text.size(), name->text) != 0) return;
  if (!IsWholeWordAt(text, start, name->text.size())) return;
  name->named = true;
  --unnamed_;
}

void NameWordIndex::MarkNamedIn(std::u16string_view text) {
  if (unnamed_ == 0) return;
  size_t at = 0;
  size_t length = 0;
  while (at < text.size()) {
    if (!IsWordAt(text, at, &length)) {
      at += length;
      continue;
    }
    const size_t end = WordRunEnd(text, at);
    if ((runLengths_ & LengthBit(end - at)) != 0) {
      const auto filed = byFirstRun_.find(text.substr(at, end - at));
      if (filed != byFirstRun_.end()) {
        // A name once named leaves its list, so that the lists of common
        // first runs shrink as the files are read.
        for (uint32_t* link = &filed->second; *link != kNone;) {
          Name& name = names_[*link];
          if (name.runOffset <= at) MarkAt(text, at - name.runOffset, &name);
          if (name.named) {
            *link = name.next;
          } else {
            link = &name.next;
          }
        }
      }
    }
    at = end;
  }
  for (uint32_t i : wordless_) {
    Name& name = names_[i];
    for (size_t found = platform::FindText(text, name.text); !name.named && found != text.npos;
         found = text.find(name.text, found + 1)) {
      MarkAt(text, found, &name);
    }
  }
}

}  // namespace qm
