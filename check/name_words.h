// Which of many names a text holds as whole words with the same letter
// case, the rule by which the usages of a record find it in a text file,
// in one pass over the text whatever the number of names.
//
// A name is filed under its first run of word characters (find/
// word_characters.h). Where a name stands as a whole word, that run is a
// whole run of the text too: the character before it is the name's own
// non-word character or, at the name's start, a non-word character of the
// text, and so is the one after it. So the text is cut into its word runs,
// each run is looked up once, and only the names filed under it are
// compared at that place. A name without any word character ("--") has no
// run to file it under; the few such names are searched for one by one.
#ifndef QMPECORE_CHECK_NAME_WORDS_H_
#define QMPECORE_CHECK_NAME_WORDS_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm {

// The end of the run of word characters that starts at `at` (`at` itself
// when the character there is none). A lone surrogate is no word character.
size_t WordRunEnd(std::u16string_view text, size_t at);

class NameWordIndex {
 public:
  NameWordIndex() = default;
  NameWordIndex(const NameWordIndex&) = delete;
  NameWordIndex& operator=(const NameWordIndex&) = delete;

  // Adds a name as number size() - 1. The name's text must outlive the
  // index. An empty name, or one with a line break, is never named: no
  // line of a file can hold it. Names of the same text share one entry,
  // so that a text is looked for once however many records bear it.
  void Add(std::u16string_view name);
  size_t size() const { return entryOf_.size(); }

  // Marks every name that `text` holds as a whole word with the same case.
  void MarkNamedIn(std::u16string_view text);
  bool Named(size_t index) const { return names_[entryOf_[index]].named; }
  // True once every name that can be named has been.
  bool AllNamed() const { return unnamed_ == 0; }

 private:
  struct Name {
    std::u16string_view text;
    uint32_t runOffset;  // where its first word run starts in it
    uint32_t next;       // the next name filed under the same run, or kNone
    bool named;
  };
  static constexpr uint32_t kNone = UINT32_MAX;

  void MarkAt(std::u16string_view text, size_t start, Name* name);

  std::vector<Name> names_;       // one per distinct text
  std::vector<uint32_t> entryOf_;  // by added name, its entry in names_
  std::unordered_map<std::u16string_view, uint32_t> byText_;
  // First word run to the first name filed under it.
  std::unordered_map<std::u16string_view, uint32_t> byFirstRun_;
  std::vector<uint32_t> wordless_;  // names without a word character
  // Bit n set when some first run is n units long (the last bit: 63 or
  // more), so that most runs of a text need no lookup at all.
  uint64_t runLengths_ = 0;
  size_t unnamed_ = 0;
};

}  // namespace qm

#endif  // QMPECORE_CHECK_NAME_WORDS_H_
