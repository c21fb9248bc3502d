#pragma once

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "policy/CorePolicy.h"
#include "text/TextString.h"

class TextFile;
struct KeyValueLine;

// Ids of the 15 sections of id-based policies (not their storage order).
enum PolicySectionId : int {
  kControlSection = 1,
  kDetagSection = 2,
  kDetagTablesSection = 3,
  kDataExtractionSection = 4,
  kTagManipulationSection = 5,
  kMailTidySection = 6,
  kRtfHelpFilesSection = 7,
  kPdfHeadersFootersSection = 8,
  kPdfTypesettingSection = 9,
  kTextFormattingSection = 10,
  kTextHeadersFootersSection = 11,
  kTextHyperlinksSection = 12,
  kTextTablesSection = 13,
  kTextConversionSection = 14,
  kConversionCharacteristicsSection = 15,
};
inline constexpr int kPolicySectionCount = 15;

// Ids of the policies that the list itself touches.
inline constexpr int kConversionModePolicy = 5;        // [Control]
inline constexpr int kRemoveAllTagsPolicy = 10;        // [Detag]
inline constexpr int kRemoveAllHtmlTagsPolicy = 11;    // [Detag]
inline constexpr int kRemoveAllNonHtmlTagsPolicy = 32; // [Detag]

// One section of the table, in storage order.
struct PolicySectionRow {
  int id;
  const char* name;  // the header line, e.g. "[Control]"
};

// One id-based policy of the table. Default texts are used by the text kinds,
// defaultNumber by the integer kinds (Bool: 0 No, 1 Yes).
struct SectionedPolicyRow {
  int section;         // id of the section that holds the policy
  int id;
  PolicyType type;
  int storedSectionId; // section id recorded in the policy (differs from section for a few)
  int category;
  int defaultNumber;
  const char* defaultText;
  const char* key;
};

// The 15 sections in storage order.
std::span<const PolicySectionRow> PolicySectionRows();
// The 133 policies, grouped by section in storage order.
std::span<const SectionedPolicyRow> SectionedPolicyRows();

// A section of id-based policies: owns its policies, kept in ascending id order with unique
// ids. Lookups scan linearly (a section holds at most 35 policies). Reads of a missing id or
// of another kind give the section's defaults (-1, 0, "**void**") without a message.
class PolicySection {
 public:
  PolicySection();
  ~PolicySection();
  // A section owns its policies; copying would duplicate them (use CopyFrom).
  PolicySection(const PolicySection&) = delete;
  PolicySection& operator=(const PolicySection&) = delete;

  // Creates a policy of the kind, defines it and inserts it before the first policy whose
  // id is >= id. 0 (nothing added) for a duplicate id or a type code outside 1..7.
  int AddPolicy(int policyId, int typeCode, int sectionId, int category, int defaultNumber,
                const char* defaultText, const char* choices, const char* key);
  void SetIdAndName(int id, const char* name);

  CorePolicy* Find(int policyId) const;
  // The set mark; 0 when absent.
  int IsSet(int policyId) const;

  // The value when the policy is of the requested kind (Int; Bool; Text or Colour), counting
  // a read; otherwise the section's default.
  int GetInt(int policyId);
  int GetBool(int policyId);
  const TextString& GetText(int policyId);

  // Only for a policy of the matching kind, else 0. The value is assigned; the set mark
  // takes mark unless the policy is already set and mark is 0. Returns 1.
  int SetInt(int policyId, int value, int mark);
  int SetBool(int policyId, int value, int mark);
  int SetText(int policyId, const TextString& text, int mark);
  // Assigns the set mark; the policy, or null when absent.
  CorePolicy* SetSetMark(int policyId, int mark);

  // For each policy of other, the policy with the same id here takes its value and set mark.
  void CopyFrom(const PolicySection& other);
  // For each policy of other, the policy with the same id here merges it.
  void MergeFrom(int level, const PolicySection& other);
  void ResetAll();

  // With all 0 and nothing set, writes nothing and returns 1. Otherwise two empty lines,
  // the name, one empty line, then each policy's line in id order. 0 when a write failed.
  int Write(TextFile& out, int all) const;
  // A line equal to the name (case ignored) is consumed with category 2; otherwise each
  // policy is offered the line in id order until one consumes it. 1 when consumed here.
  int ParseLine(KeyValueLine& line);

  int GetId() const { return id_; }
  const TextString& GetName() const { return name_; }
  int GetCount() const { return static_cast<int>(policies_.size()); }
  // The policy at a position of the id order, or null outside 0..count-1.
  CorePolicy* pGetPolicyAt(int index) const;

 private:
  int defaultInt_ = -1;
  int defaultBool_ = 0;
  TextString defaultText_;
  int id_ = 0;
  TextString name_;
  std::vector<std::unique_ptr<CorePolicy>> policies_;
};

// The fixed sequence of the 15 sections of a policy set, in storage order.
class PolicyList {
 public:
  PolicyList() = default;
  PolicyList(const PolicyList&) = delete;
  PolicyList& operator=(const PolicyList&) = delete;

  // Names every section and adds the 133 policies of the table. Called once.
  void BuildSectionedPolicies();
  // ResetAll of every section.
  void ResetToDefaults();
  // When force is 0 and "Conversion Mode" is set, nothing. Otherwise it takes mode with
  // mark (as SetInt); then, with adjust, mode 6 turns "Remove all tags" and "Remove all HTML
  // tags" off, any other mode turns those and "Remove all non-HTML tags" on (without marks).
  void SetConversionMode(int mode, int force, int mark, int adjust);

  // The section with the id (every id 1..15 exists once built).
  PolicySection& GetSection(PolicySectionId id);
  const PolicySection& GetSection(PolicySectionId id) const;
  // The section at a storage position 0..14.
  PolicySection& GetSectionAt(int position) { return sections_[position]; }
  const PolicySection& GetSectionAt(int position) const { return sections_[position]; }

 private:
  std::array<PolicySection, kPolicySectionCount> sections_;
};

// 1 when the line is a section header of a configuration file: never when it holds ':' or
// '"'; otherwise when it equals one of the 27 known names (case ignored) or contains "-----".
int IsPolicySectionHeader(const TextString& line);
