#include "engine/MetaTagList.h"

#include "engine/Context.h"
#include "engine/Tracker.h"

// Runs of blanks and tabs shrink to their first character; the ends are trimmed.
static void TidyBlanks(TextString& text) {
  text.CollapseBlanks();
  text.Trim();
}

int MetaTagList::Add(Context& context, const TextString& name, const TextString& value) {
  const Tracker& tracker = *context.pGetTracker();
  // A META tag met inside a defined block reports the main text's place.
  const TextPosition& source =
      tracker.currentPosition.GetLine() == 0 ? tracker.currentPosition : tracker.secondPosition;
  auto record = std::make_unique<MetaTagRecord>();
  record->name = name;
  record->value = value;
  TidyBlanks(record->name);
  TidyBlanks(record->value);
  if (source.GetLine() >= 0)
    record->position.Set(source.GetLine(), source.GetColumn() + 1);
  else
    record->position.Set(0, 0);
  records_.push_back(std::move(record));
  return 1;
}

void MetaTagList::Clear() { records_.clear(); }

const MetaTagRecord* MetaTagList::GetItem(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return records_[static_cast<std::size_t>(i)].get();
}
