#include "policy/FileControl.h"

#include <string_view>

#include "policy/LinkDictionary.h"
#include "policy/PolicyContext.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/ProductIdentity.h"

static constexpr const char* kPlaceholderVersion = "Qvarnel ?.?";
static constexpr const char* kIndentOpenReset = "DIV STYLE=\"margin-left:24pt; margin-right:0pt;\"";
static constexpr const char* kIndentCloseReset = "DIV";
// The characters of "Bullet point characters" that become bullet characters.
static constexpr int kBulletCharsFromPolicy = 6;

FileControl::FileControl()
    : linkDictionary_(nullptr), defaultTablePolicies_(nullptr), context_(nullptr) {
  policyList_.BuildSectionedPolicies();
  defaultTablePolicies_ = std::make_unique<TableAnalysisPolicies>("Default");
  linkDictionary_ = std::make_unique<LinkDictionary>();
  ResetPolicies(1);
}

FileControl::~FileControl() { FreeOwnedObjects(); }

void FileControl::ReportMisuse(const char* method, const char* what) {
  TextString message("PROGRAM ERROR: FC::");
  message.Append(method);
  message.Append(" called for ");
  message.Append(what);
  ReportMessage(message.GetText(), 10);
}

int FileControl::SlotOf(PolicyId id, PolicyKind kind, const char* method) {
  if (!IsKnownPolicy(id)) {
    ReportMisuse(method, "an unknown policy");
    return -1;
  }
  const PolicyRow& row = GetPolicyRow(id);
  if (row.kind != kind) {
    ReportMisuse(method, "a policy of another kind");
    return -1;
  }
  return static_cast<int>(row.slot);
}

template <class P, std::size_t N>
P& FileControl::PolicyOfKind(std::array<P, N>& policies, P& spare, PolicyId id, PolicyKind kind,
                             const char* method) {
  const int slot = SlotOf(id, kind, method);
  if (slot >= 0 && static_cast<std::size_t>(slot) < N) return policies[slot];
  // A fresh spare each time: what a wrong caller wrote last time does not leak into the next.
  spare = P{};
  return spare;
}

IntPolicy& FileControl::Int(PolicyId id) {
  return PolicyOfKind(ints_, spares_.ints, id, PolicyKind::Int, "Int");
}
BoolPolicy& FileControl::Bool(PolicyId id) {
  return PolicyOfKind(bools_, spares_.bools, id, PolicyKind::Bool, "Bool");
}
TextPolicy& FileControl::Text(PolicyId id) {
  return PolicyOfKind(texts_, spares_.texts, id, PolicyKind::Text, "Text");
}
AlignPolicy& FileControl::Align(PolicyId id) {
  return PolicyOfKind(aligns_, spares_.aligns, id, PolicyKind::Align, "Align");
}
ColourPolicy& FileControl::Colour(PolicyId id) {
  return PolicyOfKind(colours_, spares_.colours, id, PolicyKind::Colour, "Colour");
}
FontPolicy& FileControl::Font(PolicyId id) {
  return PolicyOfKind(fonts_, spares_.fonts, id, PolicyKind::Font, "Font");
}
ListPolicy& FileControl::List(PolicyId id) {
  return PolicyOfKind(lists_, spares_.lists, id, PolicyKind::List, "List");
}

CorePolicy& FileControl::Policy(PolicyId id) {
  if (!IsKnownPolicy(id)) {
    ReportMisuse("Policy", "an unknown policy");
    spares_.ints = IntPolicy{};
    return spares_.ints;
  }
  switch (GetPolicyRow(id).kind) {
    case PolicyKind::Int: return Int(id);
    case PolicyKind::Bool: return Bool(id);
    case PolicyKind::Text: return Text(id);
    case PolicyKind::Align: return Align(id);
    case PolicyKind::Colour: return Colour(id);
    case PolicyKind::Font: return Font(id);
    case PolicyKind::List: return List(id);
  }
  ReportMisuse("Policy", "a policy of no known kind");
  spares_.ints = IntPolicy{};
  return spares_.ints;
}

const CorePolicy& FileControl::Policy(PolicyId id) const { return Mutable().Policy(id); }

int FileControl::MisusedGetInt(PolicyId id) const {
  Mutable().ReportMisuse("GetInt", IsKnownPolicy(id) ? "a text policy" : "an unknown policy");
  return 0;
}

const TextString& FileControl::MisusedGetText(PolicyId id) const {
  FileControl& self = Mutable();
  self.ReportMisuse("GetText", IsKnownPolicy(id) ? "a number policy" : "an unknown policy");
  self.spares_.texts = TextPolicy{};
  return self.spares_.texts.value;
}

bool FileControl::IsRegistered(PolicyId id) const {
  if (!IsKnownPolicy(id)) return false;
  return GetPolicyRow(id).readRule != PolicyReadRule::ProductTen || IsProductTen();
}

int FileControl::ContextOutputType() const {
  return context_ != nullptr ? context_->GetOutputType() : -1;
}

bool FileControl::IsProductTen() const {
  return context_ != nullptr && context_->GetProductId() == kProductPembrelle;
}

void FileControl::SetRuleSet(int code, int setExplicitly) {
  ruleSet_ = code;
  if (setExplicitly) ruleSetSet_ = 1;
}

// Row texts are string literals, so their data() is NUL-terminated.
void FileControl::RegisterPolicy(const PolicyRow& row, bool rtfFonts) {
  switch (row.kind) {
    case PolicyKind::Int:
      InitScalarPolicy(ints_[row.slot], row.category, row.defaultValue, row.key.data());
      return;
    case PolicyKind::Bool:
      InitScalarPolicy(bools_[row.slot], row.category, row.defaultValue, row.key.data());
      return;
    case PolicyKind::Align:
      InitScalarPolicy(aligns_[row.slot], row.category, row.defaultValue, row.key.data());
      return;
    case PolicyKind::Text:
      InitTextPolicy(texts_[row.slot], row.category, row.defaultText.data(), row.key.data());
      return;
    case PolicyKind::Colour:
      InitTextPolicy(colours_[row.slot], row.category, row.defaultText.data(), row.key.data());
      return;
    case PolicyKind::Font:
      InitFontPolicy(fonts_[row.slot], row.category,
                     rtfFonts ? row.rtfDefaultText.data() : row.defaultText.data(),
                     rtfFonts ? row.rtfKey.data() : row.key.data());
      return;
    case PolicyKind::List:
      InitListPolicy(lists_[row.slot], row.category, row.defaultValue, row.choices.data(),
                     row.key.data());
      return;
  }
}

void FileControl::ResetSpecialSettings() {
  indent_ = IndentPositions();
  hanging_ = HangingPositions();
  definitionChars_ = DefinitionChars();
  bulletChars_ = BulletChars();
  bulletsActive_ = 1;
  headings_.count = 0;
  headings_.setExplicitly = 0;
  for (int i = 0; i < kHeadingLevels; ++i) {
    headings_.headings[i].Reset();
    headings_.contents[i].Reset();
  }
  usenetGroups_.Clear();
  usenetGroupsSet_ = 0;
  documentSectionsSet_ = 0;
  linkDefinitionsRead_ = 0;
  textCommandsLoaded_ = 0;
}

void FileControl::BuildDocumentTitle() {
  const TextString& start = Text(PolicyId::StartTagDelimiter).value;
  const TextString& end = Text(PolicyId::EndTagDelimiter).value;
  TextString title("Converted from \"");
  for (const char* part : {"FILENAME", "\" on ", "TIMESTAMP", " by ", "VERSION"}) {
    const bool isTag = part[0] >= 'A' && part[0] <= 'Z';
    if (!isTag) {
      title.Append(part);
      continue;
    }
    title.Append(start);
    title.Append(part);
    title.Append(end);
  }
  TextPolicy& policy = Text(PolicyId::DocumentTitle);
  InitTextPolicy(policy, policy.category, title.GetText(), policy.key.GetText());
}

void FileControl::TakeBulletCharsFromPolicy() {
  const TextString& text = Text(PolicyId::BulletPointCharacters).value;
  if (text.IsEmpty()) return;
  const int n = text.GetLength() < kBulletCharsFromPolicy ? text.GetLength() : kBulletCharsFromPolicy;
  for (int i = 0; i < n; ++i) bulletChars_.chars[i] = static_cast<unsigned char>(text.CharAt(i));
  bulletChars_.count = n;
  bulletsActive_ = 1;
}

void FileControl::RecomputeBulletsActive() {
  bulletsActive_ = (GetInt(PolicyId::ExpectNumberedBullets) || GetInt(PolicyId::ExpectAlphabeticBullets) ||
                    GetInt(PolicyId::ExpectRomanNumeralBullets) || GetInt(PolicyId::RecogniseOAsABullet) ||
                    GetInt(PolicyId::RecogniseDashAsABullet) ||
                    !GetText(PolicyId::BulletPointCharacters).IsEmpty() || bulletChars_.count > 0)
                       ? 1
                       : 0;
}

// The message policies go to the Context's handler; there is none to serve without a Context.
void FileControl::ResetPolicies(int keep) {
  if (!keep) FreeOwnedObjects();
  policyList_.ResetToDefaults();
  ruleSet_ = 0;
  ruleSetSet_ = 0;
  indentOpenMarkup_ = kIndentOpenReset;
  indentCloseMarkup_ = kIndentCloseReset;
  if (!keep) {
    defaultTablePolicies_->ResetPolicies(0);
    linkDictionary_->Clear();
    textCommands_.Clear();
  }
  const bool rtfFonts = ContextOutputType() == kOutputRtf;
  const bool productTen = IsProductTen();
  for (const PolicyRow& row : PolicyRows()) {
    if (row.readRule == PolicyReadRule::ProductTen && !productTen) continue;
    RegisterPolicy(row, rtfFonts);
  }
  ResetSpecialSettings();
  TakeBulletCharsFromPolicy();
  if (rtfFonts) {
    IntPolicy& base = Int(PolicyId::BaseFONTSizeInPts);
    InitScalarPolicy(base, base.category, 10, base.key.GetText());
  }
  BuildDocumentTitle();
  ResetFileState(keep);
  if (keep || context_ == nullptr) {
    versionText_ = kPlaceholderVersion;
  } else {
    TextString name, shortVersion, fullVersion;
    GetProductNameAndVersion(name, shortVersion, fullVersion);
    versionText_ = name;
    versionText_.AppendChar(' ');
    versionText_.Append(shortVersion);
  }
  if (context_ != nullptr) ApplyHandlerSettings();
  heldRegion_ = nullptr;
  tablePolicyQueue_.clear();
  ApplyDerivedDefaults(0, 0);
}

void FileControl::AttachContext(PolicyContext* context) {
  context_ = context;
  TextString name, shortVersion, fullVersion;
  GetProductNameAndVersion(name, shortVersion, fullVersion);
  versionText_ = name;
  versionText_.AppendChar(' ');
  versionText_.Append(shortVersion);
  ApplyDerivedDefaults(0, 0);
}

void FileControl::CopyPolicies(const FileControl& source) {
  ResetPolicies(0);
  ruleSet_ = source.ruleSet_;
  indentOpenMarkup_ = source.indentOpenMarkup_;
  indentCloseMarkup_ = source.indentCloseMarkup_;

  // Conversion Mode goes through the list so that its dependent [Detag] switches follow.
  const PolicySection& sourceControl = source.policyList_.GetSection(kControlSection);
  const CorePolicy* mode = sourceControl.Find(kConversionModePolicy);
  if (mode != nullptr) {
    policyList_.SetConversionMode(static_cast<const IntPolicy*>(mode)->value, 1, mode->set, 1);
  }
  for (int position = 0; position < kPolicySectionCount; ++position) {
    PolicySection& section = policyList_.GetSectionAt(position);
    if (section.GetId() == kControlSection) continue;
    section.CopyFrom(source.policyList_.GetSectionAt(position));
  }

  for (const PolicyRow& row : PolicyRows()) {
    if (!IsRegistered(row.id)) continue;
    Policy(row.id).CopyValue(source.Policy(row.id));
  }

  indent_ = source.indent_;
  hanging_ = source.hanging_;
  definitionChars_ = source.definitionChars_;
  bulletChars_ = source.bulletChars_;
  RecomputeBulletsActive();
  headings_.count = source.headings_.count;
  headings_.setExplicitly = source.headings_.setExplicitly;
  for (int i = 0; i < kHeadingLevels; ++i) {
    headings_.headings[i].CopyFrom(source.headings_.headings[i]);
    headings_.contents[i].CopyFrom(source.headings_.contents[i]);
  }

  usenetGroups_.CopyFrom(source.usenetGroups_);
  usenetGroupsSet_ = source.usenetGroupsSet_;
  documentSections_.CopyFrom(source.documentSections_);
  documentSectionsSet_ = source.documentSectionsSet_;
  textCommandsLoaded_ = source.textCommandsLoaded_;
  textCommands_.Clear();
  textCommands_.CopyCommandsFrom(*this, source.textCommands_);
  defaultTablePolicies_->CopyFrom(*source.defaultTablePolicies_);
  if (linkDictionary_ && source.linkDictionary_) {
    linkDictionary_->Clear();
    linkDictionary_->AddAll(*this, *source.linkDictionary_);
    linkDefinitionsRead_ = source.linkDefinitionsRead_;
  }
  ApplyDerivedDefaults(0, 0);
}

void FileControl::MergePolicies(const FileControl& source, int level) {
  if (source.ruleSetSet_) {
    ruleSet_ = source.ruleSet_;
    if (level) ruleSetSet_ = 1;
  }

  // Conversion Mode only when the source set it: taking an unset default would flip the
  // [Detag] switches and, with level, mark a mode nobody chose, which would then block the
  // mode of every later layer.
  const CorePolicy* mode = source.policyList_.GetSection(kControlSection).Find(kConversionModePolicy);
  if (mode != nullptr && mode->set) {
    policyList_.SetConversionMode(static_cast<const IntPolicy*>(mode)->value, 0, level ? 1 : 0, 1);
  }
  for (int position = 0; position < kPolicySectionCount; ++position) {
    PolicySection& section = policyList_.GetSectionAt(position);
    if (section.GetId() == kControlSection) continue;
    section.MergeFrom(level, source.policyList_.GetSectionAt(position));
  }

  for (const PolicyRow& row : PolicyRows()) {
    if (!IsRegistered(row.id)) continue;
    Policy(row.id).Merge(level, source.Policy(row.id));
  }

  if (source.indent_.setExplicitly && source.indent_.count > 0) {
    indent_.present = source.indent_.present;
    indent_.count = source.indent_.count;
    for (int i = 0; i < kMaxPositions; ++i) indent_.positions[i] = source.indent_.positions[i];
    if (level) indent_.setExplicitly = 1;
  }
  if (source.hanging_.setExplicitly) {
    hanging_.count = source.hanging_.count;
    for (int i = 0; i < kMaxPositions; ++i) hanging_.positions[i] = source.hanging_.positions[i];
    if (level) hanging_.setExplicitly = 1;
  }
  if (source.definitionChars_.setExplicitly) {
    const int mark = definitionChars_.setExplicitly || level;
    definitionChars_ = source.definitionChars_;
    definitionChars_.setExplicitly = mark;
  }
  if (source.bulletChars_.setExplicitly) {
    bulletChars_.given = source.bulletChars_.given;
    bulletChars_.count = source.bulletChars_.count;
    for (int i = 0; i < source.bulletChars_.count && i < kMaxBulletChars; ++i) {
      bulletChars_.chars[i] = source.bulletChars_.chars[i];
    }
    if (level) bulletChars_.setExplicitly = 1;
  }
  TakeBulletCharsFromPolicy();
  if (source.headings_.setExplicitly) {
    headings_.count = source.headings_.count;
    for (int i = 0; i < kHeadingLevels; ++i) {
      headings_.headings[i].CopyFrom(source.headings_.headings[i]);
      headings_.contents[i].CopyFrom(source.headings_.contents[i]);
    }
    if (level) headings_.setExplicitly = 1;
  }

  if (source.usenetGroupsSet_) {
    usenetGroups_.AppendList(source.usenetGroups_);
    if (level) usenetGroupsSet_ = 1;
  }
  if (source.documentSectionsSet_) {
    documentSections_.AppendList(source.documentSections_);
    if (level) documentSectionsSet_ = 1;
  }
  if (source.textCommandsLoaded_ || source.IsSet(PolicyId::TextCommandFile)) {
    textCommands_.Clear();
    textCommands_.CopyCommandsFrom(*this, source.textCommands_);
  }
  if (source.linkDefinitionsRead_ && linkDictionary_ && source.linkDictionary_) {
    linkDictionary_->Clear();
    linkDictionary_->AddAll(*this, *source.linkDictionary_);
    linkDefinitionsRead_ = 1;
  }
  defaultTablePolicies_->MergeFrom(level, *source.defaultTablePolicies_);
  ApplyDerivedDefaults(0, 0);
}

// Encodings in which the policy calculation and the entity routines must not assume
// Latin-1 text.
static constexpr std::string_view kNonLatin1Encodings[] = {
    "ar-sy",        "windows-1250", "iso-8859-2",   "iso-8859-3",   "iso-8859-4",
    "iso-8859-5",   "iso-8859-8",   "iso-8859-10",  "koi8-r",       "windows-1251",
    "windows-1253", "windows-1254", "windows-1256",
};
static constexpr std::string_view kSingleByteEncodings[] = {
    "us-ascii",     "ascii",        "windows-1252", "iso-8859-1",   "ar-sy",
    "windows-1250", "iso-8859-2",   "iso-8859-3",   "iso-8859-4",   "iso-8859-5",
    "iso-8859-8",   "iso-8859-10",  "koi8-r",       "windows-1251", "windows-1253",
    "windows-1254", "windows-1256",
};
// Multi-byte or special sets: no entities, no plain-encoding assumptions.
static constexpr std::string_view kSpecialEncodings[] = {
    "ar-sy",        "x-sjis",       "big5",         "csbig5",       "gb2312",
    "csgb2312",     "x-euc-tw",     "shift_jis",    "csShiftJIS",   "ms_Kanji",
    "x-euc-jp",     "euc-kr",       "iso-2022-kr",  "iso-2022-jp",  "tis-620",
    "iso-8859-7",   "iso-8859-8",   "koi8-r",       "UTF-8",        "windows-1250",
    "windows-1251", "windows-1253", "windows-1254", "windows-1256",
};

template <std::size_t N>
static bool IsOneOf(const TextString& encoding, const std::string_view (&names)[N]) {
  for (const std::string_view name : names) {
    if (encoding.GetLength() == static_cast<int>(name.size()) && encoding.Compare(name.data(), 0, 0)) return true;
  }
  return false;
}

void FileControl::UpdateEncodingMarks() {
  const TextString& encoding = GetText(PolicyId::CharacterEncoding);
  nonLatin1_ = IsOneOf(encoding, kNonLatin1Encodings) ? 1 : 0;
  singleByteEncoding_ = IsOneOf(encoding, kSingleByteEncodings) ? 1 : 0;
  const bool special = IsOneOf(encoding, kSpecialEncodings);
  entityMark_ = special ? 0 : 1;
  plainEncoding_ = special ? 0 : 1;
}
