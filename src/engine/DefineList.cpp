#include "engine/DefineList.h"

#include "engine/Context.h"
#include "engine/TagList.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "text/StatementTypes.h"

DefineList::~DefineList() = default;

// Where a definition without a column of its own counts from: just right of the statement
// being handled. A tracker at no line (nothing read yet) gives (0, 1) like the tracker's
// start place, so the definition stays visible to positioned lookups.
static TextPosition DefinitionPosition(FileControl& control, const TextPosition& position) {
  if (position.GetColumn() > 0) return position;
  Context* context = control.pGetContext();
  if (context == nullptr) return TextPosition(0, 1);
  const TextPosition& current = context->pGetTracker()->currentPosition;
  const bool atStart = current.GetLine() == 0 && current.GetColumn() == 1;
  if (atStart || current.GetLine() < 0) return TextPosition(0, 1);
  return TextPosition(current.GetLine(), current.GetColumn() + 1);
}

int DefineList::Add(FileControl& control, int kind, const TextString& name,
                    const TextPosition& position, int scopeType, int scopeValue,
                    const TextString* value, int force) {
  if (!AcceptsAnalysisAddition(control, force)) {
    control.ReportMessage("PROGRAM ERROR: DefineList::Add called during non-analysis pass", 10);
    return 0;
  }
  auto entry = std::make_unique<DefineEntry>();
  entry->kind = kind;
  entry->name = name;
  entry->scope.Set(DefinitionPosition(control, position), scopeType, scopeValue);
  if (kind == kDefineVariable && value != nullptr) entry->value = *value;
  byName_[RegistryNameKey(name)].push_back(GetCount());
  entries_.push_back(std::move(entry));
  return 1;
}

int DefineList::AppendLine(const TextString& text) {
  if (entries_.empty()) return 0;
  DefineEntry& last = *entries_.back();
  if (last.kind != kDefineBlock && last.kind != kDefineFragment) return 0;
  last.lines.Append(text.GetText());
  return 1;
}

bool DefineList::FindClosest(int kind, const TextString& name, const TextPosition& position,
                             int queryKind, int inclusionType, bool after, int* index) const {
  *index = -1;
  const auto found = byName_.find(RegistryNameKey(name));
  if (found == byName_.end()) return false;
  const ScopeQuery query(position, queryKind, inclusionType);
  int best = 0;
  for (const int i : found->second) {
    const DefineEntry& entry = *entries_[static_cast<std::size_t>(i)];
    if (entry.kind != kind || !entry.scope.Covers(query)) continue;
    const int scopeColumn = entry.scope.GetPosition().GetColumn();
    const int distance =
        after ? scopeColumn - position.GetColumn() : position.GetColumn() - scopeColumn;
    // Ascending indexes: on a tie the later definition wins.
    if (*index >= 0 && distance > best) continue;
    best = distance;
    *index = i;
  }
  return *index >= 0;
}

bool DefineList::FindAtOrBefore(int kind, const TextString& name, const TextPosition& position,
                                int queryKind, int* index, int inclusive) const {
  return FindClosest(kind, name, position, queryKind, inclusive != 0 ? 4 : 3, false, index);
}

bool DefineList::FindAtOrAfter(int kind, const TextString& name, const TextPosition& position,
                               int queryKind, int* index, int inclusive) const {
  return FindClosest(kind, name, position, queryKind, inclusive != 0 ? 2 : 1, true, index);
}

static bool IsName(const TextString& name, const char* candidate) {
  return name.Compare(candidate, 0, 0);
}

// The number style of a folio format code.
static char FolioNumberStyle(int code) {
  switch (code) {
    case 1:
      return 'i';
    case 2:
      return 'I';
    case 3:
      return 'a';
    case 4:
      return 'A';
  }
  return '1';
}

int DefineList::ResolveVariable(FileControl& control, const TextString& name,
                                const TextPosition& position, TextString& value) {
  int index = -1;
  if (FindAtOrBefore(kDefineVariable, name, position, 0, &index, 1) ||
      FindAtOrAfter(kDefineVariable, name, position, 0, &index, 1)) {
    value = entries_[static_cast<std::size_t>(index)]->value;
    return 1;
  }
  int resolved = 0;
  if (IsName(name, "FOLIO_FOOTER_PAGE_NUMBER")) {
    resolved = ResolvePageNumber(control, position, false, value);
  } else if (IsName(name, "FOLIO_HEADER_PAGE_NUMBER")) {
    resolved = ResolvePageNumber(control, position, true, value);
  } else if (IsName(name, "FOLIO_HEADER_TEMPLATE")) {
    return ResolveVariable(control, "FOLIO_TEMPLATE", position, value);
  } else if (IsName(name, "FOLIO_HEADER_FORMAT_CODE")) {
    return ResolveVariable(control, "FOLIO_FORMAT_CODE", position, value);
  } else if (IsName(name, "FOLIO_FORMAT_CODE")) {
    value.Assign("0");
    return 1;
  } else if (IsName(name, "FOLIO_TEMPLATE")) {
    value.Assign("[folio]");
    return 1;
  }
  if (resolved != 0) return 1;
  // Showing the name in place of the value makes the gap visible in the output.
  value = name;
  TextString message("TAG_ERROR: Failed to resolve variable ");
  message.Append(name);
  control.ReportMessage(message.GetText(), 10);
  return 0;
}

int DefineList::ResolvePageNumber(FileControl& control, const TextPosition& position, bool header,
                                  TextString& value) {
  TextString pageText;
  const int pageResolved = ResolveVariable(control, "PAGE_NUMBER", position, pageText);
  bool suppressed = false;
  int pageNumber = 0;
  if (pageText.Compare("blank", 0, 0)) {
    suppressed = true;
  } else if (pageResolved == 0 || !pageText.ParseNumber('1', &pageNumber)) {
    value.SetEmpty();
    return 0;
  } else if (pageNumber < 0) {
    suppressed = true;
  }
  TextString folioTemplate;
  TextString formatCode;
  const char* templateName = header ? "FOLIO_HEADER_TEMPLATE" : "FOLIO_TEMPLATE";
  const char* codeName = header ? "FOLIO_HEADER_FORMAT_CODE" : "FOLIO_FORMAT_CODE";
  if (ResolveVariable(control, templateName, position, folioTemplate) == 0) return 0;
  if (ResolveVariable(control, codeName, position, formatCode) == 0) return 0;
  if (header) ++pageNumber;
  int code = 0;
  if (!formatCode.ParseNumber('1', &code)) return 0;
  if (suppressed || pageNumber == 0) {
    value.SetEmpty();
    return 1;
  }
  TextString numberText;
  numberText.AppendNumber(FolioNumberStyle(code), pageNumber, 0);
  value = folioTemplate;
  value.ReplaceAll("[folio]", numberText.GetText(), 0, 0);
  return 1;
}

void DefineList::Clear() {
  entries_.clear();
  byName_.clear();
}

const DefineEntry* DefineList::GetEntry(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return entries_[static_cast<std::size_t>(i)].get();
}

void DefineList::OpenDefinition(const Context& context, int taggedType, const TextString& name) {
  open_.isOpen = 1;
  open_.taggedType = taggedType;
  open_.openedInAnalysis = context.AnalysisPass != 0 ? 1 : 0;
  open_.name = name;
}

void DefineList::CloseDefinition() { open_.isOpen = 0; }

// The directive that opens a definition of a tagged type, for the unclosed-block message.
static const char* OpeningDirectiveName(int taggedType) {
  switch (taggedType) {
    case kTagResetBlock:
      return "RESET_BLOCK";
    case kTagDefineHtmlFragment:
      return "DEFINE_HTML_FRAGMENT";
    case kTagDefineTextFragment:
      return "DEFINE_TEXT_FRAGMENT";
    case kTagResetHtmlFragment:
      return "RESET_HTML_FRAGMENT";
    case kTagResetTextFragment:
      return "RESET_TEXT_FRAGMENT";
  }
  return "DEFINE_BLOCK";
}

int DefineList::CloseOpenDefinition(Context& context) {
  if (open_.isOpen == 0) return 0;
  open_.isOpen = 0;
  // Every pass reads the same input and leaves the same definition open; only the analysis
  // pass's is told, so the author hears of it once per file.
  if (open_.openedInAnalysis == 0) return 1;
  TextString message("TAG ERROR: Missing END_BLOCK detected at end of input for ");
  message.Append(OpeningDirectiveName(open_.taggedType));
  message.Append(" ");
  message.Append(open_.name);
  context.GetLogErrorHandler().Report(message.GetText(), 10);
  return 1;
}
