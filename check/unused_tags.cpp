#include "check/unused_tags.h"

#include <algorithm>
#include <string>
#include <vector>

#include "check/name_words.h"
#include "files/file_manager.h"
#include "find/files/utf8_decode.h"
#include "find/searched_files.h"
#include "platform/file_read.h"

namespace qm {
namespace {

std::u16string Decimal(int64_t value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

// Marks the names that each searched file holds, reading each file once;
// reports the files that cannot be read. False when the sink ended the
// check.
bool MarkNamedInFiles(const std::u16string& folder, const FileNameSet& names,
                      NameWordIndex* index, FindingSink* sink) {
  platform::FileBuffer buffer;
  std::u16string text;
  for (const std::u16string& name : names) {
    if (index->AllNamed()) return true;
    const platform::FileReadStatus read = platform::ReadFileText(folder + name, &buffer);
    if (!read.ok()) {
      const CheckFinding finding = FileFinding(
          CheckKind::kUnreadFile, name,
          u"cannot be read (system error " + Decimal(read.systemError) +
              u"): the tags it names may be reported as unused");
      if (!sink->Take(finding)) return false;
      continue;
    }
    const std::string_view bytes = buffer.bytes();
    text.resize(bytes.size());
    text.resize(DecodeUtf8(bytes, text.data()));
    index->MarkNamedIn(text);
  }
  return true;
}

}  // namespace

bool ReportUnusedTags(const IoTagTable& tags, std::span<const int32_t> referenced,
                      CFileManager* files, FindingSink* sink) {
  std::vector<const IoTagRecord*> candidates;
  for (const auto& [key, tag] : tags) {
    if (!std::binary_search(referenced.begin(), referenced.end(), tag.head.id)) {
      candidates.push_back(&tag);
    }
  }
  if (candidates.empty()) return true;
  FileNameSet names;
  if (files != nullptr) files->GetAllFiles(&names, &SearchedFileTypes(), nullptr, 0);
  // Without text files there is nothing to index: a project of a million
  // tags and no pages pays for none of it.
  NameWordIndex index;
  const bool searched = !names.empty();
  if (searched) {
    for (const IoTagRecord* tag : candidates) index.Add(tag->head.name);
    if (!MarkNamedInFiles(files->projectFolder(), names, &index, sink)) return false;
  }
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (searched && index.Named(i)) continue;
    const IoTagRecord& tag = *candidates[i];
    const CheckFinding finding =
        RecordFinding(CheckKind::kUnusedTag, kTableIoTags, tag.head, {},
                      u"no record refers to the tag and no project text file names it");
    if (!sink->Take(finding)) return false;
  }
  return true;
}

}  // namespace qm
