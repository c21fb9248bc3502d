#include "policy/RuleSets.h"


#include "policy/ValueConversions.h"
#include "policy/PolicyContext.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "policy/TableAnalysisPolicies.h"

using P = PolicyId;
using T = TablePolicyId;

static constexpr RuleSetValue Forced(PolicyId id, int number) {
  return {RuleSetTarget::Policy, static_cast<std::uint16_t>(id), number, {}};
}
static constexpr RuleSetValue ForcedText(PolicyId id, std::string_view text) {
  return {RuleSetTarget::Policy, static_cast<std::uint16_t>(id), 0, text};
}
static constexpr RuleSetValue ForcedTable(TablePolicyId id, int number) {
  return {RuleSetTarget::TablePolicy, static_cast<std::uint16_t>(id), number, {}};
}
static constexpr RuleSetValue ForcedTableProductTen(TablePolicyId id, int number) {
  return {RuleSetTarget::TablePolicyProductTen, static_cast<std::uint16_t>(id), number, {}};
}

static constexpr int kJustified = 4;

static constexpr RuleSetValue kCommonValues[] = {
    Forced(P::PageWidth, 80),
    Forced(P::TextJustification, kJustified),
    Forced(P::FirstLineIndentationInBlocks, 0),
    Forced(P::KeepItSimple, kNo),
    Forced(P::ExpectNumberedHeadings, kNo),
    Forced(P::ExpectUnderlinedHeadings, kNo),
    Forced(P::ExpectCapitalisedHeadings, kNo),
    Forced(P::ExpectEmbeddedHeadings, kNo),
    Forced(P::CenterFirstHeading, kNo),
    Forced(P::UseNumberedSequenceInFileNames, kNo),
    Forced(P::ExpectNumberedBullets, kNo),
    Forced(P::ExpectAlphabeticBullets, kNo),
    Forced(P::ExpectRomanNumeralBullets, kNo),
    Forced(P::ExpectCodeSamples, kNo),
    Forced(P::LookForWhiteSpace, kNo),
    Forced(P::LookForMAILAndUSENETHeaders, kNo),
    Forced(P::LookForPreformattedText, kNo),
    Forced(P::LookForDiagrams, kNo),
    Forced(P::LookForCharacterEncodings, kNo),
    Forced(P::LookForIndentation, kNo),
    Forced(P::LookForThisAndThatEmphasis, kNo),
    Forced(P::LookForShortLines, kNo),
    Forced(P::LookForBullets, kNo),
    Forced(P::LookForQuotedText, kNo),
    Forced(P::LookForUnderlinedText, kNo),
    Forced(P::LookForHorizontalRulers, kNo),
    Forced(P::LookForHangingParagraphs, kNo),
    Forced(P::SearchForDefinitions, kNo),
    Forced(P::AttemptTABLEGeneration, kNo),
    Forced(P::IgnoreMultipleBlankLines, kYes),
    ForcedTable(T::AddWidthMarkup, kYes),
    ForcedTable(T::PercentageWidths, kYes),
    Forced(P::MinimiseHTMLFileSize, kYes),
    Forced(P::BreakUpLongHTMLLines, kNo),
    Forced(P::ExpectContentsList, kNo),
    Forced(P::MonitorTagGeneration, kNo),
    Forced(P::RemoveRedundantTags, kYes),
    ForcedText(P::StartTagDelimiter, "[_["),
    ForcedText(P::EndTagDelimiter, "]_]"),
    Forced(P::CreateNEWSLinks, kNo),
    Forced(P::CreateGopherLinks, kNo),
    Forced(P::CreateTelnetLinks, kNo),
    Forced(P::CreateFTPLinks, kNo),
    Forced(P::CrossRefsAtLevel, 0),
    Forced(P::AddContentsList, kYes),
    Forced(P::ContentsStyleCode, 1),
    Forced(P::UseEMAndSTRONGMarkup, kNo),
    Forced(P::PInsideListUsageCode, 1),
    Forced(P::SuppressURLMessages, kYes),
    Forced(P::SuppressINFOMessages, kNo),
    Forced(P::SuppressWARNINGMessages, kNo),
    Forced(P::SuppressTAGERRORMessages, kNo),
    Forced(P::SuppressProgramERRORMessages, kNo),
    Forced(P::BaseFONTSizeInPts, 10),
    Forced(P::DeltaFONTSizeInPts, 0),
    Forced(P::FontStretchFactorInPercent, 0),
    Forced(P::AddFONTMarkup, kYes),
    Forced(P::AddFONTSizeMarkup, kYes),
    Forced(P::ApplyFONTToEmptyTableCells, kYes),
    Forced(P::LabelStyleClasses, kYes),
    Forced(P::AddFONTStyleMarkup, kYes),
    ForcedTableProductTen(T::ColourDotLeaders, kNo),
    ForcedTable(T::CellSpacing, 0),
    ForcedTable(T::CellPadding, 0),
};

// "HTML version to be targeted" is a choice: 1 HTML 3.2, 2 HTML 4.0 Transitional.
static constexpr RuleSetValue kPembrelleValues[] = {
    Forced(P::HTMLVersionToBeTargeted, 2),
    Forced(P::ListMarkupCode, 1),
    Forced(P::IndentationMarkupCode, 2),
    Forced(P::UseIncrementalIndentationMarkup, kYes),
    Forced(P::UseOfMicrosoftEntitiesCode, -1),
    Forced(P::UseOfHTML40EntitiesCode, 1),
    Forced(P::CreateEmbeddedStyleSheet, kYes),
};

static constexpr RuleSetValue kZurValues[] = {
    Forced(P::AvoidTagBreaks, kYes),
    Forced(P::CreateMailtoLinks, kNo),
    Forced(P::CreateHyperlinks, kNo),
    Forced(P::HTMLVersionToBeTargeted, 1),
    Forced(P::ListMarkupCode, 1),
    Forced(P::IndentationMarkupCode, -1),
    Forced(P::UseIncrementalIndentationMarkup, kNo),
    Forced(P::UseOfMicrosoftEntitiesCode, -1),
    Forced(P::UseOfHTML40EntitiesCode, 0),
    Forced(P::CreateEmbeddedStyleSheet, kNo),
};

std::span<const RuleSetValue> CommonRuleSetValues() { return kCommonValues; }

std::span<const RuleSetValue> OwnRuleSetValues(int code) {
  if (code == kRuleSetPembrelle) return kPembrelleValues;
  if (code == kRuleSetZur) return kZurValues;
  return {};
}

// ---- Derived defaults ----

// Emphasis switches of "[Text formatting]": "Highlight *bold* and _italic_ text" is the older
// key of "Highlight bold and italic text".
static constexpr int kHighlightAsteriskEmphasisPolicy = 130;
static constexpr int kHighlightEmphasisPolicy = 126;

// The numeric kinds share ScalarPolicy; a text kind here is a wrong id in this file.
static ScalarPolicy& Scalar(FileControl& fc, PolicyId id) {
  if (IsKnownPolicy(id)) {
    switch (GetPolicyRow(id).kind) {
      case PolicyKind::Bool: return fc.Bool(id);
      case PolicyKind::Align: return fc.Align(id);
      case PolicyKind::List: return fc.List(id);
      case PolicyKind::Int:
      case PolicyKind::Text:
      case PolicyKind::Colour:
      case PolicyKind::Font: break;
    }
  }
  // Int answers the rest: an unknown or text policy is reported and gets a spare.
  return fc.Int(id);
}

static void SetValue(FileControl& fc, PolicyId id, int value) { Scalar(fc, id).value = value; }

// Policies set explicitly keep their value.
static void SetUnlessSet(FileControl& fc, PolicyId id, int value) {
  ScalarPolicy& policy = Scalar(fc, id);
  if (!policy.set) policy.value = value;
}

static void SetMarked(FileControl& fc, PolicyId id, int value) {
  ScalarPolicy& policy = Scalar(fc, id);
  policy.value = value;
  policy.set = 1;
}

// Encoding names compare without regard to ASCII case, whole name only.
static bool IsEncoding(const TextString& encoding, std::string_view name) {
  return encoding.GetLength() == static_cast<int>(name.size()) && encoding.Compare(name.data(), 0, 0);
}

template <std::size_t N>
static bool IsAnyEncoding(const TextString& encoding, const std::string_view (&names)[N]) {
  for (const std::string_view name : names) {
    if (IsEncoding(encoding, name)) return true;
  }
  return false;
}

struct EncodingLanguage {
  std::string_view encoding;
  const char* language;  // a choice of "Language (for proofing)"
};
static constexpr EncodingLanguage kEncodingLanguages[] = {
    {"shift_jis", "Japanese"},    {"csShiftJIS", "Japanese"},   {"ms_Kanji", "Japanese"},
    {"x-euc-jp", "Japanese"},     {"x-sjis", "Japanese"},       {"iso-2022-jp", "Japanese"},
    {"euc-kr", "Korean"},         {"iso-2022-kr", "Korean"},    {"ks-c-5601-1987", "Korean"},
    {"iso-8859-3", "Turkish"},    {"windows-1254", "Turkish"},  {"iso-8859-9", "Turkish"},
    {"iso-8859-5", "Russian"},    {"koi8-r", "Russian"},        {"windows-1253", "Greek"},
};
// Chinese sets: the proofing language is never guessed from them.
static constexpr std::string_view kChineseEncodings[] = {"big5", "csbig5", "gb2312", "csgb2312",
                                                         "x-euc-tw"};
static constexpr std::string_view kRightToLeftEncodings[] = {"iso-8859-8", "ar-sy", "windows-1256"};

static constexpr PolicyId kFontPolicies[] = {PolicyId::DefaultFont, PolicyId::HeadingFont,
                                             PolicyId::TableOfContentsFont, PolicyId::TableFont,
                                             PolicyId::FixedFont};

static bool IsAnyFontSet(const FileControl& fc) {
  for (const PolicyId id : kFontPolicies) {
    if (fc.IsSet(id)) return true;
  }
  return false;
}

// The fonts nobody set follow the output type: 12-point for HTML, 10-point for RTF.
static void RegisterFontSet(FileControl& fc, bool rtf) {
  for (const PolicyId id : kFontPolicies) {
    FontPolicy& font = fc.Font(id);
    if (font.set) continue;
    const PolicyRow& row = GetPolicyRow(id);
    InitFontPolicy(font, 3, rtf ? row.rtfDefaultText.data() : row.defaultText.data(),
                   rtf ? row.rtfKey.data() : row.key.data());
  }
  IntPolicy& base = fc.Int(PolicyId::BaseFONTSizeInPts);
  if (!base.set) InitScalarPolicy(base, base.category, rtf ? 10 : 12, base.key.GetText());
}

void FileControl::ApplyRuleSetValues(int force) {
  indent_.count = 1;
  indent_.positions[0] = 0;
  for (int i = 1; i < kMaxPositions; ++i) indent_.positions[i] = -1;
  indent_.present = 1;
  indent_.setExplicitly = 1;
  for (const std::span<const RuleSetValue> values : {CommonRuleSetValues(), OwnRuleSetValues(ruleSet_)}) {
    for (const RuleSetValue& value : values) {
      const char* text = value.text.empty() ? "" : value.text.data();
      if (value.target == RuleSetTarget::Policy) {
        Policy(static_cast<PolicyId>(value.id)).SetRuleSetValue(*this, value.number, text, force);
        continue;
      }
      if (value.target == RuleSetTarget::TablePolicyProductTen && !IsProductTen()) continue;
      if (!defaultTablePolicies_) continue;
      defaultTablePolicies_->GetPolicy(static_cast<TablePolicyId>(value.id))
          .SetRuleSetValue(*this, value.number, text, force);
    }
  }
}

void FileControl::ApplyOutputTypeDefaults() {
  if (context_ == nullptr) return;
  const int outputType = context_->GetOutputType();
  if (outputType == kOutputHtml) {
    RegisterFontSet(*this, false);
    return;
  }
  if (outputType != kOutputRtf && outputType != kOutputTextMarkersDropped) return;
  SetValue(*this, PolicyId::SearchForDefinitions, kNo);
  definitionChars_.dashAccepted = 0;
  definitionChars_.colonAccepted = 0;
  SetValue(*this, PolicyId::AddContentsList, kNo);
  if (outputType != kOutputRtf) return;
  SetUnlessSet(*this, PolicyId::TextJustification, 4);
  RegisterFontSet(*this, true);
}

void FileControl::ApplyEncodingDefaults() {
  const TextString& encoding = GetText(PolicyId::CharacterEncoding);
  UpdateEncodingMarks();
  if (encoding.IsEmpty() || IsEncoding(encoding, "ascii") || IsEncoding(encoding, "iso-8859-1")) return;
  SetValue(*this, PolicyId::InputFileContainsDOSCharacters, kNo);
  SetUnlessSet(*this, PolicyId::InputFileContainsPCLCodes, kNo);
  if (context_ != nullptr) context_->Commands.pclCodes = 0;
  ListPolicy& language = List(PolicyId::LanguageForProofing);
  if (!language.set && !IsAnyEncoding(encoding, kChineseEncodings)) {
    for (const EncodingLanguage& row : kEncodingLanguages) {
      if (!IsEncoding(encoding, row.encoding)) continue;
      const int choice = FindChoice(language.choices, TextString(row.language));
      if (choice > 0) language.value = choice;
      break;
    }
  }
  if (!plainEncoding_) SetValue(*this, PolicyId::LookForDiagrams, kNo);
  if (IsAnyEncoding(encoding, kRightToLeftEncodings)) {
    SetUnlessSet(*this, PolicyId::PreserveLineStructure, kYes);
    SetUnlessSet(*this, PolicyId::LookForIndentation, kNo);
  }
}

void FileControl::ComputeWorkingExtension() {
  const int outputType = context_ != nullptr ? context_->GetOutputType() : -1;
  if (outputType == kOutputRtf) {
    workingExtension_ = ".rtf";
    return;
  }
  if (outputType == kOutputPlainText) {
    // The text-stripping sibling names its text output ".detag".
    workingExtension_ = context_->GetProductId() == kProductQuorrel ? ".detag" : ".txt";
    return;
  }
  if (GetInt(PolicyId::UseDOSFilenames)) {
    SetValue(*this, PolicyId::UseHTMExtension, kYes);
    workingExtension_ = ".HTM";
    return;
  }
  if (GetInt(PolicyId::UseHTMExtension)) {
    workingExtension_ = ".htm";
    return;
  }
  const TextString& extension = GetText(PolicyId::OutputFileExtension);
  workingExtension_ = extension.IsEmpty() ? TextString(".html") : extension;
}

void FileControl::ApplyContentsListDefaults() {
  if (GetInt(PolicyId::InputFileIsACompositionUnit)) {
    SetValue(*this, PolicyId::AddContentsList, kYes);
    SetValue(*this, PolicyId::GenerateExternalContentsFile, kYes);
    return;
  }
  const bool splitting = GetInt(PolicyId::SplitAtPageMarkers) || GetInt(PolicyId::SplitLevel) > 0;
  if (splitting) SetUnlessSet(*this, PolicyId::AddContentsList, kYes);
  if (!GetInt(PolicyId::ExpectContentsList)) {
    SetValue(*this, PolicyId::UseAnyExistingContentsList, kNo);
  } else if (GetInt(PolicyId::UseAnyExistingContentsList)) {
    SetUnlessSet(*this, PolicyId::AddContentsList, kNo);
  }
  const bool externalWanted = IsSet(PolicyId::GenerateExternalContentsFile) &&
                              GetInt(PolicyId::GenerateExternalContentsFile);
  if (!GetInt(PolicyId::AddContentsList)) {
    if (externalWanted) {
      SetValue(*this, PolicyId::AddContentsList, kYes);
    } else {
      SetValue(*this, PolicyId::GenerateExternalContentsFile, kNo);
    }
    return;
  }
  if (splitting) SetUnlessSet(*this, PolicyId::GenerateExternalContentsFile, kNo);
}

static constexpr const char* kIndentMarginStyle = "DIV STYLE=\"margin-left:24pt; margin-right:0pt;\"";

void FileControl::ApplyIndentationMarkup() {
  IntPolicy& code = Int(PolicyId::IndentationMarkupCode);
  auto choose = [this](const char* open, const char* close) {
    indentOpenMarkup_ = open;
    indentCloseMarkup_ = close;
  };
  if (GetInt(PolicyId::HTMLVersionToBeTargeted) > 1) {
    if (code.value != 0 && code.set) {
      if (code.value == 1) {
        choose("BLOCKQUOTE", "BLOCKQUOTE");
      } else if (code.value == 3) {
        choose("DIV CLASS=\"indent\"", "DIV");
      } else if (code.value == -1) {
        choose("UL DUMMY", "UL DUMMY");
      } else {
        choose(kIndentMarginStyle, "DIV");
        code.value = 2;
      }
      return;
    }
    if (ruleSet_ == kRuleSetPembrelle) {
      choose(kIndentMarginStyle, "DIV");
      code.value = 2;
      return;
    }
    choose("BLOCKQUOTE", "BLOCKQUOTE");
    code.value = 1;
    return;
  }
  if (code.value == -1) {
    choose("UL DUMMY", "UL DUMMY");
    return;
  }
  choose("BLOCKQUOTE", "BLOCKQUOTE");
  if (code.value <= 1) return;
  TextString& message = GetMessageText();
  message = "WARNING: Indentation pattern ";
  message.AppendNumber('d', code.value, 0);
  message.Append(" not supported in HTML 3.2.  Switching to BLOCKQUOTEs");
  ReportMessage(message.GetText(), 10);
  code.value = 1;
}

void FileControl::ApplyFontMarkup() {
  const int points = GetInt(PolicyId::BaseFONTSizeInPts) + GetInt(PolicyId::DeltaFONTSizeInPts);
  const bool outputStage =
      context_ != nullptr && (context_->OutputPass != 0 || context_->GetOutputType() == kOutputHtml);
  if (PointSizeToHtmlSize(points) != 3 && outputStage) {
    SetValue(*this, PolicyId::AddFONTMarkup, kYes);
    SetValue(*this, PolicyId::AddFONTSizeMarkup, kYes);
  }
  if (!IsAnyFontSet(*this)) return;
  int markup = kYes;
  if (GetInt(PolicyId::HTMLVersionToBeTargeted) != 1) {
    const bool css = GetInt(PolicyId::UseCSSToImplementFonts) != 0;
    markup = css ? kNo : kYes;
    SetValue(*this, PolicyId::CreateEmbeddedStyleSheet, css ? kYes : kNo);
  }
  SetValue(*this, PolicyId::AddFONTMarkup, markup);
  SetValue(*this, PolicyId::AddFONTSizeMarkup, markup);
}

void FileControl::ApplyDerivedDefaults(int /*ignored*/, int force) {
  // 1. The older key of the emphasis switch, when set, speaks for the newer one.
  PolicySection& formatting = policyList_.GetSection(kTextFormattingSection);
  if (formatting.IsSet(kHighlightAsteriskEmphasisPolicy)) {
    const int highlight = formatting.GetBool(kHighlightAsteriskEmphasisPolicy);
    formatting.SetBool(kHighlightEmphasisPolicy, highlight, 1);
    formatting.SetSetMark(kHighlightAsteriskEmphasisPolicy, highlight);
  }

  // 2. Rule set: a set without its own takes the one a policy line chose for the run.
  if (ruleSet_ == kRuleSetNone && context_ != nullptr) ruleSet_ = context_->Commands.ruleSetCode;
  if (ruleSet_ != kRuleSetNone && !IsForcingRuleSet(ruleSet_)) {
    ReportMessage("UNSUPPORTED CASE: Unexpected Rule Set", 10);
  } else if (IsForcingRuleSet(ruleSet_)) {
    ApplyRuleSetValues(force);
  }

  // 3. Output type.
  ApplyOutputTypeDefaults();

  // 4. Limits.
  if (GetInt(PolicyId::AutomaticCentringTolerance) < 2) SetValue(*this, PolicyId::AutomaticCentringTolerance, 2);
  if (GetInt(PolicyId::TABSize) < 2) SetValue(*this, PolicyId::TABSize, 4);

  // 5. Splitting.
  const int splitLevel = GetInt(PolicyId::SplitLevel);
  if (!IsSet(PolicyId::AddNavigationBar) && (splitLevel > 0 || GetInt(PolicyId::SplitAtPageMarkers)))
    SetValue(*this, PolicyId::AddNavigationBar, kYes);
  if (!IsSet(PolicyId::ContentsAnchorsLevel) && GetInt(PolicyId::ContentsAnchorsLevel) < splitLevel)
    SetValue(*this, PolicyId::ContentsAnchorsLevel, splitLevel);

  // 6. Title with the delimiters in force.
  if (!IsSet(PolicyId::DocumentTitle)) BuildDocumentTitle();

  // 7. A simple file expects little structure.
  if (GetInt(PolicyId::KeepItSimple)) {
    SetUnlessSet(*this, PolicyId::ExpectUnderlinedHeadings, kYes);
    for (const PolicyId id : {PolicyId::ExpectNumberedBullets, PolicyId::ExpectAlphabeticBullets,
                              PolicyId::ExpectRomanNumeralBullets, PolicyId::ExpectCapitalisedHeadings,
                              PolicyId::ExpectEmbeddedHeadings}) {
      SetUnlessSet(*this, id, kNo);
    }
    SetValue(*this, PolicyId::ExpectNumberedHeadings, kNo);
    SetValue(*this, PolicyId::UseDLMarkupForDefnParas, kNo);
    SetValue(*this, PolicyId::ExpectContentsList, kNo);
    if (IsSet(PolicyId::KeepItSimple)) {
      BoolPolicy& tables = Bool(PolicyId::AttemptTABLEGeneration);
      tables.value = kNo;
      tables.set = 0;
    }
  }

  // 8, 9. Encodings.
  ApplyEncodingDefaults();

  // 10. Output extension.
  ComputeWorkingExtension();

  // 11. Contents list.
  ApplyContentsListDefaults();

  // 12. Heading tags: the smallest tag has the larger number.
  IntPolicy& smallest = Int(PolicyId::SmallestAllowedHnTag);
  IntPolicy& largest = Int(PolicyId::LargestAllowedHnTag);
  smallest.value = smallest.value < 1 ? 1 : (smallest.value > 6 ? 6 : smallest.value);
  largest.value = largest.value < 1 ? 1 : (largest.value > 6 ? 6 : largest.value);
  if (smallest.value < largest.value) {
    smallest.value = 3;
    largest.value = 3;
  }

  // 13. Indentation markup.
  ApplyIndentationMarkup();

  // 14. FONT tags, unless fonts go through CSS or are not marked up at all.
  if (context_ != nullptr) {
    const bool css = GetInt(PolicyId::UseCSSToImplementFonts) != 0 &&
                     GetInt(PolicyId::HTMLVersionToBeTargeted) > 1;
    context_->Commands.fontTags = css || GetInt(PolicyId::SuppressAllFontMarkup) != 0 ? 0 : 1;
  }

  // 15. Embedded style sheet.
  if (ruleSet_ != kRuleSetZur && GetInt(PolicyId::IndentationMarkupCode) > 1)
    SetValue(*this, PolicyId::CreateEmbeddedStyleSheet, kYes);
  if (IsSet(PolicyId::HeadingsColour)) SetValue(*this, PolicyId::CreateEmbeddedStyleSheet, kYes);
  if (GetInt(PolicyId::UseCSSToImplementFonts) && IsAnyFontSet(*this))
    SetValue(*this, PolicyId::CreateEmbeddedStyleSheet, kYes);

  // 16. Font markup.
  ApplyFontMarkup();

  // 17. Emphasis tags.
  const bool strong = GetInt(PolicyId::UseEMAndSTRONGMarkup) != 0;
  boldOpen_ = strong ? "<STRONG>" : "<B>";
  boldClose_ = strong ? "</STRONG>" : "</B>";
  italicOpen_ = strong ? "<EM>" : "<I>";
  italicClose_ = strong ? "</EM>" : "</I>";

  // 18. Bullets.
  RecomputeBulletsActive();

  // 19. Help source keeps no underlining by default.
  if (GetInt(PolicyId::MakeWindowsHelpSourceFile))
    SetUnlessSet(*this, PolicyId::PreserveUnderliningOfHeadings, kNo);

  // 20. Paragraphs inside lists.
  IntPolicy& paragraphs = Int(PolicyId::PInsideListUsageCode);
  const int listCode = GetInt(PolicyId::ListMarkupCode);
  if (listCode == 1) {
    if (paragraphs.value == 0) SetMarked(*this, PolicyId::PInsideListUsageCode, 1);
    if (paragraphs.value == 2) SetMarked(*this, PolicyId::PInsideListUsageCode, 3);
  } else {
    paragraphs.value = listCode == 2 ? 0 : 1;
  }

  // 21.
  if (context_ != nullptr && GetInt(PolicyId::InputFileContainsPCLCodes))
    context_->Commands.pclCodes = 0;

  // 22. HTML 3.2 knows neither.
  if (GetInt(PolicyId::HTMLVersionToBeTargeted) == 1) {
    SetValue(*this, PolicyId::UseIncrementalIndentationMarkup, kNo);
    SetValue(*this, PolicyId::UseOfHTML40EntitiesCode, 0);
  }

  // 23. RTF base size.
  if (context_ != nullptr && context_->GetOutputType() == kOutputRtf && !IsSet(PolicyId::BaseFONTSizeInPts))
    SetValue(*this, PolicyId::BaseFONTSizeInPts, 10);
}

// ---- Command-line settings ----

// A command-line switch goes into a policy nobody set explicitly (with whenOn, also into a
// set one when the switch is on); an "on" switch marks the policy set.
static void TakeCommandSwitch(FileControl& fc, PolicyId id, int value, bool whenOn) {
  BoolPolicy& policy = fc.Bool(id);
  if (!policy.set || (whenOn && value)) policy.value = value;
  if (value) policy.set = 1;
}

// The signed offset from the command-line level, shift and count.
static int CommandOffsetOf(const CommandSettings& commands) {
  const int level = commands.offsetLevel;
  const int shift = commands.offsetShift;
  const int count = commands.offsetCount;
  if (level >= 6) return -1;
  int d = shift < -8 ? 4 : shift < -6 ? 3 : shift < -4 ? 2 : shift < 0 ? 1 : 0;
  if (shift < -10 || (d > 0 && count > 0)) d = shift < -10 && count < 1 ? 5 : 0;
  return d - level;
}

void FileControl::ApplyCommandSettings(PolicyContext& context) {
  CommandSettings& commands = context.Commands;
  TakeCommandSwitch(*this, PolicyId::AddContentsList, commands.addContentsList, true);
  TakeCommandSwitch(*this, PolicyId::MakeDirectory, commands.makeDirectory, true);
  TakeCommandSwitch(*this, PolicyId::KeepItSimple, commands.simpleFile, false);
  TakeCommandSwitch(*this, PolicyId::ConcatenateResultsIntoOneFile, commands.concatenate, false);
  TakeCommandSwitch(*this, PolicyId::OutputPolicyFile, commands.createPolicyFile, false);
  TakeCommandSwitch(*this, PolicyId::CreateALogFile, commands.logRequested, false);
  if (commands.logRequested) {
    TextPolicy& logName = Text(PolicyId::OutputLogFilename);
    logName.value = commands.logFileName;
    logName.set = 1;
  }
  TakeCommandSwitch(*this, PolicyId::PlaceDocumentInFrames, commands.frames, false);
  TakeCommandSwitch(*this, PolicyId::ShowTagsInOutput, commands.debugTags, false);

  // Silent mode wins over every layer; talking only where nobody asked for silence.
  BoolPolicy& display = Bool(PolicyId::DisplayMessages);
  if (!display.set || !commands.displayMessages) display.value = commands.displayMessages;
  if (!commands.displayMessages) display.set = 1;

  BoolPolicy& dosNames = Bool(PolicyId::UseDOSFilenames);
  dosNames.value = commands.dosNames;
  if (commands.dosNames) {
    dosNames.set = 1;
    workingExtension_ = ".HTM";
  } else {
    const TextString& extension = GetText(PolicyId::OutputFileExtension);
    workingExtension_ = extension.IsEmpty() ? TextString(".html") : extension;
  }

  if (commands.compositionUnit) SetMarked(*this, PolicyId::InputFileIsACompositionUnit, kYes);

  // /COMMA and /TABBED make the whole input one delimited table; the user typed them for this
  // run, so they win over a policy file's file type.
  if (commands.commaDelimited || commands.tabDelimited) {
    TextPolicy& type = Text(PolicyId::InputFileType);
    type.value = commands.commaDelimited ? "comma-delimited table" : "tab-delimited table";
    type.set = 1;
  }

  if (!commands.outputFolder.IsEmpty()) {
    TextPolicy& folder = Text(PolicyId::OutputDirectory);
    folder.value = commands.outputFolder;
    folder.set = 1;
  }

  if (!commands.ruleSetName.IsEmpty()) {
    TextString line("Rule set to be used : ");
    line.Append(commands.ruleSetName);
    int category = 0;
    if (LoadPolicyLine(line, category, 0) == kPolicyLineDone) {
      ApplyDerivedDefaults(0, 0);
    } else {
      TextString& message = GetMessageText();
      message = "CTX.Command ERROR: Unrecognised RuleSet \"";
      message.Append(commands.ruleSetName);
      message.AppendChar('"');
      ReportMessage(message.GetText(), 10);
      commands.ruleSetName.Clear();
    }
  }

  CommandOffset = CommandOffsetOf(commands);
}
