#include "engine/Context.h"

#include "engine/Entities.h"
#include "engine/HeadingRegistration.h"
#include "engine/HelpLinks.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"

static constexpr int kRtfPointSize = 10;

Context::Context(int productId, int outputType) : PolicyContext(productId, outputType) {
  fileControl_ = std::make_unique<FileControl>();
  Entities.Fill();
  // A counting set with an index: a link met again costs a look-up, not a scan.
  LinksFound.SetDuplicatesAllowed(false);
  LinksFound.KeepIndex(true);

  ResetCommandState();
  ResetRunState();
  PendingSessionText.SetEmpty();
  ClearTableDefinitions();
  ResetStyleSheet();
  ClearDefinitionLists();
  ResetForFile(TextString());
  BuildHtmlTagNames(*this);
  ResetPassState();
  BuildTextCommands(nullptr);
  BuildTagNames(nullptr, nullptr);
  BuildQualifierTable(*this);
  LogHandler.Init();

  // Only construction picks the RTF size: the per-file reset gives the FontSpec default.
  if (GetOutputType() == kOutputRtf) {
    PendingFont.SetPointSize(kRtfPointSize);
    CurrentFont.SetPointSize(kRtfPointSize);
    DefaultCellFont.SetPointSize(kRtfPointSize);
  }
}

Context::~Context() {
  // The policy set goes first: its teardown may still look at the Context.
  fileControl_.reset();
  TagDetection.dictionary.reset();
}

void Context::ResetForFile(const TextString& fileName) {
  fileControl_->ResetPolicies(0);

  Line = nullptr;
  AnalysisPass = 1;
  ContentsPass = 0;
  StageFlag2 = 0;
  StageFlag3 = 0;
  OutputPass = 0;

  Statistics.Reset();

  InputFileName = fileName;
  SplitPath(fileName, InputFolder, InputBaseName, InputExtension);

  Defines.Clear();
  Tags.Clear();
  Blocks.Clear();
  SecondBlocks.Clear();

  PendingFont.Reset();
  CurrentFont.Reset();
  PendingFontChange = 0;
  CurrentBold = 0;
  CurrentItalic = 0;
  FontTagsExecuted = 0;
  FontKeys.Clear();
  InputState = InputRuleState();
  Utf8Input = 0;
  // The reading counts byte pairs straight into the record the calculation reads.
  InputState.census = &Statistics.census;

  SplitFiles.Clear();
  OutputBaseName.SetEmpty();
  OutputExtension.SetEmpty();
  CurrentOutputFileName.SetEmpty();
  SplitFileCounter = 0;
  LastFileNameValue.SetEmpty();
  OutputContentsMode = ContentsMode::None;
  ContentsRequested = 0;
  ContentsOverride = 0;
  for (HeadingList* list : {&Anchors, &ContentsLines, &Headings}) ResetHeadingList(*list);

  for (TextString& info : DocumentInfo) info.Assign(kUnknownDocInfo);
  FirstHeadingText.SetEmpty();
  for (TextString& title : TitleTexts) title.SetEmpty();
  MetaTags.Clear();
  LinksFound.Clear();
  TocDirectiveSeen = 0;
  ContentsListDirectiveSeen = 0;
  ContentsListSwitch = 0;
  NewFileRequested = 0;
  InlineTagSeen = 0;
  ColourOrFontSeen = 0;
  TextTagSeen = 0;
  FolioDefinitions = 0;
  ScreenShotSeen = 0;
  InPreformattedRegion = 0;
  RegionQuiet = 0;
  RegionQuiet2 = 0;
  RegionFontMarker.SetEmpty();
  TableNumber = 0;
  PreviousTableNumber = 0;
  TableCounter = 0;
  for (TextString* text : {&AuthorUrl, &BookmarkUrl, &CopyrightUrl, &ShortcutIcon,
                           &DocumentStyleSheet, &BaseAddress})
    text->SetEmpty();

  ResetPassState();
}

void Context::ResetPassState() {
  MailBlock.Forget();
  // A definition its input left open must not swallow the next pass or file.
  Defines.CloseOpenDefinition(*this);
  // Every pass reads the input from its start: lines a page marker at the end of the last
  // pass left to drop must not cost the next pass its first lines.
  InputState.droppedLine = false;
  InputState.pageLinesLeft = 0;
  RtfPass = 0;
  EndTagWritten = 0;
  RuleWidth.Assign("800");
  RuleWidthPercent.Assign("100%");
  RuleHeight.Assign("2");
  RuleAlignment.Assign("CENTER");
  CurrentFontChange.Reset();
  SavedFontChange.Reset();
  PendingListItem = 0;
  PendingListItemText.SetEmpty();
  OpenLists.Clear();
  PendingParagraph = 0;
  PendingParagraphRequest = 0;
  PendingParagraphRequestMark = 0;
  PendingCustomStyle = 0;
  PendingCustomStyleText.SetEmpty();
  PendingPrefix = 0;
  PendingPrefixText.SetEmpty();
  for (Tracker& tracker : Trackers) ResetTracker(tracker);
  CodeLocation = kLocationNone;
  LineStage = kLineStageNone;
  EscapeLineDrawing = 0;
  // Every pass reads the directives that open these sections again.
  InContentsSection = 0;
  InHtmlSection = 0;
}

void Context::ResetStyleSheet() { Styles.Clear(); }

void Context::ResetCommandState() { Commands = CommandSettings(); }

void Context::ResetRunState() {
  InputFiles.Clear();
  InputSpecs.Clear();
  InputPolicyFiles.Clear();
  InputSteeringLines.Clear();
  FileCounter = 0;
  FirstFile = 1;
  FirstOutputFileName.SetEmpty();
}

void Context::ClearDefinitionLists() {
  AlarmDefinitions.Clear();
  FormatDefinitions.Clear();
  GraphDefinitions.Clear();
}

void Context::ClearTableDefinitions() { TableDefinitions.Clear(); }

int Context::ReadTableDefinitionsFile(FileControl& control, const TextString& fileName,
                                      int reportRepeats, TextString& result) {
  return TableDefinitions.ReadDefinitionsFile(control, fileName, reportRepeats, result);
}

int Context::GetContentsLineCount() const { return ContentsLines.GetCount(); }

void Context::EncodeForOutput(FileControl& control, TextString& text) {
  EncodeEntities(control, *this, text);
}

void Context::BuildAddressLink(FileControl& control, bool helpLink, const TextString& address,
                               const TextString& text, TextString& out) {
  static constexpr int kWebLink = 2;
  if (helpLink)
    BuildHelpLink(control, kWebLink, false, address, text, out);
  else
    BuildHyperlinkField(control, kWebLink, address, text, out);
}

TextPosition Context::GetPassPosition(int location) {
  return GetPassTracker(location).currentPosition;
}

bool Context::ReportOnPassLine(int location, const char* text, int level) {
  Tracker& tracker = GetPassTracker(location);
  if (tracker.currentPosition.GetLine() != 0 || tracker.currentLine == nullptr)
    return false;
  // The line reporter uses the handler settings of the last handler message. The copy
  // keeps the text safe when the caller composed it in a buffer the reporter also uses.
  const TextString copy(text);
  tracker.currentLine->ReportLineMessage(*this, copy.GetText(), level);
  return true;
}

Tracker& Context::GetPassTracker(int location) {
  switch (location) {
    case kLocationAnalysis: return Trackers[0];
    case kLocationContents: return Trackers[1];
    default: return Trackers[2];
  }
}

Tracker* Context::pGetTracker() {
  if (CodeLocation < kLocationAnalysis || CodeLocation > kLocationOutput) {
    LogHandler.SetMessageText("PROGRAM ERROR: Unknown Code location in Context::pGetTracker");
    LogHandler.ReportBuffer(10);
  }
  return &GetPassTracker(CodeLocation);
}

void Context::BuildTagNames(const FileControl* control, const char* prefix) {
  DirectiveNames.Build(control, prefix);
}

void Context::BuildTextCommands(const FileControl* control) { InlineCommands.Build(control); }

void BuildHtmlTagNames(Context& ctx) { ctx.HtmlTagNames.Build(); }

void BuildQualifierTable(Context& ctx) { ctx.Qualifiers.Build(); }
