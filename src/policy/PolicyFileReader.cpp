#include "policy/PolicyFileReader.h"

#include <string_view>
#include <vector>

#include "policy/LinkDictionary.h"
#include "policy/PolicyContext.h"
#include "platform/FileSystem.h"
#include "policy/FileControl.h"
#include "policy/KeyValueLine.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "policy/StatementReading.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/PathUtils.h"
#include "text/Statement.h"
#include "text/StatementFile.h"

// ---- Shared helpers ----

bool IsMissingColonExempt(const TextString& line) {
  if (line.IsEmpty() || line.Compare("!", 1, 0)) return true;
  if (line.ContainsChar('[') || line.ContainsChar(']')) return true;
  if (IsPolicySectionHeader(line)) return true;
  return line.ContainsNoCase(" recognised headings") || line.ContainsNoCase("Contents level") ||
         line.ContainsNoCase("Heading level");
}

void ResolvePolicyFileName(const TextString& folder, const TextString& name, TextString& out) {
  if (folder.IsEmpty()) {
    out.Assign(name);
    return;
  }
  ResolveRelativePath(folder, name, out);
}

static bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// Collapses each run of blanks and tabs to its first byte, except between a pair of double
// quotes: a quoted text (a link's match or replacement, a quoted value) keeps its bytes. A
// double quote without a partner after it opens nothing, and the rest is collapsed as usual.
static void CollapseBlanksOutsideQuotes(TextString& line) {
  char* b = line.GetBuffer();
  if (b == nullptr) return;
  const int length = line.GetLength();
  int out = 0;
  bool previousBlank = false;
  bool pairedQuotes = true;  // false once a quote has been found to have no partner
  for (int i = 0; i < length; ++i) {
    if (b[i] == '"' && pairedQuotes) {
      int close = i + 1;
      while (close < length && b[close] != '"') ++close;
      if (close < length) {
        while (i <= close) b[out++] = b[i++];
        --i;
        previousBlank = false;
        continue;
      }
      pairedQuotes = false;
    }
    const bool blank = IsBlankOrTab(b[i]);
    if (!(blank && previousBlank)) b[out++] = b[i];
    previousBlank = blank;
  }
  b[out] = '\0';
  line.SetLength(out);
}

// The n-th (0-based) blank-separated word of text; empty when there are fewer words.
static std::string_view WordAt(const TextString& text, int n) {
  const char* p = text.GetText();
  const char* end = p + text.GetLength();
  int index = 0;
  while (p < end) {
    while (p < end && IsBlankOrTab(*p)) ++p;
    if (p == end) break;
    const char* start = p;
    while (p < end && !IsBlankOrTab(*p)) ++p;
    if (index == n) return {start, static_cast<std::size_t>(p - start)};
    ++index;
  }
  return {};
}

// A plain decimal number: an optional '-' and digits, within the int range. Unlike the
// general number reader, "4x" or "1.5" are not numbers here: a position or a level that is
// only half readable must not pass.
static bool ReadDecimal(std::string_view text, int& out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > 2147483647LL) return false;
  }
  out = static_cast<int>(negative ? -value : value);
  return true;
}

// The text after the first ':' of line, trimmed; empty when there is no colon.
static TextString ValueAfterColon(const TextString& line) {
  TextString value;
  int colon = -1;
  if (!line.FindChar(0, ':', &colon, 1) || colon < 0) return value;
  value.AssignSubstring(line.GetText(), colon + 1, -1);
  value.Trim();
  return value;
}

static bool IsNoneWord(const TextString& value) {
  return value.Compare("(none)", 0, 0) || value.Compare("none", 0, 0);
}

// Messages of the loader and the reader are composed here and routed through the policy set.
static void Report(FileControl& fc, const char* first, const char* second, const char* third,
                   int level) {
  TextString message(first);
  if (second != nullptr) message.Append(second);
  if (third != nullptr) message.Append(third);
  fc.ReportMessage(message.GetText(), level);
}

// Up to six blank-separated numbers of value into positions (the rest -1); stops at the
// first field that is not a number. Returns how many were read.
static int ReadPositions(const TextString& value, int (&positions)[FileControl::kMaxPositions]) {
  for (int& position : positions) position = -1;
  int count = 0;
  while (count < FileControl::kMaxPositions) {
    int number = 0;
    if (!ReadDecimal(WordAt(value, count), number)) break;
    positions[count] = number;
    ++count;
  }
  return count;
}

// Appends every blank-separated word of value to list.
static void AppendWords(const TextString& value, StringList& list) {
  TextString word;
  for (int n = 0;; ++n) {
    const std::string_view w = WordAt(value, n);
    if (w.empty()) return;
    word.AssignBytes(w.data(), static_cast<int>(w.size()));
    list.Append(word.GetText());
  }
}

// Outcome of a special key offered a line.
enum class SpecialResult { kNotTaken, kTaken, kInvalid };

static SpecialResult TakeIndentPositions(FileControl& fc, const TextString& line,
                                         const TextString& value) {
  if (!line.ContainsNoCase("Indent position(s)")) return SpecialResult::kNotTaken;
  FileControl::IndentPositions& indent = fc.GetIndentPositions();
  if (line.ContainsNoCase("none")) {
    indent.present = 0;
    indent.count = 0;
    for (int& position : indent.positions) position = -1;
  } else {
    indent.count = ReadPositions(value, indent.positions);
    indent.present = 1;
  }
  indent.setExplicitly = 1;
  return SpecialResult::kTaken;
}

static SpecialResult TakeHangingPositions(FileControl& fc, const TextString& line,
                                          const TextString& value) {
  if (!line.ContainsNoCase("Hanging paragraph position(s)")) return SpecialResult::kNotTaken;
  FileControl::HangingPositions& hanging = fc.GetHangingPositions();
  if (line.ContainsNoCase("none")) {
    hanging.count = 0;
    for (int& position : hanging.positions) position = -1;
  } else {
    hanging.count = ReadPositions(value, hanging.positions);
  }
  hanging.setExplicitly = 1;
  return SpecialResult::kTaken;
}

// Lists of names ("Include document section(s)", "Recognised USENET groups"): "none" empties
// the list, anything else appends its words.
static SpecialResult TakeNameList(const TextString& line, const TextString& value,
                                  const char* key, StringList& list, int& setFlag) {
  if (!line.ContainsNoCase(key)) return SpecialResult::kNotTaken;
  if (line.ContainsNoCase("none")) {
    list.Clear();
  } else {
    AppendWords(value, list);
  }
  setFlag = 1;
  return SpecialResult::kTaken;
}

static SpecialResult TakeDefinitionChar(FileControl& fc, const TextString& line) {
  if (!line.ContainsNoCase("Definition Char")) return SpecialResult::kNotTaken;
  FileControl::DefinitionChars& chars = fc.GetDefinitionChars();
  const bool strong = line.ContainsNoCase("strong");
  bool found = false;
  if (line.ContainsNoCase("':'")) {
    chars.colonAccepted = 1;
    chars.colonStrong = strong ? 1 : 0;
    found = true;
  }
  if (line.ContainsNoCase("none")) {
    chars.dashAccepted = chars.dashStrong = chars.colonAccepted = chars.colonStrong = 0;
    found = true;
  }
  if (line.ContainsNoCase("'-'")) {
    chars.dashAccepted = 1;
    chars.dashStrong = strong ? 1 : 0;
    found = true;
  }
  if (!found) return SpecialResult::kNotTaken;
  chars.setExplicitly = 1;
  return SpecialResult::kTaken;
}

// "We have N recognised headings": the third word is the count, 0 to 6. Anything else is
// refused and the settings stay as they were, so no later reader meets a count beyond the
// six levels kept.
static SpecialResult TakeRecognisedHeadings(FileControl& fc, const TextString& line) {
  if (!line.ContainsNoCase("recognised headings")) return SpecialResult::kNotTaken;
  int count = 0;
  if (!ReadDecimal(WordAt(line, 2), count) || count < 0 || count > FileControl::kHeadingLevels)
    return SpecialResult::kInvalid;
  FileControl::RecognisedHeadings& headings = fc.GetRecognisedHeadings();
  headings.count = count;
  headings.setExplicitly = 1;
  return SpecialResult::kTaken;
}

// "Heading level n = <text form>" and "Contents level n = <text form>". The level must be
// 0 to 5 and the text form must parse; otherwise nothing changes (the form is read into a
// scratch record, so a half-read form never replaces a good one).
static SpecialResult TakeHeadingLevel(FileControl& fc, const TextString& line, const char* key,
                                      bool contents) {
  if (!line.ContainsNoCase(key)) return SpecialResult::kNotTaken;
  int level = 0;
  if (!ReadDecimal(WordAt(line, 2), level) || level < 0 || level >= FileControl::kHeadingLevels)
    return SpecialResult::kInvalid;
  int equals = -1;
  if (!line.FindChar(0, '=', &equals, 1) || equals < 0) return SpecialResult::kInvalid;
  TextString form;
  form.AssignSubstring(line.GetText(), equals + 1, -1);
  form.Trim();
  HeadDetails parsed;
  if (!parsed.Parse(level, form)) return SpecialResult::kInvalid;
  FileControl::RecognisedHeadings& headings = fc.GetRecognisedHeadings();
  (contents ? headings.contents : headings.headings)[level] = parsed;
  headings.setExplicitly = 1;
  return SpecialResult::kTaken;
}

static void SetBoolExplicitly(FileControl& fc, PolicyId id) {
  BoolPolicy& policy = fc.Bool(id);
  policy.value = 1;
  policy.set = 1;
}

// "bullet char: 'c'": appends c while fewer than seven characters are held.
static SpecialResult TakeBulletChar(FileControl& fc, const TextString& line) {
  if (!line.ContainsNoCase("bullet char")) return SpecialResult::kNotTaken;
  FileControl::BulletChars& bullets = fc.GetBulletChars();
  if (line.ContainsNoCase("none")) {
    bullets.given = 1;
    bullets.count = -1;
    bullets.setExplicitly = 1;
    return SpecialResult::kTaken;
  }
  const int held = bullets.count < 0 ? 0 : bullets.count;
  if (held >= FileControl::kMaxBulletChars) return SpecialResult::kNotTaken;
  int open = -1;
  int close = -1;
  if (!line.FindChar(0, '\'', &open, 1) || open < 0) return SpecialResult::kInvalid;
  if (!line.FindChar(open + 1, '\'', &close, 1) || close <= open + 1)
    return SpecialResult::kInvalid;
  const char c = line.CharAt(open + 1);
  bullets.chars[held] = static_cast<unsigned char>(c);
  bullets.count = held + 1;
  bullets.given = 1;
  bullets.setExplicitly = 1;
  if (c == 'o') SetBoolExplicitly(fc, PolicyId::RecogniseOAsABullet);
  if (c == '-') SetBoolExplicitly(fc, PolicyId::RecogniseDashAsABullet);
  fc.SetBulletsActive(1);
  return SpecialResult::kTaken;
}

// ---- Alternative keys: older or other spellings of a policy's key ----

struct AlternativeKey {
  std::string_view key;
  PolicyId policy;
  bool productTenOnly;
};

static constexpr AlternativeKey kAlternativeKeys[] = {
    {"HTML Header", PolicyId::HTMLHeaderFile, false},
    {"HTML Footer", PolicyId::HTMLFooterFile, false},
    {"Search for emphasis", PolicyId::LookForThisAndThatEmphasis, false},
    {"HTML Fragments File", PolicyId::FragmentsFile, false},
    {"Text substitution file", PolicyId::TextCommandFile, false},
    {"Recognize 'o' as a bullet", PolicyId::RecogniseOAsABullet, false},
    {"Recognize '-' as a bullet", PolicyId::RecogniseDashAsABullet, false},
    {"Allow email begining with numbers", PolicyId::AllowEmailBeginningWithNumbers, false},
    {"Header frame background color", PolicyId::HeaderFrameBackgroundColour, false},
    {"Header frame text color", PolicyId::HeaderFrameTextColour, false},
    {"Contents frame background color", PolicyId::ContentsFrameBackgroundColour, false},
    {"Contents frame text color", PolicyId::ContentsFrameTextColour, false},
    {"Footer frame background color", PolicyId::FooterFrameBackgroundColour, false},
    {"Footer frame text color", PolicyId::FooterFrameTextColour, false},
    {"Background color", PolicyId::BackgroundColour, false},
    {"Text color", PolicyId::TextColour, false},
    {"Unvisited link color", PolicyId::UnvisitedLinkColour, false},
    {"Visited link color", PolicyId::VisitedLinkColour, false},
    {"Active link color", PolicyId::ActiveLinkColour, false},
    {"Suppress all colour markup", PolicyId::SuppressAllColourMarkup, false},
    {"Suppress all font markup", PolicyId::SuppressAllFontMarkup, false},
    {"Folio block sequence", PolicyId::FolioBlockStructure, true},
    {"Color REDLINE sections", PolicyId::ColourREDLINESections, true},
    {"Scope COLOR tags globally", PolicyId::ScopeCOLOURTagsGlobally, false},
};
// The table policies' spelling, only for the product that colours dot leaders.
static constexpr const char* kDotLeadersAlternative = "Color tables with DOT_LEADERS";

// The key of a line: its first ':' field, trimmed.
static TextString KeyOf(const TextString& line) {
  TextString key;
  int colon = -1;
  if (line.FindChar(0, ':', &colon, 1) && colon >= 0) {
    key.AssignSubstring(line.GetText(), 0, colon);
  } else {
    key.Assign(line);
  }
  key.Trim();
  return key;
}

// Offers the line to policy as if its key were the policy's own. 1 when taken.
static int OfferUnderAlternative(KeyValueLine& kv, CorePolicy& policy) {
  kv.alternativeText.Assign(policy.key);
  const int taken = policy.ParsePolicyValue(kv);
  kv.alternativeText.SetEmpty();
  return taken;
}

// ---- After-effects of particular policies ----

static bool IsKnownInputFileType(const TextString& value) {
  for (const char* type :
       {"plain text", "text table", "comma-delimited table", "tab-delimited table"}) {
    if (value.Compare(type, 0, 0)) return true;
  }
  return false;
}

static constexpr int kDosRootLength = 5;
// "Bullet point characters" gives at most this many bullet characters.
static constexpr int kBulletCharsFromPolicy = 6;

// What a policy line changes beyond its own policy, once the policy took the value.
static void ApplyAfterEffects(FileControl& fc, PolicyId id, const TextString& line) {
  PolicyContext* ctx = fc.pGetPolicyContext();
  if (id == PolicyId::DirectiveDelimiter) {
    if (ctx != nullptr) ctx->BuildTagNames(&fc, fc.GetText(id).GetText());
    return;
  }
  if (id == PolicyId::TextJustification) {
    if (ctx != nullptr) ctx->Styles.Build(fc);
    return;
  }
  if (id == PolicyId::InputFileType) {
    TextPolicy& type = fc.Text(id);
    if (IsKnownInputFileType(type.value)) return;
    type.value.SetEmpty();
    type.set = 0;
    Report(fc, "ERROR: Invalid file type - ", line.GetText(), nullptr, 10);
    return;
  }
  if (id == PolicyId::DOSFilenameRoot) {
    TextString& root = fc.Text(id).value;
    if (root.GetLength() > kDosRootLength) root.Truncate(kDosRootLength);
    return;
  }
  if (id == PolicyId::ExpectNumberedBullets || id == PolicyId::ExpectAlphabeticBullets ||
      id == PolicyId::ExpectRomanNumeralBullets) {
    if (fc.GetInt(id)) fc.SetBulletsActive(1);
    return;
  }
  if (id == PolicyId::BulletPointCharacters) {
    const TextString& text = fc.GetText(id);
    if (text.IsEmpty()) return;
    FileControl::BulletChars& bullets = fc.GetBulletChars();
    const int n = text.GetLength() < kBulletCharsFromPolicy ? text.GetLength() : kBulletCharsFromPolicy;
    for (int i = 0; i < n; ++i) bullets.chars[i] = static_cast<unsigned char>(text.CharAt(i));
    bullets.count = n;
    fc.SetBulletsActive(1);
  }
}

// The sections that take lines, in the order they are offered ("[Control]" takes none).
static constexpr PolicySectionId kLineSections[] = {
    kDetagSection,           kDetagTablesSection,       kTagManipulationSection,
    kTextFormattingSection,  kTextHeadersFootersSection, kTextHyperlinksSection,
    kTextTablesSection,      kDataExtractionSection,    kMailTidySection,
    kRtfHelpFilesSection,    kPdfHeadersFootersSection, kPdfTypesettingSection,
    kTextConversionSection,  kConversionCharacteristicsSection,
};

// ---- FileControl::LoadPolicyLine ----

static int FinishLine(int result, const TextString& line, const TextString& value,
                      TextString* diagnostic) {
  if (diagnostic == nullptr) return result;
  switch (result) {
    case FileControl::kPolicyLineUnknown:
      diagnostic->Assign("LoadPolicyLine - unknown policy: ");
      diagnostic->Append(line);
      break;
    case FileControl::kPolicyLineInvalid:
      diagnostic->Assign("LoadPolicyLine - invalid value: ");
      diagnostic->Append(value);
      break;
    default:
      diagnostic->Assign("LoadPolicyLine - success: ");
      diagnostic->Append(line);
      break;
  }
  return result;
}

int FileControl::LoadPolicyLine(TextString& line, int& category, int repeatCheck,
                                TextString* diagnostic) {
  category = 0;
  CollapseBlanksOutsideQuotes(line);
  line.Trim();
  const TextString noValue;
  if (line.IsEmpty() || line.CharAt(0) == '!' || line.CharAt(0) == '#')
    return FinishLine(kPolicyLineDone, line, noValue, diagnostic);

  const bool hasColon = line.ContainsChar(':');
  if (!hasColon && !IsMissingColonExempt(line))
    Report(*this, "POLICY: Ignored - Missing colon in \"", line.GetText(), "\"", 10);

  // The splitter reports nothing here: the loader has its own road for messages, the
  // parsers get it afterwards, so that the reader knows when a line was explained.
  KeyValueLine kv;
  ParseKeyValueLine(kv, nullptr, repeatCheck, line);
  PolicySetReporter reporter(*this);
  kv.handler = &reporter;
  if (!hasColon) kv.hasValue = 0;
  const TextString& value = kv.valueText;

  int specialCategory = 0;
  SpecialResult special = SpecialResult::kNotTaken;
  // A special key found: remember its category and whether its value was good.
  auto takeSpecial = [&](SpecialResult r, int cat) {
    if (r == SpecialResult::kNotTaken) return false;
    special = r;
    specialCategory = cat;
    kv.consumed = 1;
    return true;
  };

  // 1. The id-based sections.
  for (const PolicySectionId id : kLineSections) {
    if (policyList_.GetSection(id).ParseLine(kv)) break;
  }

  // 2. Special keys that come before the member policies.
  if (!kv.consumed && line.ContainsNoCase("Link definition") && linkDictionary_ &&
      linkDictionary_->ParseDefinition(*this, line, 1)) {
    linkDefinitionsRead_ = 1;
    takeSpecial(SpecialResult::kTaken, 4);
  }
  if (!kv.consumed && line.ContainsNoCase("Rule set to be used")) {
    int code = -1;
    if (line.ContainsNoCase("Pembrelle")) {
      code = 1;
    } else if (line.ContainsNoCase("ZUR")) {
      code = 2;
    } else if (line.ContainsNoCase("none")) {
      code = 0;
    }
    if (code < 0) {
      ruleSetSet_ = 0;
      takeSpecial(SpecialResult::kInvalid, 3);
    } else {
      const int previous = ruleSet_;
      ruleSet_ = code;
      ruleSetSet_ = 1;
      if (context_ != nullptr) context_->Commands.ruleSetCode = code;
      if (previous != 0 && code != 0 && previous != code)
        Report(*this, "WARNING: Changing rule set - ", line.GetText(), nullptr, 10);
      takeSpecial(SpecialResult::kTaken, 3);
    }
  }
  if (!kv.consumed && IsTextCommandLine(line)) {
    const int added = textCommands_.AddCommandLine(*this, line);
    if (added) textCommandsLoaded_ = 1;
    takeSpecial(added ? SpecialResult::kTaken : SpecialResult::kInvalid, 3);
  }
  if (!kv.consumed) takeSpecial(TakeIndentPositions(*this, line, value), 1);
  if (!kv.consumed) takeSpecial(TakeHangingPositions(*this, line, value), 1);
  if (!kv.consumed)
    takeSpecial(TakeNameList(line, value, "Include document section(s)", documentSections_,
                             documentSectionsSet_),
                3);

  // 3. The member policies in registration order, with the specials that belong among them.
  const PolicyRow* takenBy = nullptr;
  for (const PolicyRow& row : PolicyRows()) {
    if (kv.consumed) break;
    const bool offered = row.readRule != PolicyReadRule::NotAccepted &&
                         row.readRule != PolicyReadRule::FileOnly && IsRegistered(row.id) &&
                         !(row.readRule == PolicyReadRule::WhileUnset && IsSet(row.id));
    if (offered && Policy(row.id).ParsePolicyValue(kv)) {
      takenBy = &row;
      break;
    }
    if (row.id == PolicyId::SearchForDefinitions) takeSpecial(TakeDefinitionChar(*this, line), 1);
    if (row.id == PolicyId::RecogniseOAsABullet) takeSpecial(TakeBulletChar(*this, line), 1);
  }
  // No member key holds these texts; trying them after the members keeps a member line whose
  // value happens to hold one (a title that mentions a "Heading level") with its member.
  if (!kv.consumed)
    takeSpecial(TakeNameList(line, value, "Recognised USENET groups", usenetGroups_,
                             usenetGroupsSet_),
                4);
  if (!kv.consumed) takeSpecial(TakeRecognisedHeadings(*this, line), 1);
  if (!kv.consumed) takeSpecial(TakeHeadingLevel(*this, line, "Heading level", false), 1);
  if (!kv.consumed) takeSpecial(TakeHeadingLevel(*this, line, "Contents level", true), 1);
  if (!kv.consumed && defaultTablePolicies_) defaultTablePolicies_->ParsePolicyLine(kv);

  // 4. Alternative keys.
  if (!kv.consumed) {
    const TextString key = KeyOf(line);
    const bool productTen = IsRegistered(PolicyId::FolioBlockStructure);
    for (const AlternativeKey& alternative : kAlternativeKeys) {
      if (alternative.productTenOnly && !productTen) continue;
      if (!key.Compare(alternative.key.data(), 0, 0)) continue;
      if (!IsRegistered(alternative.policy)) continue;
      if (OfferUnderAlternative(kv, Policy(alternative.policy))) {
        takenBy = &GetPolicyRow(alternative.policy);
        break;
      }
    }
    if (!kv.consumed && productTen && key.Compare(kDotLeadersAlternative, 0, 0) &&
        defaultTablePolicies_)
      OfferUnderAlternative(kv, defaultTablePolicies_->GetPolicy(TablePolicyId::ColourDotLeaders));
  }

  // 5. The outcome.
  if (!kv.consumed) {
    if (IsPolicySectionHeader(line)) return FinishLine(kPolicyLineDone, line, value, diagnostic);
    return FinishLine(kPolicyLineUnknown, line, value, diagnostic);
  }
  if (special != SpecialResult::kNotTaken) {
    category = specialCategory;
    const int result = special == SpecialResult::kInvalid ? kPolicyLineInvalid : kPolicyLineDone;
    return FinishLine(result, line, value, diagnostic);
  }
  category = kv.category;
  if (!kv.result) return FinishLine(kPolicyLineInvalid, line, value, diagnostic);
  if (takenBy != nullptr) ApplyAfterEffects(*this, takenBy->id, line);
  return FinishLine(kPolicyLineDone, line, value, diagnostic);
}

// ---- FileControl::ReadPolicyFile ----

// A failure of the reader: reported, kept as the last error, and the read no longer counts
// as clean.
static void ReportReadFailure(FileControl& fc, const TextString& message, TextString* errorText,
                              int& result) {
  fc.ReportMessage(message.GetText(), 10);
  if (errorText != nullptr) errorText->Assign(message);
  result = 0;
}

static void ReportOpenFailure(FileControl& fc, const TextString& name, TextString* errorText,
                              int& result) {
  TextString message("** Failed to open policy include file ");
  message.Append(name);
  message.Append(" ***");
  ReportReadFailure(fc, message, errorText, result);
}

// True when name can be opened for reading (probed with a reader of its own, so the file
// being read is not disturbed).
static bool CanOpenForRead(const TextString& name) {
  TextFile probe;
  if (!probe.OpenForRead(name.GetText(), 0)) return false;
  probe.CloseAll();
  return true;
}

// The files on the reader's stack as this read knows them: the name each was opened under and
// the statements read from it so far, which is the line number the messages give. The reader
// pops a finished include by itself, so the trail follows its file count before each use.
class IncludeTrail {
 public:
  explicit IncludeTrail(const StatementFile& file) {
    Follow(file);
    if (!entries_.empty() && file.GetTopFileName() != nullptr)
      entries_.back().name.Assign(file.GetTopFileName());
  }

  // A statement was read from the file now on top.
  void CountStatement(const StatementFile& file) {
    Follow(file);
    if (!entries_.empty()) ++entries_.back().line;
  }
  // name was pushed on the stack as an include.
  void Included(const TextString& name) { entries_.push_back({name, 0}); }
  // The top file was replaced by name ("Switch to file").
  void Switched(const TextString& name) {
    if (entries_.empty()) return;
    entries_.back() = {name, 0};
  }

  // True when name denotes a file on the stack, by its spelling or, through links and
  // relative forms, by its identity: a file that includes itself under several names would
  // otherwise be read again at every level.
  bool Holds(const StatementFile& file, const TextString& name) const {
    if (file.IsFileOpen(name.GetText())) return true;
    for (const Entry& entry : entries_) {
      if (IsSameExistingFile(entry.name.GetText(), name.GetText())) return true;
    }
    return false;
  }

  // Appends ", <verb> at line N of <file>" for the statement just read.
  void AppendWhere(const char* verb, TextString& message) const {
    if (entries_.empty()) return;
    const Entry& top = entries_.back();
    message.Append(", ");
    message.Append(verb);
    message.Append(" at line ");
    message.AppendNumber('1', top.line, 0);
    if (top.name.IsEmpty()) return;
    message.Append(" of ");
    message.Append(top.name);
  }

 private:
  struct Entry {
    TextString name;  // empty for a file below the one the caller opened
    int line = 0;
  };

  void Follow(const StatementFile& file) {
    entries_.resize(static_cast<std::size_t>(file.GetFileCount()));
  }

  std::vector<Entry> entries_;
};

// A refusal that names the file, the reason and the place of the line that asked for it.
static void ReportRefusal(FileControl& fc, const IncludeTrail& trail, const char* reason,
                          const TextString& name, const char* verb, TextString* errorText,
                          int& result) {
  TextString message("** ");
  message.Append(reason);
  message.Append(name);
  trail.AppendWhere(verb, message);
  message.Append(" ***");
  ReportReadFailure(fc, message, errorText, result);
}

// A policy file that names itself, or a file that includes it, would be read for ever.
static constexpr const char* kIncludeLoopReason =
    "Policy file includes itself (an include loop), not read again: ";

// Outcome of an attempt to open a policy include.
enum class IncludeResult { kOpened, kNotOpened, kNotRegular, kTooDeep, kBeingRead };

// An include is refused when its file is already open on the stack under any name (it would
// include itself again and again), when the nesting is at its limit, or when the name is not
// an ordinary file (a device or a pipe never ends, a folder holds no lines); the kind is
// tested before the open, so a pipe cannot block the read.
static IncludeResult OpenInclude(StatementFile& file, IncludeTrail& trail,
                                 const TextString& name) {
  if (file.GetFileCount() >= kMaxPolicyIncludeDepth) return IncludeResult::kTooDeep;
  if (name.IsEmpty()) return IncludeResult::kNotOpened;
  if (trail.Holds(file, name)) return IncludeResult::kBeingRead;
  const FileKind kind = GetFileKind(name.GetText());
  if (kind == FileKind::Missing) return IncludeResult::kNotOpened;
  if (kind == FileKind::Other) return IncludeResult::kNotRegular;
  if (!file.OpenForRead(name.GetText(), 0)) return IncludeResult::kNotOpened;
  trail.Included(name);
  return IncludeResult::kOpened;
}

// A folder name as a base for names: it ends with a separator.
static void AsFolder(const TextString& text, TextString& folder) {
  folder.Assign(text);
  const char last = folder.CharAt(folder.GetLength() - 1);
  if (!folder.IsEmpty() && last != '/' && last != '\\') folder.AppendChar('/');
}

int FileControl::ReadPolicyFile(StatementFile& file, TextString* errorText, int loadConfigFiles) {
  PolicyContext* ctx = context_;
  const int savedLocation = ctx != nullptr ? ctx->CodeLocation : kLocationNone;
  if (ctx != nullptr) {
    // Registries accept additions only in the analysis pass.
    ctx->CodeLocation = kLocationAnalysis;
    ctx->ClearTableDefinitions();
  }

  TextString folder;
  if (file.GetTopFileName() != nullptr) ExtractFolder(file.GetTopFileName(), folder);
  if (ctx != nullptr) ctx->Commands.policyFolder = folder;

  // The statement reader takes its input rules from a policy set; a fresh one keeps the
  // rules of this set (being filled) out of the reading.
  FileControl reading;
  if (ctx != nullptr) reading.AttachContext(ctx);
  const StatementReadRules rules = ReadRulesOf(reading);
  InputRuleState state;

  int result = 1;
  IncludeTrail trail(file);
  Statement statement;
  TextString line;
  TextString name;
  for (;;) {
    statement.SetEmpty();
    const bool read = ctx != nullptr ? ReadStatement(file, statement, reading, *ctx, nullptr)
                                     : file.ReadStatementWith(statement, rules, state);
    if (!read) break;
    trail.CountStatement(file);
    line.Assign(statement);
    CollapseBlanksOutsideQuotes(line);
    line.Trim();
    if (line.CharAt(0) == '!' || IsPolicySectionHeader(line)) continue;

    // A line the loader refused with a message of its own (a missing colon, a value it
    // cannot read, a repeated key) is not reported again.
    const int messagesBefore = GetMessageCount();
    int category = 0;
    if (LoadPolicyLine(line, category, 1, nullptr) == kPolicyLineDone) continue;
    const bool explained = GetMessageCount() != messagesBefore;

    const TextString value = ValueAfterColon(line);
    if (line.ContainsNoCase("Switch to file")) {
      if (IsNoneWord(value)) continue;
      ResolvePolicyFileName(folder, value, name);
      if (!value.IsEmpty() && GetFileKind(name.GetText()) == FileKind::Other) {
        ReportRefusal(*this, trail, "Policy file to switch to is not a regular file: ", name,
                      "named", errorText, result);
        continue;
      }
      // A switch replaces the file being read, so it is made only when the new file opens
      // and is not one already being read; otherwise the rest of this file is still read.
      if (!value.IsEmpty() && trail.Holds(file, name)) {
        ReportRefusal(*this, trail, kIncludeLoopReason, name, "named", errorText, result);
        continue;
      }
      if (value.IsEmpty() || !CanOpenForRead(name) ||
          !file.ReopenTop(name.GetText())) {
        ReportOpenFailure(*this, name, errorText, result);
        continue;
      }
      trail.Switched(name);
      continue;
    }
    if (line.ContainsNoCase("include file")) {
      if (IsNoneWord(value)) continue;
      ResolvePolicyFileName(folder, value, name);
      IncludeResult opened =
          value.IsEmpty() ? IncludeResult::kNotOpened : OpenInclude(file, trail, name);
      const TextString& inputDirectory = GetText(PolicyId::InputDirectory);
      if (opened == IncludeResult::kNotOpened && !value.IsEmpty() && ctx != nullptr &&
          !inputDirectory.IsEmpty()) {
        TextString inputFolder;
        AsFolder(inputDirectory, inputFolder);
        ResolvePolicyFileName(inputFolder, value, name);
        opened = OpenInclude(file, trail, name);
      }
      switch (opened) {
        case IncludeResult::kOpened:
          break;
        case IncludeResult::kNotOpened:
          ReportOpenFailure(*this, name, errorText, result);
          break;
        case IncludeResult::kNotRegular:
          ReportRefusal(*this, trail, "Policy include file is not a regular file: ", name,
                        "included", errorText, result);
          break;
        case IncludeResult::kBeingRead:
          ReportRefusal(*this, trail, kIncludeLoopReason, name, "included", errorText, result);
          break;
        case IncludeResult::kTooDeep: {
          TextString reason("Policy include depth exceeded (more than ");
          reason.AppendNumber('1', kMaxPolicyIncludeDepth, 0);
          reason.Append(" files): ");
          ReportRefusal(*this, trail, reason.GetText(), name, "included", errorText, result);
          break;
        }
      }
      continue;
    }
    if (line.ContainsNoCase("Link Dictionary File")) {
      if (IsNoneWord(value)) continue;
      TextPolicy& dictionaryFile = Text(PolicyId::LinkDictionaryFile);
      dictionaryFile.value.Assign(value);
      dictionaryFile.set = 1;
      ResolvePolicyFileName(folder, value, name);
      TextString loadError;
      if (linkDictionary_ && !linkDictionary_->LoadFile(*this, name, &loadError)) {
        if (errorText != nullptr) errorText->Assign(loadError);
        result = 0;
      }
      if (linkDictionary_ && linkDictionary_->GetCount() > 0) linkDefinitionsRead_ = 1;
      continue;
    }
    if (explained) {
      if (errorText != nullptr) errorText->Assign(GetLastMessage());
      result = 0;
      continue;
    }
    TextString message("POLICY: Ignored - \\");
    message.Append(line);
    message.AppendChar('\\');
    ReportReadFailure(*this, message, errorText, result);
  }

  if (loadConfigFiles) {
    TextString loadError;
    if (!LoadConfigFiles(folder, loadError)) {
      if (errorText != nullptr) errorText->Assign(loadError);
      result = 0;
    }
  }
  ApplyDerivedDefaults(1, 0);
  if (ctx != nullptr) ctx->CodeLocation = savedLocation;
  return result;
}
