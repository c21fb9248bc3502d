#pragma once

#include <string_view>

#include "text/TextString.h"

class FileControl;
class FontSpec;
class TextFile;
struct KeyValueLine;

// Type codes of the seven kinds of policy.
enum PolicyType : int {
  kIntPolicy = 1,
  kBoolPolicy = 2,
  kTextPolicy = 3,
  kAlignPolicy = 4,
  kColourPolicy = 5,
  kFontPolicy = 6,
  kListPolicy = 7,
};

// One named setting: key, category, default, current value and two marks that tell where
// the value came from. The kinds are plain structures (all fields public) with virtual
// operations; a policy owns its texts and nothing else. Nothing here throws.
//
// Marks: any explicit assignment sets `set`; a rule-set assignment also sets
// `setByRuleSet`; Reset clears both; CopyValue copies `set` only; Merge with a non-zero
// level copies both.
struct CorePolicy {
  CorePolicy() = default;
  virtual ~CorePolicy() = default;

  // Stores id, type code, section id and category, then takes the default (defaultNumber
  // for the integer kinds, defaultText for the text kinds, both plus choices for a list) as
  // default and value; key := key; both marks cleared. Returns 0.
  virtual int Define(int policyId, int policyTypeCode, int policySectionId,
                     int policyCategory, int defaultNumber, const char* defaultText,
                     const char* choices, const char* policyKey) = 0;
  // A value from a rule set (number for the integer kinds, text for the text kinds): see
  // the SetXByRuleSet functions below.
  virtual void SetRuleSetValue(FileControl& control, int number, const char* text,
                               int force) = 0;
  // value := source value, set := source set (not the rule-set mark). A source of another
  // kind changes nothing.
  virtual void CopyValue(const CorePolicy& source) = 0;
  // Writes the policy's line (nothing when all is 0 and the policy is not set). 0 when the
  // file refused the line, else 1.
  virtual int WritePolicyLine(TextFile& out, int all) const = 0;
  // When the line's key names this policy: marks the line consumed and puts the current
  // value, as a policy file would hold it, in out. 1 when the key matched.
  virtual int QueryValueText(KeyValueLine& line, TextString& out) const = 0;
  // Nothing when the source is not set; else the value is copied and, with a non-zero
  // level, both marks too.
  virtual void Merge(int level, const CorePolicy& source) = 0;
  // Applies a policy line when its key names this policy. 1 when this policy took the line
  // (see the line's result for whether it was applied), 0 when it did not.
  virtual int ParsePolicyValue(KeyValueLine& line) = 0;
  // value := default; both marks cleared. Returns 0.
  virtual int Reset() = 0;

  int id = 0;           // number in the id-based table; 0 for members registered by key
  int typeCode = 0;     // set by Define only
  int sectionId = 0;    // set by Define only
  int category = 0;     // 1..4
  int set = 0;          // set explicitly
  int setByRuleSet = 0; // the value came from a rule set
  TextString key;
  int readCount = 0;    // typed reads through a PolicySection
};

// Int, Bool, Align and List share these bodies: an integer default and value.
struct ScalarPolicy : CorePolicy {
  void CopyValue(const CorePolicy& source) override;
  void Merge(int level, const CorePolicy& source) override;
  int Reset() override;

  int defaultValue = 0;
  int value = 0;
};

// Any integer; -1 stands for "(none)".
struct IntPolicy : ScalarPolicy {
  int Define(int policyId, int policyTypeCode, int policySectionId, int policyCategory,
             int defaultNumber, const char* defaultText, const char* choices,
             const char* policyKey) override;
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int QueryValueText(KeyValueLine& line, TextString& out) const override;
  int ParsePolicyValue(KeyValueLine& line) override;
};

// 0 no, 1 yes.
struct BoolPolicy : ScalarPolicy {
  int Define(int policyId, int policyTypeCode, int policySectionId, int policyCategory,
             int defaultNumber, const char* defaultText, const char* choices,
             const char* policyKey) override;
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int QueryValueText(KeyValueLine& line, TextString& out) const override;
  int ParsePolicyValue(KeyValueLine& line) override;
};

// 1 left, 2 center, 3 right, 4 justified; 0 none.
struct AlignPolicy : ScalarPolicy {
  int Define(int policyId, int policyTypeCode, int policySectionId, int policyCategory,
             int defaultNumber, const char* defaultText, const char* choices,
             const char* policyKey) override;
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int QueryValueText(KeyValueLine& line, TextString& out) const override;
  int ParsePolicyValue(KeyValueLine& line) override;
};

// value (and defaultValue) is a 1-based index into the comma-separated choices; -1 none.
struct ListPolicy : ScalarPolicy {
  int Define(int policyId, int policyTypeCode, int policySectionId, int policyCategory,
             int defaultNumber, const char* defaultText, const char* choices,
             const char* policyKey) override;
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int QueryValueText(KeyValueLine& line, TextString& out) const override;
  int ParsePolicyValue(KeyValueLine& line) override;
  // index := default index, choices := default choices, marks cleared.
  int Reset() override;

  // The text of the current choice; "(none)" for index -1 (true) or for an index out of
  // range (false).
  bool GetValueText(TextString& out) const;

  TextString defaultChoices;
  TextString choices;
};

// Text, Colour and Font share these bodies: a text default and value.
struct TextValuePolicy : CorePolicy {
  int Define(int policyId, int policyTypeCode, int policySectionId, int policyCategory,
             int defaultNumber, const char* defaultText, const char* choices,
             const char* policyKey) override;
  void CopyValue(const CorePolicy& source) override;
  void Merge(int level, const CorePolicy& source) override;
  int Reset() override;
  int QueryValueText(KeyValueLine& line, TextString& out) const override;

  TextString defaultValue;
  TextString value;
};

// Any text; empty stands for "(none)".
struct TextPolicy : TextValuePolicy {
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int ParsePolicyValue(KeyValueLine& line) override;
};

// A colour as CanonicaliseColour accepts it; empty = none.
struct ColourPolicy : TextValuePolicy {
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int ParsePolicyValue(KeyValueLine& line) override;
};

// A font specification "face, style, size" (see ParseFontSpec).
struct FontPolicy : TextValuePolicy {
  // As the text kinds, but an invalid specification gives an empty default and value.
  int Define(int policyId, int policyTypeCode, int policySectionId, int policyCategory,
             int defaultNumber, const char* defaultText, const char* choices,
             const char* policyKey) override;
  void SetRuleSetValue(FileControl& control, int number, const char* text,
                       int force) override;
  int WritePolicyLine(TextFile& out, int all) const override;
  int ParsePolicyValue(KeyValueLine& line) override;

  // When the value is a valid specification: sets the font's point size, bold, italic and
  // face; otherwise nothing changes.
  void ApplyToFontSpec(FontSpec& font) const;
};

// ---- Registration by key (members of FileControl; id, type code and section id stay) ----
// Each sets category and key, default and value, and clears both marks.
void InitScalarPolicy(ScalarPolicy& policy, int category, int value, const char* key);
void InitTextPolicy(TextValuePolicy& policy, int category, const char* text, const char* key);
void InitListPolicy(ListPolicy& policy, int category, int index, const char* choices,
                    const char* key);
// The value is the font description when it is valid, else empty; the default follows it.
void InitFontPolicy(FontPolicy& policy, int category, const char* fontDescription,
                    const char* key);

// ---- Rule-set assignment ----
// 1. Already set by a rule set and force 0: nothing happens.
// 2. Not set, or force 1: value := v, set := 1 (colours are canonicalised and a bad one is
//    kept and reported at 7; an invalid font specification is refused and reported at 10).
// 3. Otherwise the explicit value stays and, during a pass, "INFO: Ruleset overrided - "
//    key " : " value is reported at 10.
// In 2 and 3 setByRuleSet := 1. Messages go through FileControl::ReportMessage.
void SetIntByRuleSet(FileControl& control, IntPolicy& policy, int value, int force);
void SetBoolByRuleSet(FileControl& control, BoolPolicy& policy, int value, int force);
void SetChoiceByRuleSet(FileControl& control, ScalarPolicy& policy, int value, int force);
void SetTextByRuleSet(FileControl& control, TextPolicy& policy, const char* value, int force);
void SetColourByRuleSet(FileControl& control, ColourPolicy& policy, const char* value,
                        int force);
void SetFontByRuleSet(FileControl& control, FontPolicy& policy, const char* value, int force);

// ---- Policy lines ----
// The written line: the key padded with blanks to column 42 (a key longer than 41
// characters is followed by two blanks), ": ", then valueText.
void FormatPolicyLine(const TextString& key, const char* valueText, TextString& out);

// Writers: nothing when all is 0 and the policy is not set; 0 when the file refused the
// line, else 1. The optional Int form writes "(none)" for values of 0 and below.
int WriteIntPolicyLine(TextFile& out, int all, const IntPolicy& policy);
int WriteOptionalIntPolicyLine(TextFile& out, int all, const IntPolicy& policy);
int WriteBoolPolicyLine(TextFile& out, int all, const BoolPolicy& policy);
int WriteTextPolicyLine(TextFile& out, int all, const TextPolicy& policy);
int WriteAlignPolicyLine(TextFile& out, int all, const AlignPolicy& policy);
int WriteColourPolicyLine(TextFile& out, int all, const ColourPolicy& policy);
int WriteFontPolicyLine(TextFile& out, int all, const FontPolicy& policy);
int WriteListPolicyLine(TextFile& out, int all, const ListPolicy& policy);

// 1 when the line's key (its first ':' field, trimmed) or, when not empty, the key of the
// alternative text equals the trimmed policy key, case ignored.
int MatchPolicyKey(const KeyValueLine& line, const TextString& key);

// Offers the line to policy when the line's key equals aliasKey (case ignored): the policy's
// key goes in as the line's alternative text for the parse, which the key match accepts.
// The policy parser's result; 0 when the key is not the alias.
int ParsePolicyLineUnderAlias(KeyValueLine& line, CorePolicy& policy, std::string_view aliasKey);

// Parsers: apply a line to a policy when its key matches. 1 when the policy took the line
// (consumed; line.result tells whether it was applied), 0 otherwise. A range with
// minimum < maximum refuses numbers outside it; (-1, -1) is no range.
int ParseIntPolicyLine(KeyValueLine& line, IntPolicy& policy, int minimum, int maximum);
int ParseBoolPolicyLine(KeyValueLine& line, BoolPolicy& policy);
int ParseTextPolicyLine(KeyValueLine& line, TextPolicy& policy);
int ParseAlignPolicyLine(KeyValueLine& line, AlignPolicy& policy);
int ParseColourPolicyLine(KeyValueLine& line, ColourPolicy& policy);
int ParseFontPolicyLine(KeyValueLine& line, FontPolicy& policy);
int ParseListPolicyLine(KeyValueLine& line, ListPolicy& policy);

// ---- Font specifications: "face, style, size" ----
// Face required; style empty/"normal"/"regular", "bold", "italic", "bold italic" or
// "italic bold" (case ignored); size a decimal integer, 12 when absent. 1 valid (outputs
// filled), 0 invalid (outputs untouched).
int ParseFontSpec(TextString& face, int& bold, int& italic, int& size,
                  const TextString& specification);
// ParseFontSpec without outputs; 0 for null.
int IsValidFontSpec(const char* text);

// ---- Choices of a ListPolicy ----
// The index-th comma-separated field (1-based); -1 gives "(none)" and true; any other index
// outside the fields gives "(none)" and false.
bool GetChoiceText(const TextString& choices, int index, TextString& out);
// The 1-based index of the first field equal to text (both trimmed, blank runs collapsed,
// case ignored), or -1.
int FindChoice(const TextString& choices, const TextString& text);
