#include "analysis/LinkDictionary.h"

#include "text/TextFile.h"

LinkDictionary::LinkDictionary() = default;

LinkDictionary::~LinkDictionary() { Clear(); }

void LinkDictionary::Clear() { entries_.clear(); }

const LinkDictionary::Entry* LinkDictionary::pGetEntry(int index) const {
  if (index < 0 || index >= GetCount())
    return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

LinkDictionary::Entry* LinkDictionary::FindByMatch(const TextString& match) {
  for (Entry& entry : entries_) {
    if (entry.match.EqualsText(match, 1, 0))
      return &entry;
  }
  return nullptr;
}

int LinkDictionary::AddOrUpdate(FileControl& /*fc*/, const TextString& match,
                                const TextString& replacement, const TextString& url,
                                const TextString& anchorText, const TextPosition& first,
                                const TextPosition& second) {
  // An entry without an address links nowhere.
  if (match.IsEmpty() || url.IsEmpty())
    return 0;
  Entry* entry = FindByMatch(match);
  if (entry == nullptr) {
    entries_.emplace_back();
    entry = &entries_.back();
    entry->match = match;
  }
  entry->replacement = replacement;
  entry->url = url;
  entry->anchorText = anchorText;
  entry->first = first;
  entry->second = second;
  entry->active = true;
  return 1;
}

int LinkDictionary::ParseDefinition(FileControl& fc, const TextString& line, int /*rebuild*/) {
  TextString match;
  TextString replacement;
  TextString url;
  if (!line.GetField(2, '"', match) || !line.GetField(4, '"', replacement) ||
      !line.GetField(6, '"', url))
    return 0;
  return AddOrUpdate(fc, match, replacement, url, TextString(), TextPosition(), TextPosition());
}

int LinkDictionary::LoadFile(FileControl& fc, const TextString& path, TextString& errorText) {
  TextFile file;
  if (!file.OpenForRead(path.GetText(), 0)) {
    errorText = "** Failed to open Link Dictionary file ";
    errorText.Append(path);
    errorText.Append(" ***");
    return 0;
  }
  TextString line;
  int overLong = 0;
  while (file.ReadLine(line, &overLong)) {
    line.Trim();
    if (line.IsEmpty() || line.CharAt(0) == '!' || line.CharAt(0) == '[')
      continue;
    (void)ParseDefinition(fc, line, 0);
  }
  file.CloseAll();
  return 1;
}

int LinkDictionary::Write(const TextString& fileName, TextFile& writer) const {
  if (!writer.IsOpen() && !writer.OpenForWrite(fileName.GetText(), 0, 0))
    return 0;
  TextString line;
  for (const Entry& entry : entries_) {
    if (!entry.active)
      continue;
    line = "Link definition: \"";
    line.Append(entry.match);
    line.Append("\" = \"");
    line.Append(entry.replacement);
    line.Append("\" + \"");
    line.Append(entry.url);
    line.Append("\"");
    if (!writer.WriteText(line.GetText()))
      return 0;
  }
  return 1;
}

void LinkDictionary::AddAll(FileControl& fc, const LinkDictionary& other) {
  for (const Entry& entry : other.entries_)
    (void)AddOrUpdate(fc, entry.match, entry.replacement, entry.url, entry.anchorText,
                      entry.first, entry.second);
}

int LinkDictionary::Apply(FileControl& /*fc*/, const TextString& text, TextString& result) const {
  result = text;
  for (const Entry& entry : entries_) {
    if (entry.active)
      return 0;
  }
  return 1;
}
