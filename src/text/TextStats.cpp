#include "text/TextStats.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "text/TextFile.h"
#include "text/TextString.h"

void TextStats::Clear() {
  entries_.clear();
  total_ = 0;
  samples_ = 0;
  min_ = 0;
  max_ = 0;
  sortedByFrequency_ = 0;
}

int TextStats::FindValue(int value) const {
  if (!sortedByFrequency_) {
    // Value order: a bisection keeps adding cheap for many distinct values.
    const auto at = std::lower_bound(
        entries_.begin(), entries_.end(), value,
        [](const TextStatsEntry& e, int v) { return e.value < v; });
    if (at != entries_.end() && at->value == value)
      return static_cast<int>(at - entries_.begin());
    return -1;
  }
  for (int i = 0; i < GetCount(); ++i) {
    if (entries_[i].value == value) return i;
  }
  return -1;
}

int TextStats::Add(int value, const char* label) {
  total_ += value;
  samples_ += 1;
  const int found = FindValue(value);
  if (found >= 0) {
    entries_[found].frequency += 1;
    return 1;
  }
  TextStatsEntry entry;
  entry.value = value;
  if (label != nullptr) {
    const std::size_t size = std::strlen(label) + 1;
    entry.label = std::make_unique<char[]>(size);
    std::memcpy(entry.label.get(), label, size);
  }
  if (entries_.empty()) {
    min_ = value;
    max_ = value;
  } else {
    min_ = std::min(min_, value);
    max_ = std::max(max_, value);
  }
  if (sortedByFrequency_) {
    entries_.push_back(std::move(entry));
    return 1;
  }
  const auto at = std::lower_bound(
      entries_.begin(), entries_.end(), value,
      [](const TextStatsEntry& e, int v) { return e.value < v; });
  entries_.insert(at, std::move(entry));
  return 1;
}

void TextStats::SortByValue() {
  if (!sortedByFrequency_) return;
  // Values are distinct, so any sort gives the one ascending order.
  std::sort(entries_.begin(), entries_.end(),
            [](const auto& a, const auto& b) { return a.value < b.value; });
  sortedByFrequency_ = 0;
}

void TextStats::SortByFrequency() {
  if (sortedByFrequency_) return;
  // This exact exchange loop fixes the order of equal frequencies that reports and ranks
  // have always shown; the number of distinct values is small.
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    for (int j = 0; j < count; ++j) {
      if (entries_[j].frequency < entries_[i].frequency) std::swap(entries_[i], entries_[j]);
    }
  }
  sortedByFrequency_ = 1;
}

int TextStats::Percentile(int percent) {
  if (samples_ <= 0) return -1;
  SortByValue();
  int sum = 0;
  for (const auto& entry : entries_) sum += entry.frequency;
  const float p = static_cast<float>(percent);
  int running = 0;
  float previous = 0.0f;
  float share = 0.0f;
  int stop = 0;
  for (; stop < GetCount(); ++stop) {
    previous = share;
    running += entries_[stop].frequency;
    share = static_cast<float>(static_cast<double>(running) / sum * 100.0);
    if (share >= p) break;
  }
  if (stop >= GetCount()) stop = GetCount() - 1;
  if (stop == 0) return entries_[0].value;
  const int lower = entries_[stop - 1].value;
  const int upper = entries_[stop].value;
  const float result =
      (p - previous) / (share - previous) * static_cast<float>(upper - lower) + lower;
  return static_cast<int>(result);
}

int TextStats::TopFrequencySum(int n) {
  if (entries_.empty()) return 0;
  if (GetCount() < n) return samples_;
  SortByFrequency();
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += entries_[i].frequency;
  return sum;
}

TextStatsEntry* TextStats::GetByRank(int rank) {
  SortByFrequency();
  if (rank < 1 || rank > GetCount()) return nullptr;
  return &entries_[rank - 1];
}

const TextStatsEntry* TextStats::GetEntry(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return &entries_[index];
}

void TextStats::WriteHeading(TextFile& sink) const {
  TextString line(samples_);
  line.Append("  values in range ");
  line.Append(TextString(min_));
  line.Append("  to ");
  line.Append(TextString(max_));
  line.AppendChar(' ');
  sink.WriteText(line.GetText());
}

void TextStats::Report(TextFile& sink) const {
  WriteHeading(sink);
  TextString line;
  for (int i = 0; i < GetCount(); ++i) {
    line.Assign("Rank ");
    line.Append(TextString(i + 1));
    line.Append(" Value = ");
    line.Append(TextString(entries_[i].value));
    line.Append(" Frequency = ");
    line.Append(TextString(entries_[i].frequency));
    sink.WriteText(line.GetText());
  }
}

void TextStats::ReportLabelled(TextFile& sink) const {
  WriteHeading(sink);
  TextString line;
  for (int i = 0; i < GetCount(); ++i) {
    const TextStatsEntry& entry = entries_[i];
    line.Assign("Rank ");
    line.Append(TextString(i + 1));
    line.Append(" \"");
    if (entry.label)
      line.Append(entry.label.get());
    else
      line.AppendChar(static_cast<char>(entry.value));
    line.Append(" \" Frequency = ");
    line.Append(TextString(entry.frequency));
    sink.WriteText(line.GetText());
  }
}
