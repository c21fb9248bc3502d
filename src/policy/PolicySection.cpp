#include "policy/PolicySection.h"

#include "policy/KeyValueLine.h"
#include "text/TextFile.h"

#include <algorithm>
#include <iterator>

// ---- PolicySection ----

PolicySection::PolicySection() : defaultText_("**void**"), name_("[Unknown]") {}

PolicySection::~PolicySection() = default;

static std::unique_ptr<CorePolicy> MakePolicy(int typeCode) {
  switch (typeCode) {
    case kIntPolicy:
      return std::make_unique<IntPolicy>();
    case kBoolPolicy:
      return std::make_unique<BoolPolicy>();
    case kTextPolicy:
      return std::make_unique<TextPolicy>();
    case kAlignPolicy:
      return std::make_unique<AlignPolicy>();
    case kColourPolicy:
      return std::make_unique<ColourPolicy>();
    case kFontPolicy:
      return std::make_unique<FontPolicy>();
    case kListPolicy:
      return std::make_unique<ListPolicy>();
    default:
      return nullptr;
  }
}

int PolicySection::AddPolicy(int policyId, int typeCode, int sectionId, int category,
                             int defaultNumber, const char* defaultText, const char* choices,
                             const char* key) {
  if (Find(policyId) != nullptr) return 0;
  std::unique_ptr<CorePolicy> policy = MakePolicy(typeCode);
  if (policy == nullptr) return 0;
  policy->Define(policyId, typeCode, sectionId, category, defaultNumber, defaultText, choices,
                 key);
  const auto before = std::find_if(policies_.begin(), policies_.end(), [&](const auto& p) {
    return p->id >= policyId;
  });
  policies_.insert(before, std::move(policy));
  return 1;
}

void PolicySection::SetIdAndName(int id, const char* name) {
  id_ = id;
  name_.Assign(name);
}

CorePolicy* PolicySection::Find(int policyId) const {
  for (const auto& policy : policies_)
    if (policy->id == policyId) return policy.get();
  return nullptr;
}

CorePolicy* PolicySection::pGetPolicyAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return policies_[static_cast<std::size_t>(index)].get();
}

int PolicySection::IsSet(int policyId) const {
  const CorePolicy* policy = Find(policyId);
  return policy != nullptr ? policy->set : 0;
}

// The policy with the id when it is of one of the two kinds (the same kind twice for one).
template <typename Kind>
static Kind* FindKind(const PolicySection& section, int policyId, PolicyType first,
                      PolicyType second) {
  CorePolicy* policy = section.Find(policyId);
  if (policy == nullptr) return nullptr;
  if (policy->typeCode != first && policy->typeCode != second) return nullptr;
  return static_cast<Kind*>(policy);
}

int PolicySection::GetInt(int policyId) {
  IntPolicy* policy = FindKind<IntPolicy>(*this, policyId, kIntPolicy, kIntPolicy);
  if (policy == nullptr) return defaultInt_;
  ++policy->readCount;
  return policy->value;
}

int PolicySection::GetBool(int policyId) {
  BoolPolicy* policy = FindKind<BoolPolicy>(*this, policyId, kBoolPolicy, kBoolPolicy);
  if (policy == nullptr) return defaultBool_;
  ++policy->readCount;
  return policy->value;
}

const TextString& PolicySection::GetText(int policyId) {
  TextValuePolicy* policy =
      FindKind<TextValuePolicy>(*this, policyId, kTextPolicy, kColourPolicy);
  if (policy == nullptr) return defaultText_;
  ++policy->readCount;
  return policy->value;
}

// The set mark after an assignment: an assignment without mark never unsets a policy.
static void AssignMark(CorePolicy& policy, int mark) {
  if (policy.set && mark == 0) return;
  policy.set = mark;
}

int PolicySection::SetInt(int policyId, int value, int mark) {
  IntPolicy* policy = FindKind<IntPolicy>(*this, policyId, kIntPolicy, kIntPolicy);
  if (policy == nullptr) return 0;
  policy->value = value;
  AssignMark(*policy, mark);
  return 1;
}

int PolicySection::SetBool(int policyId, int value, int mark) {
  BoolPolicy* policy = FindKind<BoolPolicy>(*this, policyId, kBoolPolicy, kBoolPolicy);
  if (policy == nullptr) return 0;
  policy->value = value;
  AssignMark(*policy, mark);
  return 1;
}

int PolicySection::SetText(int policyId, const TextString& text, int mark) {
  TextValuePolicy* policy =
      FindKind<TextValuePolicy>(*this, policyId, kTextPolicy, kColourPolicy);
  if (policy == nullptr) return 0;
  policy->value.Assign(text);
  AssignMark(*policy, mark);
  return 1;
}

CorePolicy* PolicySection::SetSetMark(int policyId, int mark) {
  CorePolicy* policy = Find(policyId);
  if (policy != nullptr) policy->set = mark;
  return policy;
}

void PolicySection::CopyFrom(const PolicySection& other) {
  for (const auto& source : other.policies_) {
    CorePolicy* target = Find(source->id);
    if (target != nullptr) target->CopyValue(*source);
  }
}

void PolicySection::MergeFrom(int level, const PolicySection& other) {
  for (const auto& source : other.policies_) {
    CorePolicy* target = Find(source->id);
    if (target != nullptr) target->Merge(level, *source);
  }
}

void PolicySection::ResetAll() {
  for (const auto& policy : policies_) policy->Reset();
}

int PolicySection::Write(TextFile& out, int all) const {
  const bool anySet = std::any_of(policies_.begin(), policies_.end(),
                                  [](const auto& policy) { return policy->set != 0; });
  if (all == 0 && !anySet) return 1;
  bool ok = out.WriteText("");
  ok = out.WriteText("") && ok;
  ok = out.WriteText(name_.GetText()) && ok;
  ok = out.WriteText("") && ok;
  for (const auto& policy : policies_) ok = policy->WritePolicyLine(out, all) != 0 && ok;
  return ok ? 1 : 0;
}

int PolicySection::ParseLine(KeyValueLine& line) {
  if (line.consumed) return 0;
  if (line.lineText.EqualsText(name_, 0, 0)) {
    line.consumed = 1;
    line.category = 2;
    return 1;
  }
  for (const auto& policy : policies_) {
    policy->ParsePolicyValue(line);
    if (line.consumed) return 1;
  }
  return 0;
}

// ---- PolicyList ----

// Storage position of each section id (index 0 unused).
static constexpr int kPositionOfSection[kPolicySectionCount + 1] = {-1, 0, 1, 2, 9, 3, 4,  10,
                                                                   11, 12, 5, 6, 7, 8, 13, 14};

void PolicyList::BuildSectionedPolicies() {
  const auto sectionRows = PolicySectionRows();
  for (std::size_t i = 0; i < sectionRows.size(); ++i)
    sections_[i].SetIdAndName(sectionRows[i].id, sectionRows[i].name);
  for (const SectionedPolicyRow& row : SectionedPolicyRows()) {
    // The table holds no choices: lists are not among the id-based policies.
    GetSection(static_cast<PolicySectionId>(row.section))
        .AddPolicy(row.id, row.type, row.storedSectionId, row.category, row.defaultNumber,
                   row.defaultText, nullptr, row.key);
  }
}

void PolicyList::ResetToDefaults() {
  for (PolicySection& section : sections_) section.ResetAll();
}

void PolicyList::SetConversionMode(int mode, int force, int mark, int adjust) {
  PolicySection& control = GetSection(kControlSection);
  if (force == 0 && control.IsSet(kConversionModePolicy)) return;
  control.SetInt(kConversionModePolicy, mode, mark);
  if (adjust == 0) return;
  PolicySection& detag = GetSection(kDetagSection);
  const int on = mode == 6 ? 0 : 1;
  detag.SetBool(kRemoveAllTagsPolicy, on, 0);
  detag.SetBool(kRemoveAllHtmlTagsPolicy, on, 0);
  if (mode != 6) detag.SetBool(kRemoveAllNonHtmlTagsPolicy, 1, 0);
}

PolicySection& PolicyList::GetSection(PolicySectionId id) {
  return sections_[static_cast<std::size_t>(kPositionOfSection[id])];
}

const PolicySection& PolicyList::GetSection(PolicySectionId id) const {
  return sections_[static_cast<std::size_t>(kPositionOfSection[id])];
}

// ---- Section headers of configuration files ----

static constexpr const char* kHeaderNames[] = {
    "[General Analysis]",   "[Analysis]",          "[Bullets]",         "[Config files]",
    "[Contents]",           "[Debug]",             "[Directory Page]",  "[Headings]",
    "[Added HTML]",         "[Added RTF]",         "[Composition Units]", "[Hyperlinks]",
    "[File generation]",    "[Frames]",            "[Pembrelle]",       "[Messages]",
    "[Page Formatting]",    "[Pre-formatted text]", "[Preprocessor]",   "[Rule Set]",
    "[Style]",              "[Tagging]",           "[Text Commands]",   "[Text Substitution]",
    "[Link Dictionary]",    "[Switch to file]",    "[Table generation]",
};
static_assert(std::size(kHeaderNames) == 27);

int IsPolicySectionHeader(const TextString& line) {
  if (line.ContainsChar(':') || line.ContainsChar('"')) return 0;
  for (const char* name : kHeaderNames)
    if (line.Compare(name, 0, 0)) return 1;
  int pos = -1;
  return line.Find(0, "-----", &pos, 1, 0) ? 1 : 0;
}
