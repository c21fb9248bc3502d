#include "engine/SplitFileList.h"

#include "engine/Context.h"
#include "engine/TagList.h"
#include "engine/Tracker.h"

int SplitFileList::Add(Context& context, const TextString& name) {
  const TextPosition start = TrackerPosition(&context, 0);
  if (!records_.empty()) {
    // The previous file ends just before the new one begins.
    records_.back()->end.Set(start.GetLine(), start.GetColumn() - 1);
  }
  auto record = std::make_unique<SplitFileRecord>();
  record->fileName = name;
  record->start = start;
  firstByName_.emplace(RegistryNameKey(name), GetCount());
  records_.push_back(std::move(record));
  return 1;
}

bool SplitFileList::Find(const TextString& name, int* index) const {
  const auto found = firstByName_.find(RegistryNameKey(name));
  *index = found == firstByName_.end() ? -1 : found->second;
  return *index >= 0;
}

void SplitFileList::Clear() {
  records_.clear();
  firstByName_.clear();
}

const SplitFileRecord* SplitFileList::GetItem(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return records_[static_cast<std::size_t>(i)].get();
}
