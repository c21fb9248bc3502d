#include "text/PositionTextList.h"

#include <algorithm>

void PositionTextList::Add(const TextPosition& position, const TextString& text) {
  auto record = std::make_unique<PositionText>();
  record->position = position.GetLine() < 0 ? TextPosition(0, 0) : position;
  record->text.Assign(text);
  records_.push_back(std::move(record));
}

void PositionTextList::SortByPosition() {
  // Stable, so records at equal positions keep the order they were added in.
  std::stable_sort(records_.begin(), records_.end(), [](const auto& a, const auto& b) {
    return a->position.Compare(b->position) < 0;
  });
}

const PositionText* PositionTextList::GetItem(int i) const {
  if (i < 0 || i >= GetCount())
    return nullptr;
  return records_[static_cast<size_t>(i)].get();
}
