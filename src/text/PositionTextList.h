#pragma once

#include <memory>
#include <vector>

#include "text/TextPosition.h"
#include "text/TextString.h"

// One text with the place in the input it belongs to.
struct PositionText {
  TextPosition position;
  TextString text;
};

// Texts collected with their positions, in the order added until sorted.
class PositionTextList {
 public:
  PositionTextList() = default;
  PositionTextList(const PositionTextList&) = delete;
  PositionTextList& operator=(const PositionTextList&) = delete;
  ~PositionTextList() = default;

  // Appends a copy of text; a position with a negative line is stored as line 0, column 0
  // so that such texts sort first.
  void Add(const TextPosition& position, const TextString& text);
  // Stable sort by line, then column; equal positions keep their order.
  void SortByPosition();
  void Clear() { records_.clear(); }

  int GetCount() const { return static_cast<int>(records_.size()); }
  // The record at i, or null outside 0 .. count - 1.
  const PositionText* GetItem(int i) const;

 private:
  std::vector<std::unique_ptr<PositionText>> records_;
};
