#include "text/FontMetricTable.h"

#include <algorithm>

FontMetrics::FontMetrics(const TextString& name) : name_(name) {}

void FontMetrics::SetWidth(int code, int width) {
  if (code < 0 || code > 255) return;
  widths_[code] = width;
}

void FontMetrics::SetScaledWidth(int code, int value) {
  widths_[code & 255] = static_cast<int>(value * 7.042);
}

void FontMetrics::AddKerningPair(char first, char second, int adjustment) {
  const int key = MakeKey(first, second);
  const auto at = std::lower_bound(pairs_.begin(), pairs_.end(), key,
                                   [](const KerningPair& pair, int k) { return pair.key < k; });
  pairs_.insert(at, KerningPair{key, adjustment});
  pairKeys_[static_cast<std::size_t>(key) / 64] |= std::uint64_t{1} << (key % 64);
}

int FontMetrics::GetKerning(char first, char second) const {
  const int key = MakeKey(first, second);
  if ((pairKeys_[static_cast<std::size_t>(key) / 64] >> (key % 64) & 1) == 0) return 0;
  const int count = GetPairCount();
  if (count == 0) return 0;
  if (count == 1) return pairs_[0].key == key ? pairs_[0].adjustment : 0;
  // Both ends are tested before halving, so a repeated key yields the occurrence nearest the
  // high end that the search meets.
  int low = 0;
  int high = count - 1;
  while (low < high) {
    if (pairs_[high].key == key) return pairs_[high].adjustment;
    if (pairs_[low].key == key) return pairs_[low].adjustment;
    const int mid = low + (high - low) / 2;
    const bool last = mid == low || mid == high;
    if (pairs_[mid].key > key)
      high = mid;
    else
      low = mid;
    if (last) break;
  }
  return 0;
}

FontMetricTable::FontMetricTable() {
  const std::span<const FontMetricSource> sources = FontMetricSources();
  for (int i = 0; i < kRecordCount && i < static_cast<int>(sources.size()); ++i) {
    const FontMetricSource& source = sources[i];
    auto record = std::make_unique<FontMetrics>(source.name);
    for (int code = 0; code < 256; ++code) {
      if (source.widths[code] != 0) record->SetWidth(code, source.widths[code]);
    }
    for (const int control : {10, 13, 27}) {
      if (source.scaledControlWidths)
        record->SetScaledWidth(control, 10);
      else
        record->SetWidth(control, 10);
    }
    for (const KerningRow& row : source.pairs) {
      record->AddKerningPair(static_cast<char>(row.first), static_cast<char>(row.second),
                             row.adjustment);
    }
    records_[i] = std::move(record);
  }
}

const FontMetrics* FontMetricTable::GetRecord(int index) const {
  if (index < 0 || index >= kRecordCount) return nullptr;
  return records_[index].get();
}

const FontMetricTable& GetFontMetricTable() {
  static const FontMetricTable table;
  return table;
}
