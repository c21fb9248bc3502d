#include "engine/HeadingList.h"

#include <cstdlib>

#include "engine/HeadingLinks.h"
#include "engine/HtmlTags.h"
#include "engine/Context.h"
#include "policy/ConversionOptions.h"
#include "policy/FileControl.h"
#include "text/StatementTypes.h"

// Characters that never take part in a comparison of heading texts: markup, quotes and the
// emphasis and bracket characters authors put around words.
static bool IsKeyDroppedChar(char c) {
  switch (c) {
    case '<':
    case '>':
    case '&':
    case '`':
    case '\'':
    case '"':
    case '*':
    case '_':
    case '(':
    case ')':
    case '[':
    case ']':
      return true;
    default:
      return false;
  }
}

static bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

void MakeHeadingKey(int outputType, const TextString& text, TextString& key) {
  if (text.IsEmpty()) {
    key.SetEmpty();
    return;
  }
  key.Assign(text);
  key.ConvertWindowsPunctuation(outputType == kOutputHtml ? 1 : 0);
  char* buffer = key.GetBuffer();
  int out = 0;
  for (int i = 0; i < key.GetLength(); ++i) {
    if (!IsKeyDroppedChar(buffer[i]))
      buffer[out++] = buffer[i];
  }
  buffer[out] = '\0';
  key.SetLength(out);
  key.Trim();
  key.CollapseBlanks();
  key.ToLower();
}

void MakeHeadingKey(Context& ctx, const TextString& text, TextString& key) {
  MakeHeadingKey(ctx.GetOutputType(), text, key);
}

int ContentsTypeToHeadingType(int type) {
  if (IsContentsHeadingType(type))
    return type - (kTypeContentsHeading1 - kTypeHeading1);
  return type;
}

// ---- HeadingEntry ----

// Exact: same length, ASCII case ignored. Loose: same length, blanks and tabs skipped too.
static bool KeysMatch(const TextString& entryKey, const TextString& key, int loose) {
  return entryKey.EqualsText(key, 0, loose);
}

int HeadingEntry::MatchText(int looseness, int level, const TextString& /*text*/,
                            const TextString& key) const {
  if (key.IsEmpty())
    return 0;
  const bool useLineKey = lineKeySame == 0;
  const bool usePlainKey = plainKeySame == 0;
  const bool useLinkKey = level == 1 && linkKeySame == 0 && !linkKey.IsEmpty();
  const int passes = looseness == 1 ? 2 : 1;
  for (int loose = 0; loose < passes; ++loose) {
    if (KeysMatch(textKey, key, loose))
      return 1;
    if (useLineKey && KeysMatch(lineKey, key, loose))
      return 1;
    if (usePlainKey && KeysMatch(plainKey, key, loose))
      return 1;
    if (useLinkKey && KeysMatch(linkKey, key, loose))
      return 1;
  }
  return 0;
}

// ---- HeadingList ----

// The index form of a key: blanks and tabs removed, ASCII lower case. Two keys that match
// exactly or loosely always share it.
static std::string StrippedKey(const TextString& key) {
  std::string stripped;
  stripped.reserve(static_cast<std::size_t>(key.GetLength()));
  for (int i = 0; i < key.GetLength(); ++i) {
    const char c = key.CharAt(i);
    if (IsBlankOrTab(c))
      continue;
    stripped.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return stripped;
}

static void CollapseAndTrim(TextString& text) {
  text.CollapseBlanks();
  text.Trim();
}

static int SameKey(const TextString& a, const TextString& b) {
  return a.EqualsText(b, 1, 0) ? 1 : 0;
}

// The heading text as a warning shows it: trimmed, and cut to 17 characters and "..." when
// longer than 20.
static TextString ShortHeadingText(const TextString& text) {
  TextString shown(text);
  shown.Trim();
  if (shown.GetLength() > 20) {
    shown.Truncate(17);
    shown.Append("...");
  }
  return shown;
}

HeadingEntry* HeadingList::GetEntry(int i) {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return entries_[static_cast<std::size_t>(i)].get();
}

const HeadingEntry* HeadingList::GetEntry(int i) const {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return entries_[static_cast<std::size_t>(i)].get();
}

void HeadingList::Clear() {
  std::vector<std::unique_ptr<HeadingEntry>>().swap(entries_);
  capacity_ = 0;
  byStrippedKey_.clear();
  byLine_.clear();
  bySectionNumber_.clear();
}

// The index form of a kind and section number.
static std::string SectionNumberKey(int kind, const TextString& number) {
  std::string key = std::to_string(kind);
  key.push_back(':');
  for (int i = 0; i < number.GetLength(); ++i) {
    const char c = number.CharAt(i);
    key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return key;
}

void HeadingList::MakeRoomFor(int index) {
  if (index < capacity_)
    return;
  capacity_ = ((index + 1) / kGrowthStep + 1) * kGrowthStep;
  entries_.reserve(static_cast<std::size_t>(capacity_));
}

void HeadingList::IndexEntry(int index) {
  const HeadingEntry& entry = *entries_[static_cast<std::size_t>(index)];
  for (const TextString* key : {&entry.textKey, &entry.lineKey, &entry.plainKey, &entry.linkKey}) {
    if (key->IsEmpty())
      continue;
    std::vector<int>& places = byStrippedKey_[StrippedKey(*key)];
    if (places.empty() || places.back() != index)
      places.push_back(index);
  }
  byLine_[entry.position.GetLine()].push_back(index);
  if (!entry.sectionNumber.IsEmpty())
    bySectionNumber_.try_emplace(SectionNumberKey(entry.kind, entry.sectionNumber), index);
}

HeadingList::ScanResult HeadingList::Scan(const TextString& key, int looseness, int level,
                                          int usePosition,
                                          const TextPosition& position) const {
  ScanResult result;
  if (key.IsEmpty())
    return result;
  // Only entries that share the stripped key can match: this keeps matching every contents
  // line against every heading from being quadratic, while the candidates are still visited
  // in list order.
  const auto found = byStrippedKey_.find(StrippedKey(key));
  if (found == byStrippedKey_.end())
    return result;
  const bool filterByColumn = usePosition != 0 && position.GetColumn() > 0;
  for (int index : found->second) {
    const HeadingEntry& entry = *entries_[static_cast<std::size_t>(index)];
    const bool sameLine = entry.position.GetLine() == position.GetLine();
    const int columnDistance = std::abs(entry.position.GetColumn() - position.GetColumn());
    if (filterByColumn && sameLine && columnDistance > 100)
      continue;
    if (entry.MatchText(looseness, level, key, key) == 0)
      continue;
    ++result.count;
    if (usePosition != 0 && sameLine && columnDistance > 6) {
      result.farIndex = index;
      continue;
    }
    if (result.nearIndex < 0)
      result.nearIndex = index;
  }
  return result;
}

HeadingEntry* HeadingList::FindBestMatch(Context& ctx, const TextString& text,
                                         const TextString& alternative, int usePosition,
                                         const TextPosition& position, int& index, int& count) {
  index = -1;
  count = 0;
  if (entries_.empty())
    return nullptr;
  TextString key1;
  TextString key2;
  MakeHeadingKey(ctx, text, key1);
  MakeHeadingKey(ctx, alternative, key2);
  // Three words or more may differ in their spacing.
  const int looseness = key1.CountChar(' ') >= 2 ? 1 : 0;
  const ScanResult first =
      Scan(key1, looseness, alternative.IsEmpty() ? 1 : 0, usePosition, position);
  count = first.count;
  ScanResult second;
  if (first.nearIndex < 0 && !key1.Equals(key2)) {
    second = Scan(key2, looseness, 1, usePosition, position);
    count = second.count;
  }
  if (first.nearIndex >= 0)
    index = first.nearIndex;
  else if (second.nearIndex >= 0)
    index = second.nearIndex;
  else if (first.farIndex >= 0)
    index = first.farIndex;
  else
    index = second.farIndex;
  return GetEntry(index);
}

HeadingEntry* HeadingList::FindAtPosition(Context& /*ctx*/, const TextPosition& position,
                                          int& index) {
  index = -1;
  if (position.GetLine() < 0 || position.GetColumn() <= 0)
    return nullptr;
  const auto found = byLine_.find(position.GetLine());
  if (found == byLine_.end())
    return nullptr;
  for (int place : found->second) {
    if (entries_[static_cast<std::size_t>(place)]->position.GetColumn() != position.GetColumn())
      continue;
    index = place;
    return GetEntry(place);
  }
  return nullptr;
}

HeadingEntry* HeadingList::FindLastBefore(const TextPosition& position, int& index) {
  index = -1;
  const auto found = byLine_.find(position.GetLine());
  if (found == byLine_.end())
    return nullptr;
  for (int place : found->second) {
    if (entries_[static_cast<std::size_t>(place)]->position.GetColumn() > position.GetColumn())
      break;
    index = place;
  }
  return GetEntry(index);
}

HeadingEntry* HeadingList::FindBySectionNumber(int kind, const TextString& number, int& index) {
  index = -1;
  if (number.IsEmpty())
    return nullptr;
  const auto found = bySectionNumber_.find(SectionNumberKey(kind, number));
  if (found == bySectionNumber_.end())
    return nullptr;
  index = found->second;
  return GetEntry(index);
}

HeadingEntry* HeadingList::FindByTextKey(int kind, const TextString& key, int& index) {
  index = -1;
  if (key.IsEmpty())
    return nullptr;
  // Equal keys share their stripped form, so the candidates come from that index.
  const auto found = byStrippedKey_.find(StrippedKey(key));
  if (found == byStrippedKey_.end())
    return nullptr;
  for (const int place : found->second) {
    const HeadingEntry& entry = *entries_[static_cast<std::size_t>(place)];
    if (entry.kind != kind || !entry.textKey.EqualsText(key, 0, 0))
      continue;
    index = place;
    return GetEntry(place);
  }
  return nullptr;
}

int HeadingList::AddHeading(Context& ctx, int type, const TextString& lineText,
                            const TextString& headingText, const TextString& linkName,
                            const TextPosition& position, const TextString& firstExtra,
                            const TextString& secondExtra, const TextString& thirdExtra) {
  FileControl& control = ctx.GetFileControl();

  // 1. The file part, and the link name that rule sets prefix with it. File name tags are
  // read on the contents pass, where the headings are registered.
  TaggedFileDetails fileDetails;
  if (ctx.ContentsPass != 0)
    GetTaggedFileDetails(control, fileDetails);
  TextString filePart(ctx.InputBaseName);
  if (!fileDetails.baseName.IsEmpty())
    filePart = fileDetails.baseName;
  else if (!fileDetails.secondBaseName.IsEmpty())
    filePart = fileDetails.secondBaseName;
  TextString link;
  if (control.GetRuleSet() == 1 || control.GetRuleSet() == 2) {
    link.Assign(filePart);
    link.AppendChar('_');
  }
  link.Append(linkName);

  // 2. The duplicate check.
  int duplicates = 0;
  if (duplicateCheckOff == 0) {
    int foundIndex = -1;
    const HeadingEntry* found =
        FindBestMatch(ctx, headingText, link, 1, TextPosition(), foundIndex, duplicates);
    if (found != nullptr) {
      const TextPosition& at = found->position;
      if (at.GetLine() == position.GetLine() && at.GetColumn() == position.GetColumn())
        return 0;
      TextString message("WARNING: ");
      message.AppendNumber('1', duplicates, 0);
      message.Append(" duplicate heading(s) \"");
      message.Append(ShortHeadingText(headingText));
      message.Append("\" found at ");
      message.AppendNumber('1', at.GetLine(), 0);
      message.AppendChar('/');
      message.AppendNumber('1', at.GetColumn(), 0);
      message.Append(" and ");
      message.AppendNumber('1', position.GetLine(), 0);
      message.AppendChar('/');
      message.AppendNumber('1', position.GetColumn(), 0);
      control.ReportMessage(message.GetText(), 5);
    }
  }

  // 3. The entry with its texts and keys.
  auto entry = std::make_unique<HeadingEntry>();
  entry->kind = type;
  entry->lineText.Assign(lineText);
  CollapseAndTrim(entry->lineText);
  entry->headingText.Assign(headingText);
  CollapseAndTrim(entry->headingText);
  entry->unnumberedText.Assign(entry->headingText);
  TextString firstWord;
  entry->headingText.GetField(1, ' ', firstWord);
  if (IsLevelHeadingType(type) && !firstWord.IsEmpty()) {
    int at = -1;
    if (entry->unnumberedText.Find(0, firstWord.GetText(), &at, 1, 0))
      entry->unnumberedText.ReplaceSpan(at, firstWord.GetLength(), "");
    entry->unnumberedText.Trim();
  }
  entry->linkName.Assign(link);
  CollapseAndTrim(entry->linkName);

  MakeHeadingKey(ctx, entry->lineText, entry->lineKey);
  MakeHeadingKey(ctx, entry->headingText, entry->textKey);
  MakeHeadingKey(ctx, entry->unnumberedText, entry->unnumberedKey);
  MakeHeadingKey(ctx, entry->linkName, entry->linkKey);
  ConversionOptions options;
  SetHeadingTagOptions(options);
  TextString plainText;
  (void)DetectTags(ctx, options, kDetectDecodeEntities, entry->lineText, plainText);
  MakeHeadingKey(ctx, plainText, entry->plainKey);

  entry->sectionNumber.Assign(firstWord);
  TidySectionNumber(entry->sectionNumber);
  entry->headingText.GetField(2, ' ', entry->secondWord);
  TidySectionNumber(entry->secondWord);

  entry->lineKeySame = SameKey(entry->lineKey, entry->textKey);
  entry->unnumberedKeySame = SameKey(entry->unnumberedKey, entry->textKey);
  entry->linkKeySame = SameKey(entry->linkKey, entry->textKey);
  entry->plainKeySame = SameKey(entry->plainKey, entry->textKey);

  entry->firstExtra.Assign(firstExtra);
  entry->secondExtra.Assign(secondExtra);
  entry->thirdExtra.Assign(thirdExtra);

  // 4. A duplicate gets a link name of its own.
  if (duplicates > 0) {
    entry->duplicateCount = duplicates;
    entry->linkName.AppendChar('_');
    entry->linkName.AppendNumber('1', duplicates, 0);
  }

  // 5. Place and append.
  entry->filePart.Assign(filePart);
  entry->position = position;
  MakeRoomFor(GetCount() + 1);
  entries_.push_back(std::move(entry));
  entries_.back()->id = GetCount();
  IndexEntry(GetCount() - 1);
  return 1;
}
