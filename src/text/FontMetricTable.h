#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "text/TextString.h"

// One kerning row of the generated metric data: two byte codes and the adjustment.
struct KerningRow {
  int first;
  int second;
  int adjustment;
};

// The generated contents of one font record (see FontMetricData.cpp).
struct FontMetricSource {
  const char* name;
  std::span<const int, 256> widths;
  std::span<const KerningRow> pairs;
  // Line feed, carriage return and escape get 10 scaled by 7.042 (Times records) or 10 flat.
  bool scaledControlWidths;
};

// The five records in index order: Times Roman, its bold, italic and bold-italic forms,
// Helvetica-Bold. Defined in the generated FontMetricData.cpp.
std::span<const FontMetricSource> FontMetricSources();

// key = first byte * 256 + second byte, both unsigned, so never negative.
struct KerningPair {
  int key;
  int adjustment;  // thousandths of an em, negative brings the pair closer
};

// One font: a width for every byte code and kerning pairs in ascending key order.
class FontMetrics {
 public:
  static constexpr int kDefaultWidth = 56;

  // All widths 0, no pairs, default width 56.
  explicit FontMetrics(const TextString& name);
  FontMetrics(const FontMetrics&) = delete;  // owned by the table, reached by pointer
  FontMetrics& operator=(const FontMetrics&) = delete;

  // widths[code] := width; a code outside 0..255 is ignored.
  void SetWidth(int code, int width);
  // widths[code & 255] := value * 7.042, truncated.
  void SetScaledWidth(int code, int value);
  // Inserts ahead of the first pair whose key is >= the new key, so a repeated key is kept
  // beside (and ahead of) the earlier one; nothing is replaced.
  void AddKerningPair(char first, char second, int adjustment);
  // The adjustment of the pair, 0 when there is none.
  int GetKerning(char first, char second) const;

  const TextString& GetName() const { return name_; }
  const int* GetWidths() const { return widths_; }
  int GetWidth(unsigned char code) const { return widths_[code]; }
  int GetDefaultWidth() const { return defaultWidth_; }
  int GetPairCount() const { return static_cast<int>(pairs_.size()); }
  // The pair at index (0 .. count - 1), in ascending key order.
  const KerningPair& GetPair(int index) const { return pairs_[index]; }

  static int MakeKey(char first, char second) {
    return static_cast<unsigned char>(first) * 256 + static_cast<unsigned char>(second);
  }

 private:
  TextString name_;
  int widths_[256] = {};
  std::vector<KerningPair> pairs_;
  // One bit per key that has a pair, so that the many pairs without one are not searched.
  std::array<std::uint64_t, 65536 / 64> pairKeys_{};
  int defaultWidth_ = kDefaultWidth;
};

// The program-wide metric table: five records built once and only read afterwards.
class FontMetricTable {
 public:
  static constexpr int kRecordCount = 5;

  FontMetricTable();
  FontMetricTable(const FontMetricTable&) = delete;  // one program-wide table
  FontMetricTable& operator=(const FontMetricTable&) = delete;

  int GetCount() const { return kRecordCount; }
  // The record at index, or null outside 0 .. count - 1.
  const FontMetrics* GetRecord(int index) const;

 private:
  std::unique_ptr<FontMetrics> records_[kRecordCount];
};

// The program-wide table, built on first use (before any reader can see it) and never changed.
const FontMetricTable& GetFontMetricTable();
