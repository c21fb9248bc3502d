#pragma once

#include <memory>
#include <vector>

class TextFile;

// One distinct value with how often it was seen and the label given the first time.
struct TextStatsEntry {
  int value = 0;
  std::unique_ptr<char[]> label;  // null when none was given
  int frequency = 1;
};

// Counts how often each integer value occurs. Entries stay in ascending value order until
// a frequency query sorts them by descending frequency; a value query sorts them back.
// Invariant: the frequencies add up to the sample count.
class TextStats {
 public:
  TextStats() = default;
  TextStats(const TextStats&) = delete;  // owns its entries; copies are never needed
  TextStats& operator=(const TextStats&) = delete;
  virtual ~TextStats() = default;

  // Removes every entry (the room for them stays); counters, min, max and the sort flag
  // become 0.
  void Clear();
  // Counts one observation. A new value keeps label (copied); a known one ignores it.
  // A new value goes at the end while the entries are in frequency order. Returns 1.
  int Add(int value, const char* label = nullptr);
  // Ascending value order (only when now in frequency order).
  void SortByValue();
  // Descending frequency (only when now in value order); ties fall as the program always
  // ordered them, which reports and ranks show.
  void SortByFrequency();
  // The value below which percent % of the samples lie, interpolated between neighbouring
  // values; -1 without samples. percent is above 0.
  int Percentile(int percent);
  // Samples in the n most frequent values: 0 without entries, all samples when fewer than
  // n values exist, 0 for n <= 0.
  int TopFrequencySum(int n);
  // The entry of the rank-th most frequent value (from 1); null outside 1 .. count.
  TextStatsEntry* GetByRank(int rank);

  // A heading line and one line per entry in the current order, through WriteText.
  void Report(TextFile& sink) const;
  // As Report, with each entry's label (or the value as a character) in place of the value.
  void ReportLabelled(TextFile& sink) const;

  int GetCount() const { return static_cast<int>(entries_.size()); }
  // The entry at index in the current order, or null.
  const TextStatsEntry* GetEntry(int index) const;
  int GetTotal() const { return total_; }
  int GetSamples() const { return samples_; }
  int GetMin() const { return min_; }
  int GetMax() const { return max_; }
  bool IsSortedByFrequency() const { return sortedByFrequency_ != 0; }

 private:
  void WriteHeading(TextFile& sink) const;
  // Index of the entry with value, or -1.
  int FindValue(int value) const;

  // By value, so that counting allocates nothing once the vector has room (Clear keeps it).
  std::vector<TextStatsEntry> entries_;
  int total_ = 0;
  int samples_ = 0;
  int min_ = 0;
  int max_ = 0;
  int sortedByFrequency_ = 0;
};
