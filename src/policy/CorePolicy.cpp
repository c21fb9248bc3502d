#include "policy/CorePolicy.h"

#include "policy/ValueConversions.h"
#include "policy/PolicyContext.h"
#include "policy/FileControl.h"
#include "policy/ErrorHandler.h"
#include "policy/KeyValueLine.h"
#include "text/ArgumentLists.h"
#include "text/FontSpec.h"
#include "text/TextFile.h"

#include <climits>
#include <string_view>

// ---- Small helpers ----

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

static std::string_view TrimView(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

static bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

static std::string_view View(const TextString& text) {
  return std::string_view(text.GetText(), static_cast<std::size_t>(text.GetLength()));
}

// Reads a decimal integer as a C scanf would: leading blanks, an optional sign, at least one
// digit; text after the digits is ignored. A number outside the int range is unreadable
// rather than wrapped.
static bool ReadDecimal(std::string_view text, int& out) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  long long number = 0;
  std::size_t digits = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, ++digits) {
    number = number * 10 + (text[pos] - '0');
    if (number > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (digits == 0) return false;
  if (negative) number = -number;
  if (number > INT_MAX || number < INT_MIN) return false;
  out = static_cast<int>(number);
  return true;
}

// Composes a message from up to three pieces and reports it through the line's handler.
static void ReportThroughLine(const KeyValueLine& line, const char* first, const char* second,
                              const char* third, int level) {
  if (line.handler == nullptr) return;
  line.handler->SetMessageText(first);
  if (second != nullptr) line.handler->AppendMessageText(second);
  if (third != nullptr) line.handler->AppendMessageText(third);
  line.handler->ReportBuffer(level);
}

// ---- Choices ----

// Calls visit(field, index) for each comma-separated field (1-based) until it returns true.
template <typename Visit>
static bool ForEachChoice(const TextString& choices, Visit visit) {
  std::string_view rest = View(choices);
  for (int index = 1;; ++index) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = rest.substr(0, comma);
    if (visit(field, index)) return true;
    if (comma == std::string_view::npos) return false;
    rest.remove_prefix(comma + 1);
  }
}

bool GetChoiceText(const TextString& choices, int index, TextString& out) {
  out.Assign("(none)");
  if (index == -1) return true;
  if (index <= 0) return false;
  return ForEachChoice(choices, [&](std::string_view field, int n) {
    if (n != index) return false;
    out.AssignBytes(field.data(), static_cast<int>(field.size()));
    return true;
  });
}

// Trimmed, with every run of blanks reduced to one space, so that "A4  Extra" finds
// "A4 Extra".
static void CollapseForChoice(std::string_view text, TextString& out) {
  out.SetEmpty();
  text = TrimView(text);
  bool inBlanks = false;
  for (const char c : text) {
    if (IsBlank(c)) {
      inBlanks = true;
      continue;
    }
    if (inBlanks) out.AppendChar(' ');
    inBlanks = false;
    out.AppendChar(c);
  }
}

int FindChoice(const TextString& choices, const TextString& text) {
  TextString wanted;
  CollapseForChoice(View(text), wanted);
  TextString field;
  int found = -1;
  ForEachChoice(choices, [&](std::string_view choice, int n) {
    CollapseForChoice(choice, field);
    if (!EqualsIgnoringCase(View(field), View(wanted))) return false;
    found = n;
    return true;
  });
  return found;
}

// ---- Font specifications ----

// The fields of a specification: the text with a blank in front, re-delimited on commas
// as tag argument lists are (quotes respected and removed), then split at the separator
// that the normaliser put first. False when no free separator exists.
static bool SplitFontFields(const TextString& specification, TextString fields[3],
                            int& count) {
  TextString args(" ");
  args.Append(specification);
  TextString normalised;
  if (!NormaliseArgumentList(args, ",", 0, normalised)) return false;

  count = 0;
  const char separator = normalised.CharAt(0);
  std::string_view rest = View(normalised).substr(1);
  for (;;) {
    const std::size_t next = rest.find(separator);
    if (count < 3) {
      const std::string_view field = TrimView(rest.substr(0, next));
      fields[count].AssignBytes(field.data(), static_cast<int>(field.size()));
    }
    ++count;
    if (next == std::string_view::npos) return true;
    rest.remove_prefix(next + 1);
  }
}

int ParseFontSpec(TextString& face, int& bold, int& italic, int& size,
                  const TextString& specification) {
  TextString fields[3];
  int count = 0;
  if (!SplitFontFields(specification, fields, count)) return 0;
  if (fields[0].IsEmpty()) return 0;

  int isBold = 0;
  int isItalic = 0;
  const std::string_view style = count >= 2 ? View(fields[1]) : std::string_view();
  if (style.empty() || EqualsIgnoringCase(style, "normal") ||
      EqualsIgnoringCase(style, "regular")) {
  } else if (EqualsIgnoringCase(style, "bold")) {
    isBold = 1;
  } else if (EqualsIgnoringCase(style, "italic")) {
    isItalic = 1;
  } else if (EqualsIgnoringCase(style, "bold italic") ||
             EqualsIgnoringCase(style, "italic bold")) {
    isBold = 1;
    isItalic = 1;
  } else {
    return 0;
  }

  int points = 12;
  if (count >= 3 && !ReadDecimal(View(fields[2]), points)) return 0;

  face.Assign(fields[0]);
  bold = isBold;
  italic = isItalic;
  size = points;
  return 1;
}

int IsValidFontSpec(const char* text) {
  if (text == nullptr) return 0;
  TextString face;
  int bold = 0;
  int italic = 0;
  int size = 0;
  return ParseFontSpec(face, bold, italic, size, TextString(text));
}

void FontPolicy::ApplyToFontSpec(FontSpec& font) const {
  TextString face;
  int bold = 0;
  int italic = 0;
  int size = 0;
  if (!ParseFontSpec(face, bold, italic, size, value)) return;
  font.SetPointSize(size);
  font.SetBold(bold);
  font.SetItalic(italic);
  font.SetFace(face);
}

// ---- Definition and registration ----

static void DefineCore(CorePolicy& policy, int policyId, int policyTypeCode,
                       int policySectionId, int policyCategory, const char* policyKey) {
  policy.id = policyId;
  policy.typeCode = policyTypeCode;
  policy.sectionId = policySectionId;
  policy.category = policyCategory;
  policy.key.Assign(policyKey);
  policy.set = 0;
  policy.setByRuleSet = 0;
}

static int DefineScalar(ScalarPolicy& policy, int policyId, int policyTypeCode,
                        int policySectionId, int policyCategory, int defaultNumber,
                        const char* policyKey) {
  DefineCore(policy, policyId, policyTypeCode, policySectionId, policyCategory, policyKey);
  policy.defaultValue = defaultNumber;
  policy.value = defaultNumber;
  return 0;
}

int IntPolicy::Define(int policyId, int policyTypeCode, int policySectionId,
                      int policyCategory, int defaultNumber, const char*, const char*,
                      const char* policyKey) {
  return DefineScalar(*this, policyId, policyTypeCode, policySectionId, policyCategory,
                      defaultNumber, policyKey);
}

int BoolPolicy::Define(int policyId, int policyTypeCode, int policySectionId,
                       int policyCategory, int defaultNumber, const char*, const char*,
                       const char* policyKey) {
  return DefineScalar(*this, policyId, policyTypeCode, policySectionId, policyCategory,
                      defaultNumber, policyKey);
}

int AlignPolicy::Define(int policyId, int policyTypeCode, int policySectionId,
                        int policyCategory, int defaultNumber, const char*, const char*,
                        const char* policyKey) {
  return DefineScalar(*this, policyId, policyTypeCode, policySectionId, policyCategory,
                      defaultNumber, policyKey);
}

int ListPolicy::Define(int policyId, int policyTypeCode, int policySectionId,
                       int policyCategory, int defaultNumber, const char*,
                       const char* choiceText, const char* policyKey) {
  DefineScalar(*this, policyId, policyTypeCode, policySectionId, policyCategory, defaultNumber,
               policyKey);
  defaultChoices.Assign(choiceText);
  choices.Assign(choiceText);
  return 0;
}

int TextValuePolicy::Define(int policyId, int policyTypeCode, int policySectionId,
                            int policyCategory, int, const char* defaultText, const char*,
                            const char* policyKey) {
  DefineCore(*this, policyId, policyTypeCode, policySectionId, policyCategory, policyKey);
  defaultValue.Assign(defaultText);
  value.Assign(defaultText);
  return 0;
}

// An invalid specification leaves the font unset rather than carrying a text that every
// later reader would refuse.
static const char* ValidFontSpecOrEmpty(const char* specification) {
  return IsValidFontSpec(specification) ? specification : "";
}

int FontPolicy::Define(int policyId, int policyTypeCode, int policySectionId,
                       int policyCategory, int defaultNumber, const char* defaultText,
                       const char* choiceText, const char* policyKey) {
  return TextValuePolicy::Define(policyId, policyTypeCode, policySectionId, policyCategory,
                                 defaultNumber, ValidFontSpecOrEmpty(defaultText), choiceText,
                                 policyKey);
}

static void RegisterByKey(CorePolicy& policy, int category, const char* key) {
  policy.category = category;
  policy.key.Assign(key);
  policy.set = 0;
  policy.setByRuleSet = 0;
}

void InitScalarPolicy(ScalarPolicy& policy, int category, int value, const char* key) {
  RegisterByKey(policy, category, key);
  policy.defaultValue = value;
  policy.value = value;
}

void InitTextPolicy(TextValuePolicy& policy, int category, const char* text, const char* key) {
  RegisterByKey(policy, category, key);
  policy.defaultValue.Assign(text);
  policy.value.Assign(text);
}

void InitListPolicy(ListPolicy& policy, int category, int index, const char* choices,
                    const char* key) {
  InitScalarPolicy(policy, category, index, key);
  policy.defaultChoices.Assign(choices);
  policy.choices.Assign(choices);
}

void InitFontPolicy(FontPolicy& policy, int category, const char* fontDescription,
                    const char* key) {
  InitTextPolicy(policy, category, ValidFontSpecOrEmpty(fontDescription), key);
}

// ---- Copy, merge, reset ----

void ScalarPolicy::CopyValue(const CorePolicy& source) {
  const auto* scalar = dynamic_cast<const ScalarPolicy*>(&source);
  if (scalar == nullptr) return;
  value = scalar->value;
  set = scalar->set;
}

void ScalarPolicy::Merge(int level, const CorePolicy& source) {
  const auto* scalar = dynamic_cast<const ScalarPolicy*>(&source);
  if (scalar == nullptr || !scalar->set) return;
  value = scalar->value;
  if (level == 0) return;
  set = scalar->set;
  setByRuleSet = scalar->setByRuleSet;
}

int ScalarPolicy::Reset() {
  value = defaultValue;
  set = 0;
  setByRuleSet = 0;
  return 0;
}

int ListPolicy::Reset() {
  ScalarPolicy::Reset();
  choices.Assign(defaultChoices);
  return 0;
}

void TextValuePolicy::CopyValue(const CorePolicy& source) {
  const auto* text = dynamic_cast<const TextValuePolicy*>(&source);
  if (text == nullptr) return;
  value.Assign(text->value);
  set = text->set;
}

void TextValuePolicy::Merge(int level, const CorePolicy& source) {
  const auto* text = dynamic_cast<const TextValuePolicy*>(&source);
  if (text == nullptr || !text->set) return;
  value.Assign(text->value);
  if (level == 0) return;
  set = text->set;
  setByRuleSet = text->setByRuleSet;
}

int TextValuePolicy::Reset() {
  value.Assign(defaultValue);
  set = 0;
  setByRuleSet = 0;
  return 0;
}

// ---- Written value forms ----

static const char* AlignWord(int code) {
  switch (code) {
    case 1:
      return "left";
    case 2:
      return "center";
    case 3:
      return "right";
    case 4:
      return "justified";
    default:
      return "(none)";
  }
}

static const char* YesNo(int value) { return value ? "Yes" : "No"; }

static const char* TextOrNone(const TextString& text) {
  return text.IsEmpty() ? "(none)" : text.GetText();
}

bool ListPolicy::GetValueText(TextString& out) const { return GetChoiceText(choices, value, out); }

// ---- Writing ----

void FormatPolicyLine(const TextString& key, const char* valueText, TextString& out) {
  const int length = key.GetLength();
  const int width = length > 41 ? length + 2 : 42;
  out.Assign(key);
  while (out.GetLength() < width) out.AppendChar(' ');
  out.Append(": ");
  out.Append(valueText);
}

static int WriteLineIfWanted(TextFile& out, int all, const CorePolicy& policy,
                             const char* valueText) {
  if (all == 0 && !policy.set) return 1;
  TextString line;
  FormatPolicyLine(policy.key, valueText, line);
  return out.WriteText(line.GetText()) ? 1 : 0;
}

static TextString NumberWithBlank(int number) {
  TextString text(number);
  text.AppendChar(' ');
  return text;
}

int WriteIntPolicyLine(TextFile& out, int all, const IntPolicy& policy) {
  return WriteLineIfWanted(out, all, policy, NumberWithBlank(policy.value).GetText());
}

int WriteOptionalIntPolicyLine(TextFile& out, int all, const IntPolicy& policy) {
  if (policy.value <= 0) return WriteLineIfWanted(out, all, policy, "(none)");
  return WriteIntPolicyLine(out, all, policy);
}

int WriteBoolPolicyLine(TextFile& out, int all, const BoolPolicy& policy) {
  return WriteLineIfWanted(out, all, policy, YesNo(policy.value));
}

int WriteTextPolicyLine(TextFile& out, int all, const TextPolicy& policy) {
  return WriteLineIfWanted(out, all, policy, TextOrNone(policy.value));
}

int WriteAlignPolicyLine(TextFile& out, int all, const AlignPolicy& policy) {
  return WriteLineIfWanted(out, all, policy, AlignWord(policy.value));
}

int WriteColourPolicyLine(TextFile& out, int all, const ColourPolicy& policy) {
  return WriteLineIfWanted(out, all, policy, TextOrNone(policy.value));
}

int WriteFontPolicyLine(TextFile& out, int all, const FontPolicy& policy) {
  return WriteLineIfWanted(out, all, policy, TextOrNone(policy.value));
}

int WriteListPolicyLine(TextFile& out, int all, const ListPolicy& policy) {
  TextString choice;
  policy.GetValueText(choice);
  return WriteLineIfWanted(out, all, policy, choice.GetText());
}

int IntPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteIntPolicyLine(out, all, *this);
}
int BoolPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteBoolPolicyLine(out, all, *this);
}
int AlignPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteAlignPolicyLine(out, all, *this);
}
int ListPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteListPolicyLine(out, all, *this);
}
int TextPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteTextPolicyLine(out, all, *this);
}
int ColourPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteColourPolicyLine(out, all, *this);
}
int FontPolicy::WritePolicyLine(TextFile& out, int all) const {
  return WriteFontPolicyLine(out, all, *this);
}

// ---- Reading ----

// The key of a line text: its first ':' field, trimmed.
static std::string_view LineKey(const TextString& lineText) {
  const std::string_view text = View(lineText);
  return TrimView(text.substr(0, text.find(':')));
}

int MatchPolicyKey(const KeyValueLine& line, const TextString& key) {
  const std::string_view policyKey = TrimView(View(key));
  if (EqualsIgnoringCase(LineKey(line.lineText), policyKey)) return 1;
  if (line.alternativeText.IsEmpty()) return 0;
  return EqualsIgnoringCase(LineKey(line.alternativeText), policyKey) ? 1 : 0;
}

int ParsePolicyLineUnderAlias(KeyValueLine& line, CorePolicy& policy, std::string_view aliasKey) {
  if (!EqualsIgnoringCase(LineKey(line.lineText), TrimView(aliasKey))) return 0;
  TextString saved(line.alternativeText);
  line.alternativeText = policy.key;
  const int taken = policy.ParsePolicyValue(line);
  line.alternativeText = saved;
  return taken;
}

// Repeats of these are expected (several layers name them) and are dropped silently.
static bool IsSilentRepeat(PolicyType kind, const TextString& key) {
  static constexpr std::string_view kSilentBoolKeys[] = {
      "Use .HTM extension", "Concatenate results into one file", "Remove all tags",
      "Make Directory"};
  const std::string_view text = View(key);
  if (kind == kTextPolicy) return EqualsIgnoringCase(text, "Directory filename");
  if (kind != kBoolPolicy) return false;
  for (const std::string_view silent : kSilentBoolKeys)
    if (EqualsIgnoringCase(text, silent)) return true;
  return false;
}

static const char* MissingKeyMessage(PolicyType kind) {
  if (kind == kIntPolicy) return "PROGRAM ERROR: Missing Int policy text";
  if (kind == kBoolPolicy) return "PROGRAM ERROR: Missing Bool policy text";
  return "PROGRAM ERROR: Missing text policy text";
}

// Steps that every parser and the value query share: skip a consumed line, complain about
// a policy without key, match the key, take the line. True when the policy took it.
static bool TakeLine(KeyValueLine& line, const CorePolicy& policy, const char* missingKey) {
  if (line.consumed) return false;
  if (policy.key.IsEmpty()) ReportThroughLine(line, missingKey, nullptr, nullptr, 10);
  if (!MatchPolicyKey(line, policy.key)) return false;
  line.consumed = 1;
  line.category = policy.category;
  return true;
}

enum class LineStep { kNotTaken, kDone, kApplyValue };

// The shared first steps of a parser. kApplyValue: the kind's value rule applies next.
static LineStep BeginPolicyLine(KeyValueLine& line, const CorePolicy& policy, PolicyType kind) {
  if (!TakeLine(line, policy, MissingKeyMessage(kind))) return LineStep::kNotTaken;

  if (policy.set && line.repeatCheck) {
    if (policy.setByRuleSet) {
      ReportThroughLine(line, "INFO: Ruleset overrided : ", line.lineText.GetText(), nullptr,
                        10);
    } else {
      if (IsSilentRepeat(kind, policy.key)) return LineStep::kDone;
      line.result = 0;
      ReportThroughLine(line, "POLICY: Ignoring repeated policy \\", policy.key.GetText(), "\\",
                        10);
      return LineStep::kDone;
    }
  }

  if (line.hasValue) return LineStep::kApplyValue;

  line.missingValue = 1;
  line.result = 0;
  if (line.handler != nullptr) {
    TextString message("POLICY: Ignored - No value given for xxxx");
    message.ReplaceAll("xxxx", policy.key.GetText(), 0, 1);
    line.handler->SetMessageText(message.GetText());
    line.handler->ReportBuffer(10);
  }
  return LineStep::kDone;
}

// A refused value: not applied, and the policy no longer counts as set.
static void RefuseValue(KeyValueLine& line, CorePolicy& policy) {
  line.result = 0;
  policy.set = 0;
}

int ParseIntPolicyLine(KeyValueLine& line, IntPolicy& policy, int minimum, int maximum) {
  const LineStep step = BeginPolicyLine(line, policy, kIntPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (line.none) {
    policy.value = -1;
    policy.set = 1;
    return 1;
  }
  int number = 0;
  if (!ReadDecimal(View(line.valueText), number)) {
    RefuseValue(line, policy);
    return 1;
  }
  if (minimum < maximum && (number < minimum || number > maximum)) {
    TextString message("POLICY: Ignored - Value ");
    message.Append(TextString(number));
    message.Append(" is outside allowed range (");
    message.Append(TextString(minimum));
    message.AppendChar(':');
    message.Append(TextString(maximum));
    message.AppendChar(')');
    ReportThroughLine(line, message.GetText(), nullptr, nullptr, 10);
    RefuseValue(line, policy);
    return 1;
  }
  policy.value = number;
  policy.set = 1;
  return 1;
}

int ParseBoolPolicyLine(KeyValueLine& line, BoolPolicy& policy) {
  const LineStep step = BeginPolicyLine(line, policy, kBoolPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (!line.yes && !line.no) {
    // The old value and its mark stay: a typo must not unset what an earlier layer set.
    line.result = 0;
    ReportThroughLine(line, "ERROR: Don't understand policy value : ", line.valueText.GetText(),
                      nullptr, 10);
    return 1;
  }
  policy.value = line.yes ? 1 : 0;
  policy.set = 1;
  return 1;
}

int ParseTextPolicyLine(KeyValueLine& line, TextPolicy& policy) {
  const LineStep step = BeginPolicyLine(line, policy, kTextPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (line.none)
    policy.value.SetEmpty();
  else
    policy.value.Assign(line.valueText);
  policy.set = 1;
  return 1;
}

int ParseAlignPolicyLine(KeyValueLine& line, AlignPolicy& policy) {
  const LineStep step = BeginPolicyLine(line, policy, kAlignPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (line.none) {
    policy.value = 0;
    return 1;
  }
  policy.value = ParseAlignmentLetter(line.valueText);
  if (policy.value == 0) {
    RefuseValue(line, policy);
    return 1;
  }
  policy.set = 1;
  return 1;
}

int ParseColourPolicyLine(KeyValueLine& line, ColourPolicy& policy) {
  const LineStep step = BeginPolicyLine(line, policy, kColourPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (line.none) {
    policy.value.SetEmpty();
    policy.set = 1;
    return 1;
  }
  policy.value.Assign(line.valueText);
  if (!CanonicaliseColour(policy.value, policy.value)) {
    ReportThroughLine(line, "WARNING: \"", policy.value.GetText(),
                      "\" is not a standard HTML colour", 7);
    RefuseValue(line, policy);
    return 1;
  }
  policy.set = 1;
  return 1;
}

int ParseFontPolicyLine(KeyValueLine& line, FontPolicy& policy) {
  const LineStep step = BeginPolicyLine(line, policy, kFontPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (line.none) {
    policy.value.SetEmpty();
    policy.set = 1;
    return 1;
  }
  if (!IsValidFontSpec(line.valueText.GetText())) {
    ReportThroughLine(line, "WARNING: \"", line.valueText.GetText(),
                      "\" is not a valid font specification", 10);
    RefuseValue(line, policy);
    return 1;
  }
  policy.value.Assign(line.valueText);
  policy.set = 1;
  return 1;
}

int ParseListPolicyLine(KeyValueLine& line, ListPolicy& policy) {
  const LineStep step = BeginPolicyLine(line, policy, kListPolicy);
  if (step == LineStep::kNotTaken) return 0;
  if (step == LineStep::kDone) return 1;

  if (line.none) {
    policy.value = -1;
    policy.set = 1;
    return 1;
  }
  const int index = FindChoice(policy.choices, line.valueText);
  if (index < 0) {
    RefuseValue(line, policy);
    return 1;
  }
  policy.value = index;
  policy.set = 1;
  return 1;
}

int IntPolicy::ParsePolicyValue(KeyValueLine& line) {
  return ParseIntPolicyLine(line, *this, -1, -1);
}
int BoolPolicy::ParsePolicyValue(KeyValueLine& line) { return ParseBoolPolicyLine(line, *this); }
int AlignPolicy::ParsePolicyValue(KeyValueLine& line) {
  return ParseAlignPolicyLine(line, *this);
}
int ListPolicy::ParsePolicyValue(KeyValueLine& line) { return ParseListPolicyLine(line, *this); }
int TextPolicy::ParsePolicyValue(KeyValueLine& line) { return ParseTextPolicyLine(line, *this); }
int ColourPolicy::ParsePolicyValue(KeyValueLine& line) {
  return ParseColourPolicyLine(line, *this);
}
int FontPolicy::ParsePolicyValue(KeyValueLine& line) { return ParseFontPolicyLine(line, *this); }

// ---- Value queries ----

static bool TakeQueryLine(KeyValueLine& line, const CorePolicy& policy) {
  return TakeLine(line, policy, "PROGRAM ERROR: Missing text policy text");
}

int IntPolicy::QueryValueText(KeyValueLine& line, TextString& out) const {
  if (!TakeQueryLine(line, *this)) return 0;
  out.Assign(TextString(value));
  return 1;
}

int BoolPolicy::QueryValueText(KeyValueLine& line, TextString& out) const {
  if (!TakeQueryLine(line, *this)) return 0;
  out.Assign(YesNo(value));
  return 1;
}

int AlignPolicy::QueryValueText(KeyValueLine& line, TextString& out) const {
  if (!TakeQueryLine(line, *this)) return 0;
  out.Assign(AlignWord(value));
  return 1;
}

int ListPolicy::QueryValueText(KeyValueLine& line, TextString& out) const {
  if (!TakeQueryLine(line, *this)) return 0;
  GetValueText(out);
  return 1;
}

int TextValuePolicy::QueryValueText(KeyValueLine& line, TextString& out) const {
  if (!TakeQueryLine(line, *this)) return 0;
  out.Assign(TextOrNone(value));
  return 1;
}

// ---- Rule-set assignment ----

// Rule-set messages are composed in the policy set's shared message text and go its usual
// route.
static void ReportRuleSetMessage(FileControl& control, const TextString& text, int level) {
  TextString& message = control.GetMessageText();
  message.Assign(text);
  control.ReportMessage(message.GetText(), level);
}

// A conversion pass is running on the attached Context.
static bool IsInPass(const FileControl& control) {
  const PolicyContext* context = control.pGetPolicyContext();
  if (context == nullptr) return false;
  return context->CodeLocation >= kLocationAnalysis && context->CodeLocation <= kLocationOutput;
}

enum class RuleSetStep { kIgnore, kAssign, kKeepExplicit };

// Steps 1 to 4 of a rule-set assignment, apart from the value itself.
static RuleSetStep BeginRuleSetValue(CorePolicy& policy, int force) {
  if (policy.setByRuleSet && force == 0) return RuleSetStep::kIgnore;
  policy.setByRuleSet = 1;
  if (!policy.set || force == 1) {
    policy.set = 1;
    return RuleSetStep::kAssign;
  }
  return RuleSetStep::kKeepExplicit;
}

// "INFO: Ruleset overrided - <key> : <value>", only while a pass is running.
static void ReportOverride(FileControl& control, const CorePolicy& policy,
                           const TextString& valueText) {
  if (!IsInPass(control)) return;
  TextString message("INFO: Ruleset overrided - ");
  message.Append(policy.key);
  message.Append(" : ");
  message.Append(valueText);
  ReportRuleSetMessage(control, message, 10);
}

static TextString Quoted(const TextString& text) {
  TextString quoted("\"");
  quoted.Append(text);
  quoted.AppendChar('"');
  return quoted;
}

static void ReportWarning(FileControl& control, const char* value, const char* tail,
                          int level) {
  TextString message("WARNING: \"");
  message.Append(value);
  message.Append(tail);
  ReportRuleSetMessage(control, message, level);
}

void SetIntByRuleSet(FileControl& control, IntPolicy& policy, int value, int force) {
  const RuleSetStep step = BeginRuleSetValue(policy, force);
  if (step == RuleSetStep::kAssign) policy.value = value;
  if (step == RuleSetStep::kKeepExplicit) ReportOverride(control, policy, TextString(policy.value));
}

void SetBoolByRuleSet(FileControl& control, BoolPolicy& policy, int value, int force) {
  const RuleSetStep step = BeginRuleSetValue(policy, force);
  if (step == RuleSetStep::kAssign) policy.value = value;
  if (step == RuleSetStep::kKeepExplicit) ReportOverride(control, policy, YesNo(policy.value));
}

void SetChoiceByRuleSet(FileControl& control, ScalarPolicy& policy, int value, int force) {
  const RuleSetStep step = BeginRuleSetValue(policy, force);
  if (step == RuleSetStep::kAssign) policy.value = value;
  if (step == RuleSetStep::kKeepExplicit)
    ReportOverride(control, policy, Quoted(TextString(policy.value)));
}

void SetTextByRuleSet(FileControl& control, TextPolicy& policy, const char* value, int force) {
  const RuleSetStep step = BeginRuleSetValue(policy, force);
  if (step == RuleSetStep::kAssign) policy.value.Assign(value);
  if (step == RuleSetStep::kKeepExplicit) ReportOverride(control, policy, Quoted(policy.value));
}

void SetColourByRuleSet(FileControl& control, ColourPolicy& policy, const char* value,
                        int force) {
  const RuleSetStep step = BeginRuleSetValue(policy, force);
  if (step == RuleSetStep::kKeepExplicit) ReportOverride(control, policy, Quoted(policy.value));
  if (step != RuleSetStep::kAssign) return;
  policy.value.Assign(value);
  if (CanonicaliseColour(policy.value, policy.value)) return;
  ReportWarning(control, policy.value.GetText(), "\" is not a standard HTML colour", 7);
}

void SetFontByRuleSet(FileControl& control, FontPolicy& policy, const char* value, int force) {
  const RuleSetStep step = BeginRuleSetValue(policy, force);
  if (step == RuleSetStep::kKeepExplicit) ReportOverride(control, policy, Quoted(policy.value));
  if (step != RuleSetStep::kAssign) return;
  if (IsValidFontSpec(value)) {
    policy.value.Assign(value);
    return;
  }
  ReportWarning(control, value != nullptr ? value : "", "\" is not a valid font specification",
                10);
}

void IntPolicy::SetRuleSetValue(FileControl& control, int number, const char*, int force) {
  SetIntByRuleSet(control, *this, number, force);
}
void BoolPolicy::SetRuleSetValue(FileControl& control, int number, const char*, int force) {
  SetBoolByRuleSet(control, *this, number, force);
}
void AlignPolicy::SetRuleSetValue(FileControl& control, int number, const char*, int force) {
  SetChoiceByRuleSet(control, *this, number, force);
}
void ListPolicy::SetRuleSetValue(FileControl& control, int number, const char*, int force) {
  SetChoiceByRuleSet(control, *this, number, force);
}
void TextPolicy::SetRuleSetValue(FileControl& control, int, const char* text, int force) {
  SetTextByRuleSet(control, *this, text, force);
}
void ColourPolicy::SetRuleSetValue(FileControl& control, int, const char* text, int force) {
  SetColourByRuleSet(control, *this, text, force);
}
void FontPolicy::SetRuleSetValue(FileControl& control, int, const char* text, int force) {
  SetFontByRuleSet(control, *this, text, force);
}
