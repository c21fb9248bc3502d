#include "text/StringList.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

static constexpr int kGrowthBlock = 256;

static signed char FoldUpper(char c) {
  if (c >= 'a' && c <= 'z')
    return static_cast<signed char>(c - 'a' + 'A');
  return static_cast<signed char>(c);
}

int StringHash(const char* text) {
  if (text == nullptr)
    return 0;
  // Unsigned arithmetic so that long texts wrap instead of overflowing.
  std::uint32_t sum = 0;
  std::uint32_t k = 0;
  for (const char* p = text; *p != '\0'; ++p, k += 2) {
    const std::uint32_t term = static_cast<std::uint32_t>(static_cast<int>(FoldUpper(*p))) + k;
    sum += term * term;
  }
  return static_cast<int>(sum);
}

// The key of an entry in the index: a hash of the text with a-z folded, as the comparison
// folds them. The list's own hash (StringHash) sums squares and gives equal values to texts
// that differ only in the order of their characters, so it would pile many entries onto
// one key.
static std::size_t IndexKey(const TextString& text) {
  std::uint64_t h = 14695981039346656037ULL;
  const char* p = text.GetText();
  for (int i = 0; i < text.GetLength(); ++i) {
    h ^= static_cast<unsigned char>(FoldUpper(p[i]));
    h *= 1099511628211ULL;
  }
  return static_cast<std::size_t>(h);
}

static bool SameText(const TextString& a, const TextString& b) {
  return a.GetLength() == b.GetLength() && a.EqualsText(b, 0, 0);
}

void StringList::Clear() {
  items_.clear();
  items_.shrink_to_fit();
  spare_.clear();
  spare_.shrink_to_fit();
  IndexMap().swap(index_);
  capacity_ = 0;
  totalLength_ = 0;
}

StringListEntry* StringList::GetItem(int i) {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return items_[static_cast<size_t>(i)].get();
}

const StringListEntry* StringList::GetItem(int i) const {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return items_[static_cast<size_t>(i)].get();
}

void StringList::Grow() {
  const int wanted = GetCount() + 1;
  if (wanted < capacity_)
    return;
  // The reported capacity grows by blocks; the storage itself is left to grow geometrically,
  // since reserving each block exactly would copy the whole list every 256 entries.
  capacity_ = ((wanted + 1) / kGrowthBlock + 1) * kGrowthBlock;
}

std::unique_ptr<StringListEntry> StringList::MakeEntry(const char* text) {
  std::unique_ptr<StringListEntry> entry;
  if (spare_.empty()) {
    entry = std::make_unique<StringListEntry>();
  } else {
    entry = std::move(spare_.back());
    spare_.pop_back();
    entry->count = 1;
    entry->hash = 0;
  }
  entry->text.Assign(text != nullptr ? text : "");
  if (indexKept_)
    entry->hash = StringHash(entry->text.GetText());
  return entry;
}

void StringList::AddIndexPair(std::size_t key, int item) {
  // An insertion inside the list shifts the positions of the entries after it.
  if (item < GetCount()) {
    for (auto& pair : index_) {
      if (pair.second >= item)
        ++pair.second;
    }
  }
  index_.emplace(key, item);
}

int StringList::Append(const char* text) {
  auto entry = MakeEntry(text);
  const int length = entry->text.GetLength();
  if (!duplicatesAllowed_) {
    int found = -1;
    if (Find(entry->text, &found)) {
      ++items_[static_cast<size_t>(found)]->count;
      spare_.push_back(std::move(entry));
      return length;
    }
  }
  Grow();
  if (indexKept_)
    AddIndexPair(IndexKey(entry->text), GetCount());
  items_.push_back(std::move(entry));
  totalLength_ += length;
  return length;
}

void StringList::InsertAt(int index, const char* text) {
  // Positions outside 0 .. count have no meaning; the nearest end is used.
  index = std::clamp(index, 0, GetCount());
  auto entry = MakeEntry(text);
  const int length = entry->text.GetLength();
  Grow();
  if (indexKept_)
    AddIndexPair(IndexKey(entry->text), index);
  items_.insert(items_.begin() + index, std::move(entry));
  totalLength_ += length;
}

bool StringList::Find(const TextString& text, int* out) const {
  int found = -1;
  if (indexKept_ && findThroughIndex_) {
    // The first entry in list order, as the search without the index finds it.
    const auto [first, last] = index_.equal_range(IndexKey(text));
    for (auto it = first; it != last; ++it) {
      if ((found < 0 || it->second < found) &&
          SameText(items_[static_cast<size_t>(it->second)]->text, text))
        found = it->second;
    }
  } else {
    for (int i = 0; i < GetCount(); ++i) {
      if (SameText(items_[static_cast<size_t>(i)]->text, text)) {
        found = i;
        break;
      }
    }
  }
  if (out != nullptr)
    *out = found;
  return found >= 0;
}

// Byte order of the text sort: the first differing byte decides (signed 8-bit, optionally
// with a-z folded); a text that ends first always goes first, whatever the direction.
static bool TextBefore(const TextString& a, const TextString& b, bool foldCase,
                       bool descending) {
  const int n = std::min(a.GetLength(), b.GetLength());
  const char* pa = a.GetText();
  const char* pb = b.GetText();
  for (int i = 0; i < n; ++i) {
    signed char ca = static_cast<signed char>(pa[i]);
    signed char cb = static_cast<signed char>(pb[i]);
    if (ca == cb)
      continue;
    if (foldCase) {
      ca = FoldUpper(pa[i]);
      cb = FoldUpper(pb[i]);
      if (ca == cb)
        continue;
    }
    return descending ? ca > cb : ca < cb;
  }
  return a.GetLength() < b.GetLength();
}

void StringList::Sort(bool foldCase, bool byCount, bool descending) {
  // A stable sort under this order places entries exactly where repeated neighbour swaps
  // would, without the quadratic cost on long lists.
  if (byCount) {
    std::stable_sort(items_.begin(), items_.end(), [descending](const auto& a, const auto& b) {
      return descending ? a->count > b->count : a->count < b->count;
    });
  } else {
    std::stable_sort(items_.begin(), items_.end(),
                     [foldCase, descending](const auto& a, const auto& b) {
                       return TextBefore(a->text, b->text, foldCase, descending);
                     });
  }
  // The pairs name positions, which the sort has just changed.
  if (indexKept_)
    RebuildIndex();
}

void StringList::Join(TextString& out, const char* separator) const {
  out.Clear();
  const int separatorLength = separator != nullptr ? static_cast<int>(std::strlen(separator)) : 0;
  const int count = GetCount();
  if (count > 1)
    out.Reserve(totalLength_ + (count - 1) * separatorLength);
  for (int i = 0; i < count; ++i) {
    if (i > 0 && separatorLength > 0)
      out.Append(separator);
    out.Append(items_[static_cast<size_t>(i)]->text);
  }
}

void StringList::AppendList(const StringList& other) {
  if (&other == this) {
    // Appending a list to itself reads only the entries present at the start.
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
      const TextString copy(items_[static_cast<size_t>(i)]->text);
      Append(copy.GetText());
    }
    return;
  }
  for (const auto& entry : other.items_)
    Append(entry->text.GetText());
}

void StringList::CopyFrom(const StringList& other) {
  if (&other == this)
    return;
  Clear();
  AppendList(other);
}

int StringList::AppendFields(const TextString& text, const char* separator) {
  const char sep = (separator != nullptr && separator[0] != '\0') ? separator[0] : ' ';
  TextString field;
  int offset = 0;
  if (!text.GetFieldAndOffset(1, sep, field, &offset))
    return 1;
  Append(field.GetText());
  // Each further field is field 2 counted from the start of the previous one, which keeps
  // the split linear in the length of the text.
  const char* base = text.GetText();
  int start = offset;
  while (start < text.GetLength()) {
    int next = 0;
    if (!text.GetFieldFrom(base + start, 2, sep, field, &next))
      break;
    Append(field.GetText());
    start += next;
  }
  return 1;
}

void StringList::RemoveIndexPairs(int start, int end) {
  const int span = end - start + 1;
  std::vector<char> seen(static_cast<size_t>(span), 0);
  std::erase_if(index_, [&](const auto& pair) {
    if (pair.second < start || pair.second > end)
      return false;
    seen[static_cast<size_t>(pair.second - start)] = 1;
    return true;
  });
  // A missing pair means the index and the list disagree. Standard output may carry the
  // converted document itself, so the note goes to standard error.
  for (char s : seen) {
    if (s == 0)
      std::fputs("Oops\n", stderr);
  }
  for (auto& pair : index_) {
    if (pair.second >= start)
      pair.second -= span;
  }
}

int StringList::RemoveRange(int start, int end) {
  start = std::max(start, 0);
  end = std::min(end, GetCount() - 1);
  if (end < start)
    return 1;
  for (int i = start; i <= end; ++i)
    totalLength_ -= items_[static_cast<size_t>(i)]->text.GetLength();
  if (indexKept_)
    RemoveIndexPairs(start, end);
  // The removed entries serve the next appends: a list kept at a bounded size by removing
  // its oldest entries (the recent lines of a file) then allocates nothing per entry.
  for (int i = start; i <= end; ++i) spare_.push_back(std::move(items_[static_cast<size_t>(i)]));
  items_.erase(items_.begin() + start, items_.begin() + end + 1);
  return 1;
}

void StringList::RebuildIndex() {
  index_.clear();
  index_.reserve(items_.size());
  for (int i = 0; i < GetCount(); ++i) {
    StringListEntry& entry = *items_[static_cast<size_t>(i)];
    entry.hash = StringHash(entry.text.GetText());
    index_.emplace(IndexKey(entry.text), i);
  }
}

void StringList::KeepIndex(bool keep) {
  if (keep == indexKept_)
    return;
  indexKept_ = keep;
  if (keep) {
    RebuildIndex();
    return;
  }
  IndexMap().swap(index_);
}
