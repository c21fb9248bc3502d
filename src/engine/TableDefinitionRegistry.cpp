#include "engine/TableDefinitionRegistry.h"

#include <memory>
#include <utility>
#include <vector>

#include "engine/Context.h"
#include "engine/DefinitionList.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "policy/BaseDefinition.h"
#include "text/TextFile.h"

TableDefinitionRegistry::TableDefinitionRegistry()
    : defaultFormat_(std::make_unique<TableGenerationPolicies>("Default")),
      defaultType_(std::make_unique<TableType>("Default")),
      defaultStructure_(std::make_unique<TableLayout>("Default")) {}

TableDefinitionRegistry::~TableDefinitionRegistry() = default;

// The definitions file names a handful of formats, types and structures and they are looked
// up once per table, so a walk in order of addition is enough.
template <typename Entry>
static Entry* FindNamed(const std::vector<std::unique_ptr<Entry>>& entries,
                        const TextString& name) {
  for (const auto& entry : entries) {
    if (entry->GetName().EqualsText(name, 0, 0)) return entry.get();
  }
  return nullptr;
}

template <typename Entry>
static Entry* AddNamed(std::vector<std::unique_ptr<Entry>>& entries, const TextString& name) {
  if (FindNamed(entries, name) != nullptr) return nullptr;
  entries.push_back(std::make_unique<Entry>(name));
  return entries.back().get();
}

TableGenerationPolicies* TableDefinitionRegistry::FindFormat(const TextString& name) const {
  return FindNamed(formats_, name);
}

TableType* TableDefinitionRegistry::FindType(const TextString& name) const {
  return FindNamed(types_, name);
}

TableType* TableDefinitionRegistry::GetType(int index) const {
  if (index < 0 || index >= GetTypeCount())
    return nullptr;
  return types_[static_cast<std::size_t>(index)].get();
}

TableLayout* TableDefinitionRegistry::FindStructure(const TextString& name) const {
  return FindNamed(structures_, name);
}

TableGenerationPolicies* TableDefinitionRegistry::AddFormat(const TextString& name) {
  return AddNamed(formats_, name);
}

TableType* TableDefinitionRegistry::AddType(const TextString& name) {
  return AddNamed(types_, name);
}

TableLayout* TableDefinitionRegistry::AddStructure(const TextString& name) {
  return AddNamed(structures_, name);
}

void TableDefinitionRegistry::Clear() {
  formats_.clear();
  types_.clear();
  structures_.clear();
  defaultFormat_->RegisterPolicies();
  defaultType_->Reset();
  defaultStructure_->Reset(0);
}

namespace {
// The format, type and structure that the lines of the file change.
struct DefinitionsFileState {
  TableGenerationPolicies* format;
  TableType* type;
  TableLayout* structure;
};
}  // namespace

// The trimmed text before the first ':' and after it.
static void SplitKeyValue(const TextString& line, TextString& key, TextString& value) {
  int colon = -1;
  if (!line.FindChar(0, ':', &colon, 1)) {
    key = line;
    value.SetEmpty();
  } else {
    key.AssignSubstring(line.GetText(), 0, colon);
    value.AssignSubstring(line.GetText(), colon + 1, line.GetLength() - colon - 1);
  }
  key.Trim();
  value.Trim();
}

// A section name: "Default" names the registry's own default entry, which name lookups
// never find, so that a "Default" section changes what tables use rather than a copy of it.
template <typename Entry, typename Find, typename Add>
static Entry* SectionEntry(const TextString& name, Entry& defaultEntry, Find find, Add add) {
  if (name.Compare("Default", 0, 0)) return &defaultEntry;
  Entry* found = find(name);
  return found != nullptr ? found : add(name);
}

// A section header ("table format", "table type", "table structure"): true when key is one.
static bool ApplySectionHeader(TableDefinitionRegistry& registry, const TextString& key,
                               const TextString& value, DefinitionsFileState& state) {
  if (key.Compare("table format", 0, 0)) {
    state = {SectionEntry(value, registry.GetDefaultFormat(),
                          [&](const TextString& n) { return registry.FindFormat(n); },
                          [&](const TextString& n) { return registry.AddFormat(n); }),
             nullptr, nullptr};
    return true;
  }
  if (key.Compare("table type", 0, 0)) {
    state = {nullptr,
             SectionEntry(value, registry.GetDefaultType(),
                          [&](const TextString& n) { return registry.FindType(n); },
                          [&](const TextString& n) { return registry.AddType(n); }),
             nullptr};
    return true;
  }
  if (key.Compare("table structure", 0, 0)) {
    state = {nullptr, nullptr,
             SectionEntry(value, registry.GetDefaultStructure(),
                          [&](const TextString& n) { return registry.FindStructure(n); },
                          [&](const TextString& n) { return registry.AddStructure(n); })};
    return true;
  }
  return false;
}

// A key of a table type; true when key is one.
static bool ApplyTypeKey(TableType& type, const TextString& key, const TextString& value) {
  TextString text(value);
  text.ReplaceChar(0, '\t', ' ', 0);
  text.CollapseBlanks();
  if (key.Compare("must contain", 0, 0) || key.Compare("may contain", 0, 0)) {
    type.SetContent(text);
    return true;
  }
  if (key.Compare("use format", 0, 0)) {
    type.SetFormatName(text);
    return true;
  }
  if (key.Compare("use structure", 0, 0)) {
    type.SetStructureName(text);
    return true;
  }
  return false;
}

// A definition line; true when key names a kind of definition. Valid alarms, column formats
// and barcharts go to the Context's lists, table data to the "Default" table policies; the
// rest are dropped after their reports. The file is configuration read outside the passes,
// so the lists take its definitions whatever pass is on.
static bool ApplyDefinition(FileControl& control, ErrorHandler& handler, const TextString& key,
                            const TextString& value) {
  Context* ctx = control.pGetContext();
  const bool alarm = key.Compare("Alarm", 0, 0);
  const bool format = key.Compare("Column format", 0, 0);
  const bool graph = key.Compare("Barchart", 0, 0);
  const bool data = key.Compare("Table Data", 0, 0);
  if (!alarm && !format && !graph && !data) return false;
  if (ctx == nullptr) return true;
  TextPosition position;
  if (ctx->CodeLocation != kLocationNone) {
    if (const Tracker* tracker = ctx->pGetTracker(); tracker != nullptr)
      position = tracker->currentPosition;
  }
  if (data) {
    auto definition = std::make_unique<TableDataDefinition>(*ctx, handler, position, value);
    if (definition->IsValid()) (void)control.AddTableDataDefinition(std::move(definition));
    return true;
  }
  std::unique_ptr<BaseDefinition> definition;
  DefinitionList* list = nullptr;
  if (alarm) {
    auto made = std::make_unique<AlarmDefinition>(*ctx, handler, position, value);
    if (made->IsValid()) definition = std::move(made);
    list = &ctx->AlarmDefinitions;
  } else if (format) {
    auto made = std::make_unique<FormatDefinition>(*ctx, handler, position, value);
    if (made->IsValid()) definition = std::move(made);
    list = &ctx->FormatDefinitions;
  } else {
    auto made = std::make_unique<GraphDefinition>(*ctx, handler, position, value);
    if (made->IsValid()) definition = std::move(made);
    list = &ctx->GraphDefinitions;
  }
  if (definition) (void)list->Add(control, std::move(definition), 1);
  return true;
}

int TableDefinitionRegistry::ReadDefinitionsFile(FileControl& control, const TextString& fileName,
                                                 int reportRepeats, TextString& result) {
  TextFile file;
  if (!file.OpenForRead(fileName.GetText(), 0)) {
    TextString message("ERROR: Failed to open definitions file ");
    message.Append(fileName);
    control.ReportMessage(message.GetText(), 10);
    result = message;
    return 0;
  }
  PolicySetReporter reporter(control);
  KeyValueLine kv(&reporter);
  DefinitionsFileState state{defaultFormat_.get(), defaultType_.get(), defaultStructure_.get()};
  int read = 1;
  TextString line;
  TextString key;
  TextString value;
  int overLong = 0;
  while (file.ReadLine(line, &overLong)) {
    line.Trim(0, " \t\r\n");
    ParseKeyValueLine(kv, &reporter, reportRepeats, line);
    if (line.IsEmpty() || line.CharAt(0) == '!') continue;
    SplitKeyValue(line, key, value);
    if (kv.none) value.SetEmpty();
    if (ApplySectionHeader(*this, key, value, state)) continue;
    if (state.type != nullptr && ApplyTypeKey(*state.type, key, value)) continue;
    if (state.format != nullptr) state.format->ApplyPolicyLine(control, kv);
    if (!kv.consumed && state.structure != nullptr) state.structure->ApplyPolicyLine(control, kv);
    if (kv.consumed) continue;
    if (ApplyDefinition(control, reporter, key, value)) continue;
    TextString message("POLICY: Definition Ignored - \\");
    message.Append(line);
    message.AppendChar('\\');
    control.ReportMessage(message.GetText(), 10);
    result = message;
    read = 0;
  }
  file.CloseAll();
  return read;
}
