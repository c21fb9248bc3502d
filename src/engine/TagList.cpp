#include "engine/TagList.h"

#include <algorithm>

#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"

std::string RegistryNameKey(const TextString& name) {
  std::string key(name.GetText(), static_cast<std::size_t>(name.GetLength()));
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

TextPosition TrackerPosition(Context* context, int columnOffset) {
  if (context == nullptr) return TextPosition(0, 0);
  const TextPosition& current = context->pGetTracker()->currentPosition;
  if (current.GetLine() < 0) return TextPosition(0, 0);
  return TextPosition(current.GetLine(), current.GetColumn() + columnOffset);
}

bool AcceptsAnalysisAddition(FileControl& control, int force) {
  if (force != 0) return true;
  const Context* context = control.pGetContext();
  return context != nullptr && context->AnalysisPass != 0;
}

int TagList::Add(FileControl& control, const TextString& name, const TextString& value, int kind,
                 const TextPosition& position, int force) {
  if (!AcceptsAnalysisAddition(control, force)) {
    control.ReportMessage("PROGRAM ERROR: TagList::Add called during non-analysis pass", 10);
    return 0;
  }
  auto record = std::make_unique<TagRecord>();
  record->name = name;
  record->value = value;
  record->kind = kind;
  record->position =
      position.GetColumn() < 0 ? TrackerPosition(control.pGetContext(), 1) : position;
  const int index = GetCount();
  byLine_[record->position.GetLine()].push_back(index);
  byName_[RegistryNameKey(name)].push_back(index);
  records_.push_back(std::move(record));
  return 1;
}

const TagList::IndexRun* TagList::RunOfLine(int line) const {
  const auto found = byLine_.find(line);
  return found == byLine_.end() ? nullptr : &found->second;
}

bool TagList::NameMatches(const TagRecord& record, const TextString& name) const {
  return name.IsEmpty() || record.name.EqualsText(name, 0, 0);
}

bool TagList::FindFirstAfter(const TextString& name, const TextPosition& position, int* index,
                             int inclusive) const {
  *index = -1;
  const IndexRun* run = RunOfLine(position.GetLine());
  if (run == nullptr) return false;
  for (const int i : *run) {
    const TagRecord& record = *records_[static_cast<std::size_t>(i)];
    const int column = record.position.GetColumn();
    const bool right =
        inclusive != 0 ? column >= position.GetColumn() : column > position.GetColumn();
    if (!right || !NameMatches(record, name)) continue;
    *index = i;
    return true;
  }
  return false;
}

bool TagList::FindLastBefore(const TextString& name, const TextPosition& position, int* index,
                             int inclusive) const {
  *index = -1;
  const IndexRun* run = RunOfLine(position.GetLine());
  if (run == nullptr) return false;
  for (const int i : *run) {
    const TagRecord& record = *records_[static_cast<std::size_t>(i)];
    if (!NameMatches(record, name)) continue;
    const int column = record.position.GetColumn();
    if (column > position.GetColumn()) break;
    if (column == position.GetColumn() && inclusive == 0) continue;
    *index = i;
  }
  return *index >= 0;
}

bool TagList::FindNext(const TextString& name, int index, int* out) const {
  *out = -1;
  if (name.IsEmpty()) {
    const int next = std::max(index + 1, 0);
    if (next >= GetCount()) return false;
    *out = next;
    return true;
  }
  const auto found = byName_.find(RegistryNameKey(name));
  if (found == byName_.end()) return false;
  const IndexRun& run = found->second;
  const auto after = std::upper_bound(run.begin(), run.end(), index);
  if (after == run.end()) return false;
  *out = *after;
  return true;
}

void TagList::Clear() {
  records_.clear();
  byLine_.clear();
  byName_.clear();
}

const TagRecord* TagList::GetItem(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return records_[static_cast<std::size_t>(i)].get();
}
