// The services a policy set offers while one file is converted: forwarding to the objects
// it owns, configuration files, the table-policy queue, look-ups, file names and resets.
#include "policy/FileControl.h"

#include <memory>
#include <utility>

#include "policy/LinkDictionary.h"
#include "policy/ValueConversions.h"
#include "policy/PolicyContext.h"
#include "policy/KeyValueLine.h"
#include "policy/BaseDefinition.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/PathUtils.h"

// ---- Forwarders ----

int FileControl::AddLinkDefinition(const TextString& match, const TextString& replacement,
                                   const TextString& address, const TextString& anchorText,
                                   int occurrence, int column) {
  if (!linkDictionary_) return 0;
  return linkDictionary_->AddOrUpdate(*this, match, replacement, address, anchorText, occurrence,
                                      column);
}

int FileControl::AddTableDataDefinition(std::unique_ptr<TableDataDefinition> definition) {
  if (!defaultTablePolicies_) return 0;
  return defaultTablePolicies_->AddDefinition(std::move(definition));
}

int FileControl::ApplyLinkDictionary(const TextString& text, TextString& result) {
  if (!linkDictionary_) return 0;
  return linkDictionary_->Apply(*this, text, result);
}

int FileControl::RestoreLinkAnchors(const TextString& text, TextString& result) {
  if (!linkDictionary_) {
    result = text;
    return 0;
  }
  TextPosition position;
  if (context_ != nullptr)
    position = context_->GetPassPosition(context_->CodeLocation);
  return linkDictionary_->RestoreAnchors(*this, position, text, -1, 0, text.GetLength(), text,
                                         result);
}

int FileControl::GetLinkCount() const { return linkDictionary_ ? linkDictionary_->GetCount() : 0; }

void FileControl::CopyHandlerSettings(const FileControl& other) {
  if (context_ == nullptr || other.context_ == nullptr || context_ == other.context_) return;
  context_->GetLogErrorHandler().CopySettings(other.context_->GetLogErrorHandler());
}

// ---- Look-ups ----

int FileControl::SetBulletCharsFromPolicy() {
  TakeBulletCharsFromPolicy();
  return 1;
}

// Characters that open or close something, letters and digits start ordinary text, never a
// bullet; 0xB3 is the box-drawing vertical bar of DOS text.
static bool CannotBeBullet(unsigned char c) {
  if (c >= '0' && c <= '9') return true;
  if (c >= 'A' && c <= 'Z') return true;
  if (c >= 'a' && c <= 'z') return true;
  switch (c) {
    case '!': case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '|':
    case '}': case 0xB3:
      return true;
  }
  return false;
}

int FileControl::IsBulletChar(char c) const {
  const unsigned char byte = static_cast<unsigned char>(c);
  if (context_ == nullptr || context_->AnalysisPass) return CannotBeBullet(byte) ? 0 : 1;
  if (c == '-') return 1;
  const int count = bulletChars_.count < kMaxBulletChars ? bulletChars_.count : kMaxBulletChars;
  for (int i = 0; i < count; ++i) {
    if (bulletChars_.chars[i] == byte) return 1;
  }
  return 0;
}

int FileControl::GetIndentLevel(int column) const {
  int level = 0;
  for (int i = 0; i < kMaxPositions; ++i) {
    const int position = indent_.positions[i];
    if (position < 0 || position > column) break;
    level = i;
  }
  return level;
}

int FileControl::GetTableExtendingFactor() const {
  if (!defaultTablePolicies_) return 5;
  return defaultTablePolicies_->Int(TablePolicyId::ExtendingFactor).value;
}

// Same length, ASCII case ignored.
static bool IsName(const TextString& text, const char* name) { return text.Compare(name, 0, 0); }

int FileControl::IsSectionIncluded() const {
  if (!GetInt(PolicyId::UsePreprocessor) || currentSection_.IsEmpty()) return 1;
  if (IsName(currentSection_, "all") || IsName(currentSection_, "MAKINGRTF")) return 1;
  if (IsName(currentSection_, "MAKINGRTFHELP") && GetInt(PolicyId::MakeWindowsHelpSourceFile)) return 1;
  for (int i = 0; i < documentSections_.GetCount(); ++i) {
    const StringListEntry* entry = documentSections_.GetItem(i);
    if (entry == nullptr) continue;
    if (currentSection_.EqualsText(entry->text, 0, 0) || IsName(entry->text, "all")) return 1;
  }
  return 0;
}

// ---- Configuration files ----

// The file a text policy names, resolved against folder; false when none is named.
static bool NamedFile(const FileControl& fc, PolicyId id, const TextString& folder, TextString& path) {
  const TextString& name = fc.GetText(id);
  if (!fc.IsSet(id) || name.IsEmpty()) return false;
  ResolveRelativePath(folder, name, path);
  return true;
}

int FileControl::LoadConfigFiles(const TextString& baseFolder, TextString& result) {
  int loaded = 1;
  TextString path;
  if (linkDictionary_ && NamedFile(*this, PolicyId::LinkDictionaryFile, baseFolder, path)) {
    if (!linkDictionary_->LoadFile(*this, path, &result)) loaded = 0;
    if (linkDictionary_->GetCount() > 0) linkDefinitionsRead_ = 1;
  }
  if (context_ != nullptr && NamedFile(*this, PolicyId::DefinitionsFile, baseFolder, path)) {
    // The definitions reader files what it reads under the pass that asks; between passes
    // the definitions belong to the output.
    const int savedLocation = context_->CodeLocation;
    if (savedLocation == kLocationNone) context_->CodeLocation = kLocationOutput;
    if (!context_->ReadTableDefinitionsFile(*this, path, 1, result)) loaded = 0;
    context_->CodeLocation = savedLocation;
  }
  if (NamedFile(*this, PolicyId::TextCommandFile, baseFolder, path)) {
    textCommands_.Clear();
    if (context_ != nullptr && !textCommands_.LoadFile(*this, path, result)) loaded = 0;
  }
  if (context_ != nullptr) context_->Styles.ReadStylesFile(*this);
  return loaded;
}

// ---- Table-policy queue ----

TableAnalysisPolicies* FileControl::GetNewTabPolicy() {
  if (!tablePolicyQueue_.empty()) return tablePolicyQueue_.back().get();
  return defaultTablePolicies_.get();
}

TableAnalysisPolicies* FileControl::GetOldTabPolicy() {
  if (tablePolicyQueue_.empty()) return nullptr;
  return tablePolicyQueue_.front().get();
}

void FileControl::CreateNewTabPolicy() {
  if (context_ != nullptr && !context_->IsOutputStage()) {
    ReportMessage("PROGRAM ERROR: FC::CreateNewTabPolicy called out of sequence", 10);
    return;
  }
  if (context_ != nullptr && context_->GetOutputType() == kOutputPlainText) return;
  tablePolicyQueue_.push_back(std::make_unique<TableAnalysisPolicies>("table"));
}

void FileControl::DeleteOldTabPolicy() {
  if (context_ != nullptr && !context_->IsOutputStage()) {
    ReportMessage("PROGRAM ERROR: FC::DeleteOldTabPolicy called out of sequence", 10);
    return;
  }
  if (tablePolicyQueue_.empty()) {
    TextString& message = GetMessageText();
    message = "PROGRAM ERROR: Unexpected NumTabPolicy = ";
    message.AppendNumber('d', NumTabPolicy(), 0);
    ReportMessage(message.GetText(), 10);
    return;
  }
  // Tables nest a few deep at most; shifting the rest up costs nothing worth a deque.
  tablePolicyQueue_.erase(tablePolicyQueue_.begin());
}

// ---- Setters of the newest table policies ----

// Value and (with mark) the set mark of one policy of the table policies, picked by kind.
template <class Kind, class Value>
static TableAnalysisPolicies* SetTablePolicy(TableAnalysisPolicies* policies,
                                             Kind& (TableAnalysisPolicies::*pick)(TablePolicyId),
                                             TablePolicyId id, const Value& value, int mark = 1) {
  if (policies == nullptr) return nullptr;
  Kind& policy = (policies->*pick)(id);
  policy.value = value;
  if (mark) policy.set = 1;
  return policies;
}

static TableAnalysisPolicies* SetTableInt(TableAnalysisPolicies* policies, TablePolicyId id, int value) {
  return SetTablePolicy(policies, &TableAnalysisPolicies::Int, id, value);
}
static TableAnalysisPolicies* SetTableBool(TableAnalysisPolicies* policies, TablePolicyId id, int value) {
  return SetTablePolicy(policies, &TableAnalysisPolicies::Bool, id, value);
}
static TableAnalysisPolicies* SetTableAlign(TableAnalysisPolicies* policies, TablePolicyId id,
                                            const int* value) {
  if (value == nullptr) return nullptr;
  return SetTablePolicy(policies, &TableAnalysisPolicies::Align, id, *value);
}
static TableAnalysisPolicies* SetTableText(TableAnalysisPolicies* policies, TablePolicyId id,
                                           const TextString& value, int mark) {
  return SetTablePolicy(policies, &TableAnalysisPolicies::Text, id, value, mark);
}

TableAnalysisPolicies* FileControl::SetNewTableColour(TablePolicyId id, const TextString& colour) {
  TableAnalysisPolicies* policies = GetNewTabPolicy();
  if (policies == nullptr) return nullptr;
  ColourPolicy& policy = policies->Colour(id);
  policy.set = 1;
  if (CanonicaliseColour(colour, policy.value)) return policies;
  TextString& message = GetMessageText();
  message = "WARNING: \"";
  message.Append(colour);
  message.Append("\" is not a standard HTML colour");
  ReportMessage(message.GetText(), 7);
  return policies;
}

TableAnalysisPolicies* FileControl::SetTableBorderSize(int size) {
  return SetTableInt(GetNewTabPolicy(), TablePolicyId::BorderSize, size);
}
TableAnalysisPolicies* FileControl::SetTableHeaderRows(int rows) {
  return SetTableInt(GetNewTabPolicy(), TablePolicyId::HeaderRows, rows);
}
TableAnalysisPolicies* FileControl::SetTableHeaderCols(int cols) {
  return SetTableInt(GetNewTabPolicy(), TablePolicyId::HeaderCols, cols);
}
TableAnalysisPolicies* FileControl::SetTableCellSpacing(int spacing) {
  return SetTableInt(GetNewTabPolicy(), TablePolicyId::CellSpacing, spacing);
}
TableAnalysisPolicies* FileControl::SetTableCellPadding(int padding) {
  return SetTableInt(GetNewTabPolicy(), TablePolicyId::CellPadding, padding);
}
TableAnalysisPolicies* FileControl::SetTableColumnSeparation(int separation) {
  return SetTableInt(GetNewTabPolicy(), TablePolicyId::MinimumColumnSeparation, separation);
}
TableAnalysisPolicies* FileControl::SetConvertTableXrefs(int yes) {
  return SetTableBool(GetNewTabPolicy(), TablePolicyId::ConvertXrefs, yes);
}
TableAnalysisPolicies* FileControl::SetExpectSparseTables(int yes) {
  return SetTableBool(GetNewTabPolicy(), TablePolicyId::ExpectSparseTables, yes);
}
TableAnalysisPolicies* FileControl::SetIgnoreTableHeader(int yes) {
  return SetTableBool(GetNewTabPolicy(), TablePolicyId::IgnoreHeader, yes);
}
TableAnalysisPolicies* FileControl::SetTableCellAlignment(const int* alignment) {
  return SetTableAlign(GetNewTabPolicy(), TablePolicyId::CellAlignment, alignment);
}
TableAnalysisPolicies* FileControl::SetTableAlignment(const int* alignment) {
  return SetTableAlign(GetNewTabPolicy(), TablePolicyId::Alignment, alignment);
}
TableAnalysisPolicies* FileControl::SetColourDataRows(int yes) {
  return SetTableBool(GetNewTabPolicy(), TablePolicyId::ColourDataRows, yes);
}
TableAnalysisPolicies* FileControl::SetAddTableWidth(int yes) {
  return SetTableBool(GetNewTabPolicy(), TablePolicyId::AddWidthMarkup, yes);
}
TableAnalysisPolicies* FileControl::SetPercentageWidths(int yes) {
  return SetTableBool(GetNewTabPolicy(), TablePolicyId::PercentageWidths, yes);
}
TableAnalysisPolicies* FileControl::SetTableCaption(const TextString& caption) {
  return SetTableText(GetNewTabPolicy(), TablePolicyId::Caption, caption, 1);
}
TableAnalysisPolicies* FileControl::SetTableDelimiter(const TextString& delimiter, int mark) {
  return SetTableText(GetNewTabPolicy(), TablePolicyId::DelimiterCharacter, delimiter, mark);
}
TableAnalysisPolicies* FileControl::SetTableLayout(const TextString& layout) {
  return SetTableText(GetNewTabPolicy(), TablePolicyId::Layout, layout, 1);
}
TableAnalysisPolicies* FileControl::SetTableWidth(const TextString& width) {
  return SetTableText(GetNewTabPolicy(), TablePolicyId::Width, width, 1);
}
TableAnalysisPolicies* FileControl::SetTableColour(const TextString& colour) {
  return SetNewTableColour(TablePolicyId::TableColour, colour);
}
TableAnalysisPolicies* FileControl::SetTableBorderColour(const TextString& colour) {
  return SetNewTableColour(TablePolicyId::BorderColour, colour);
}
TableAnalysisPolicies* FileControl::SetTableOddRowColour(const TextString& colour) {
  return SetNewTableColour(TablePolicyId::OddRowColour, colour);
}
TableAnalysisPolicies* FileControl::SetTableEvenRowColour(const TextString& colour) {
  return SetNewTableColour(TablePolicyId::EvenRowColour, colour);
}

void FileControl::HideTableColumn() {
  if (GetNewTabPolicy() != defaultTablePolicies_.get()) return;
  GetMessageText() = "TAG ERROR: HIDE_COLUMN only allowed inside tables";
}

void FileControl::AddTableTagLine(const TextString& /*line*/, const TextString& /*name*/,
                                  const TextString& text) {
  TableAnalysisPolicies* policies = GetNewTabPolicy();
  if (policies != nullptr) policies->AddTagLine(text.GetText());
}

// ---- File names ----

static bool IsSeparator(char c) { return c == '/' || c == '\\' || c == ']'; }

// Appends a folder so that a name can follow it: a separator is added when the folder has
// none at its end, else "out" and the name would run together into another folder's name.
static void AppendFolder(TextString& out, const TextString& folder, char separator) {
  if (folder.IsEmpty()) return;
  out.Append(folder);
  if (!IsSeparator(folder.CharAt(folder.GetLength() - 1))) out.AppendChar(separator);
}

// A name part given without wildcards ('%' and '*' stand for names still to be made).
static bool IsPlainPart(const TextString& part) {
  return !part.IsEmpty() && !part.ContainsChar('%') && !part.ContainsChar('*');
}

const TextString& FileControl::MakeContentsFileName(const TextString& inputPath) {
  const TextString& external = GetText(PolicyId::ExternalContentsListFilename);
  if (!external.IsEmpty()) {
    contentsFileName_ = external;
    return contentsFileName_;
  }
  // Folder: before the last separator (one at the very start does not count); base: the
  // name after it without an extension of up to six characters.
  const int length = inputPath.GetLength();
  int cut = -1;
  for (int i = length - 1; i > 0; --i) {
    if (IsSeparator(inputPath.CharAt(i))) {
      cut = i;
      break;
    }
  }
  TextString folder;
  if (cut > 0) folder.AssignSubstring(inputPath.GetText(), 0, cut);
  const char separator = cut > 0 ? inputPath.CharAt(cut) : '/';
  TextString base;
  base.AssignSubstring(inputPath.GetText(), cut + 1, length - cut - 1);
  for (int i = base.GetLength() - 1; i >= 0; --i) {
    if (base.CharAt(i) != '.') continue;
    if (cut + 1 + i >= length - 7) base.Truncate(i);
    break;
  }
  const TextString& outputDirectory = GetText(PolicyId::OutputDirectory);
  const TextString& targetFolder = outputDirectory.IsEmpty() ? folder : outputDirectory;
  contentsFileName_.Clear();
  if (GetInt(PolicyId::InputFileIsACompositionUnit)) {
    // The contents-output parts of the command line, where given as plain names.
    TextString folderPart, namePart, extensionPart;
    if (context_ != nullptr) {
      folderPart = context_->Commands.contentsOutputFolder;
      namePart = context_->Commands.contentsOutputBaseName;
      extensionPart = context_->Commands.contentsOutputExtension;
    }
    AppendFolder(contentsFileName_, IsPlainPart(folderPart) ? folderPart : targetFolder, separator);
    contentsFileName_.Append(IsPlainPart(namePart) ? namePart : base);
    contentsFileName_.Append(IsPlainPart(extensionPart) ? extensionPart : TextString(".toc"));
    return contentsFileName_;
  }
  if (GetInt(PolicyId::UseDOSFilenames)) {
    contentsFileName_ = "contents.htm";
    return contentsFileName_;
  }
  AppendFolder(contentsFileName_, targetFolder, separator);
  contentsFileName_.Append("contents");
  if (!base.IsEmpty()) {
    contentsFileName_.AppendChar('_');
    contentsFileName_.Append(base);
  }
  contentsFileName_.Append(workingExtension_);
  return contentsFileName_;
}

const TextString& FileControl::MakePolicyFileName(const TextString& requested) {
  const TextString& fixed = GetText(PolicyId::OutputPolicyFilename);
  if (!fixed.IsEmpty()) {
    policyFileName_ = fixed;
    return policyFileName_;
  }
  TextString folder, name, extension;
  SplitPath(requested, folder, name, extension);
  TextString commandFolder, commandName, commandExtension;
  if (context_ != nullptr) {
    SplitPath(context_->Commands.policyOutputFileName, commandFolder, commandName, commandExtension);
  }
  const TextString& outputDirectory = GetText(PolicyId::OutputDirectory);
  const TextString& chosenFolder =
      !commandFolder.IsEmpty() ? commandFolder : (!outputDirectory.IsEmpty() ? outputDirectory : folder);
  policyFileName_.Clear();
  AppendFolder(policyFileName_, chosenFolder, '/');
  policyFileName_.Append(commandName.IsEmpty() ? name : commandName);
  policyFileName_.Append(commandExtension.IsEmpty() ? TextString(".pol") : commandExtension);
  return policyFileName_;
}

// ---- Per-file state and owned objects ----

void FileControl::ResetFileState(int html) {
  IgnoreDepth = 0;
  SectionIncluded = -1;
  InRegion = 0;
  RegionCode = 0;
  InHtmlFragmentDefinition = 0;
  InTextFragmentDefinition = 0;
  ContentsBegun = 0;
  InContents = 0;
  ContentsEnded = 0;
  CollectingRegion = 0;
  AutoCentringActive = 0;
  ListLevel = 0;
  InTaggedUserTable = 0;
  headingState_ = HeadingState();
  taggedHeading_ = TaggedHeading();
  contentsFileName_.Clear();
  policyFileName_.Clear();
  currentSection_.Clear();
  if (html || context_ == nullptr) {
    workingExtension_ = ".html";
    return;
  }
  ComputeWorkingExtension();
}

void FileControl::FreeOwnedObjects() {
  if (linkDictionary_) linkDictionary_->Clear();
  textCommands_.Clear();
  documentSections_.Clear();
  // The region is not owned here (its class belongs to the table writer).
  heldRegion_ = nullptr;
  tablePolicyQueue_.clear();
}
