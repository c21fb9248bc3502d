#pragma once

#include <array>
#include <memory>

#include "engine/BlockList.h"
#include "engine/DefineList.h"
#include "engine/DefinitionList.h"
#include "engine/EntityTable.h"
#include "engine/FontChange.h"
#include "engine/HeadingList.h"
#include "engine/HtmlTagDictionary.h"
#include "engine/KeywordTables.h"
#include "engine/MetaTagList.h"
#include "engine/SplitFileList.h"
#include "engine/TagDetector.h"
#include "engine/TableDefinitionRegistry.h"
#include "engine/TagList.h"
#include "engine/Tracker.h"
#include "policy/PolicyContext.h"
#include "text/FontSpec.h"
#include "text/NameIndex.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/StringList.h"
#include "text/TextPosition.h"
#include "text/TextString.h"
#include "text/WildcardFileList.h"

class FileControl;
class PreHTML;
class TextFile;

// The document-information texts that the DATA tag reports, in this order.
enum class DocInfo : int {
  Title,
  Author,
  Description,
  Keywords,
  FirstUrl,
  LastUrl,
  FirstEmail,
  LastEmail,
  InputFileDate,
  InputFileName,
  InputFileSize,
  OutputFileName,
  OutputFileSize,
  // Used when the author is empty or still unknown.
  SecondAuthor,
};
inline constexpr int kDocInfoCount = 14;

// How the output pass handles the contents list (SetOutputModeFlags decides it before the
// pass): not at all, the document's own list, an external contents file, or a generated list
// for one output file, for several split files, or for a document that is not split.
enum class ContentsMode : int {
  None,
  UseExisting,
  External,
  GeneratedSingleFile,
  GeneratedSeveralFiles,
  SingleFile,
};
inline constexpr const char* kUnknownDocInfo = "** UNKNOWN **";

// The state of one conversion run: keyword tables, message handler and log, the policy set of
// the file being converted, the registries the analysis pass fills, the per-pass trackers,
// fonts, heading lists and statistics. Nearly every engine function takes it. Reset for
// every input file (ResetForFile) and partly at the start of every pass (ResetPassState).
// Members are read and written directly by the engine's stages; they keep the order in which
// they are built. What the policy sets read and change (command settings, pass flags,
// statistics, fonts, style sheet, message handler) is held by the PolicyContext base.
class Context : public PolicyContext {
 public:
  // Builds every member empty, fills the keyword tables and the entity table, and resets for
  // an empty file name. Output type 1 (RTF) gives 10-point pending and current fonts, any
  // other the FontSpec default of 12.
  Context(int productId, int outputType);
  ~Context() override;
  // Owns registries, trackers and the handler by identity; never copied.
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  // ---- Resets ----
  // The per-file reset: the owned policy set's policies, pass flags (analysis 1), the
  // statistics, the file name split into folder, base name and extension, registries, block
  // and heading lists, fonts, the document-information texts ("** UNKNOWN **"), then
  // ResetPassState.
  void ResetForFile(const TextString& fileName);
  // The per-pass reset: pass-state flags and texts, the rule texts, both font changes, the
  // three trackers, CodeLocation 0. Leaves what the analysis pass registered.
  void ResetPassState();
  // Empties the style sheet and clears its flag.
  void ResetStyleSheet();
  // The command settings back to their start values.
  void ResetCommandState();
  // Per-run state: input lists, run counters, first-file flag.
  void ResetRunState();

  // ---- Command line (defined in engine/CommandLine.cpp) ----
  // A "SESSION: " line of the stage before any policy set exists: shown on standard output
  // while display messages is on, and kept in PendingSessionText until the log takes it.
  void SessionMessage(const char* text);

  // ---- Host name check (defined in engine/HostNameCheck.cpp) ----
  // 1 when the host of candidate is a plausible internet host. corrected starts as a copy of
  // candidate and changed as 0; a rewritten host (escapes, numeric forms) is put in place in
  // corrected and sets changed to 1. Only kinds 0, 1 and 2 may carry a user part before "@".
  int IsValidDomain(const TextString& candidate, int kind, TextString& corrected, int& changed);

  // ---- Trackers ----
  // The tracker of CodeLocation 1, 2 or 3. Any other location is reported as a program error
  // (level 10) and the output tracker is returned; never null.
  Tracker* pGetTracker();
  // The tracker of a pass (kLocationAnalysis .. kLocationOutput) without the location check;
  // any other value gives the output tracker.
  Tracker& GetPassTracker(int location);

  // ---- Keyword tables ----
  void BuildTagNames(const FileControl* control, const char* prefix) override;
  // Builds the in-line command table with control's delimiters ("[[" "]]" without one).
  void BuildTextCommands(const FileControl* control);
  const TextString& GetDirectiveName(Directive d) const { return DirectiveNames.Get(d); }

  // ---- Registries (engine/DefinitionList, engine/TableDefinitionRegistry) ----
  // Empties the alarm, column-format and graph definition lists.
  void ClearDefinitionLists();
  void ClearTableDefinitions() override;
  [[nodiscard]] int ReadTableDefinitionsFile(FileControl& control, const TextString& fileName,
                                             int reportRepeats, TextString& result) override;
  int GetContentsLineCount() const override;
  void EncodeForOutput(FileControl& control, TextString& text) override;
  void BuildAddressLink(FileControl& control, bool helpLink, const TextString& address,
                        const TextString& text, TextString& out) override;
  TextPosition GetPassPosition(int location) override;
  bool ReportOnPassLine(int location, const char* text, int level) override;

  // ---- Anchors, section references and font changes (engine/HeadingRegistration.cpp) ----
  // The headings of the lines are registered by analysis/HeadingRegistration.
  void AddAnchorEntry(FileControl& control, const TextString& text, const TextPosition& position);
  // 1 when a heading of that kind carries the section number reference.
  int FindSectionReference(FileControl& control, int kind, const TextString& reference,
                           TextString& filePart, TextString& extension);
  void ChangeFont(FileControl& control, const FontSpec& font, int deferred);
  // The font in force, or null when none was ever set.
  const FontSpec* GetActiveFont() const;

  // ---- Owned objects ----
  // The Context's own policy set (created with it; never null).
  FileControl& GetFileControl() { return *fileControl_; }

  // ---- Members, in construction order ----
  // The text that "SESSION: " lines collect until the log can take it.
  TextString PendingSessionText;

  EntityTable Entities;
  // The known tag names and the tag dictionary (HTML 4) of the tag detection, built on its
  // first use.
  TagDetector TagDetection;

  // Input listing: the expansion of input specifications, four lists read by position.
  WildcardFileList FileLister;
  StringList InputFiles;
  StringList InputSpecs;
  StringList InputPolicyFiles;
  StringList InputSteeringLines;

  // Run-level state.
  int FileCounter = 0;
  int FirstFile = 1;
  TextString FirstOutputFileName;
  // The interface language (1 English).
  int LanguageCode = 1;

  // Named table formats, types and structures.
  TableDefinitionRegistry TableDefinitions;

  // Analysis state, per file.
  // The output pass is writing RTF: the writer collects its output and writes it in batches.
  int RtfPass = 0;
  PreHTML* Line = nullptr;  // not owned
  TextString InputFileName;
  TextString InputFolder;
  TextString InputBaseName;
  TextString InputExtension;
  TagList Tags;
  DefineList Defines;
  // The name of the folio block definitions (the page-scope reader puts "FOLIO" into an
  // empty one).
  TextString FolioName;
  // The stack of open blocks whose fonts GetActiveFont reads, and a second block list that
  // font changes update as well.
  BlockList Blocks;
  BlockList SecondBlocks;
  int PendingFontChange = 0;
  int CurrentBold = 0;  // copied from the current font when it becomes current
  int CurrentItalic = 0;
  // The in-line tag interpreter executed a font tag: font changes then act in the output stages.
  int FontTagsExecuted = 0;
  // The fonts that FONT tags use, as keys "name-second text-sans flag-style" in the order first
  // met; the RTF font table numbers them (FontKeyNumber).
  StringList FontKeys;
  // The bullet word of the last line that the list-item classification examined.
  TextString BulletWord;
  // The input arrives as UTF-8: it began with a UTF-8 or UTF-16 byte-order mark (a pass
  // that reads it notes this).
  int Utf8Input = 0;
  SplitFileList SplitFiles;
  // The output base name and extension of the current document: the stem and extension of
  // its split file names.
  TextString OutputBaseName;
  TextString OutputExtension;
  // The name (base and extension) of the output file being written.
  TextString CurrentOutputFileName;
  // Split file names made from page breaks and non-numbered headings so far.
  int SplitFileCounter = 0;
  // The value of the FILENAME or NEWFILE tag read last; the same value is not taken twice.
  TextString LastFileNameValue;
  // The contents mode of the output pass; a request from the document to place its contents
  // itself, and the override the output pass then applies to a generated list.
  ContentsMode OutputContentsMode = ContentsMode::None;
  int ContentsRequested = 0;
  int ContentsOverride = 0;
  HeadingList Anchors;
  HeadingList ContentsLines;
  HeadingList Headings;
  MetaTagList MetaTags;
  // The list file of the pass that writes one (not owned): messages on lines are noted for it.
  TextFile* ListFile = nullptr;
  std::array<TextString, kDocInfoCount> DocumentInfo;
  // The text of the document's first heading (empty until one is found), for "Use first
  // heading as Title".
  TextString FirstHeadingText;
  // The titles the document gives, in order of preference (the first holds what TITLE
  // directives give); the RTF prologue writes the first that is not empty, else the
  // "Document Title" value.
  std::array<TextString, 3> TitleTexts;
  const TextString& GetDocInfo(DocInfo which) const {
    return DocumentInfo[static_cast<std::size_t>(which)];
  }

  // The word conversions of the output pass: the object each word is tested on (made on first
  // use, see WordObjectOf) and the targets of the links made, each once (ASCII case ignored).
  std::unique_ptr<Statement> WordObject;  // a PreHTML
  StringList LinksFound;

  // Alarm, column-format and graph definitions.
  DefinitionList AlarmDefinitions;
  DefinitionList FormatDefinitions;
  DefinitionList GraphDefinitions;

  InlineCommandTable InlineCommands;
  HtmlTagNameTable HtmlTagNames;

  // Pass state.
  std::array<Tracker, 3> Trackers;  // analysis, contents, output
  // What is being done to the current line: 0 nothing, 1 conversion and tidying, 2 analysis,
  // 3 output conversion.
  int LineStage = kLineStageNone;
  // The line-drawing mode of terminal escape sequences, carried from line to line.
  int EscapeLineDrawing = 0;
  // Escape sequences are converted in every pass, not only in the analysis pass.
  int ConvertEscapesInEveryPass = 0;
  int EndTagWritten = 0;  // set by an end tag written for a block, cleared by headings
  // The in-line font change in force and the one saved beside it.
  FontChange CurrentFontChange;
  FontChange SavedFontChange;
  // ---- What the statement writer carries from one output line to the next ----
  // A LIST_ITEM tag waits for the bullet line it numbers: its flag, its text, and the lists
  // that BEGIN_LIST opened.
  int PendingListItem = 0;
  TextString PendingListItemText;
  StringList OpenLists;
  // The next text line opens a new paragraph (set after a tagged line); a request for it
  // made while a line is written, with its companion mark, becomes the flag once that line
  // is done.
  int PendingParagraph = 0;
  int PendingParagraphRequest = 0;
  int PendingParagraphRequestMark = 0;
  // A custom paragraph style (STYLE tag) for the next paragraph.
  int PendingCustomStyle = 0;
  TextString PendingCustomStyleText;
  // A text that the next blank line writes in front of its own.
  int PendingPrefix = 0;
  TextString PendingPrefixText;
  // The document carries title tags: the writer expands them in every line.
  int TitleTagsInText = 0;
  // CONTENTS_LIST lines run their tag in the output (it writes the contents field).
  int ContentsListSwitch = 0;
  // The input is tab- or comma-delimited data.
  int TabDelimitedInput = 0;
  int CommaDelimitedInput = 0;
  // FOLIO mode: the output keeps blank lines apart as empty, holding tags or holding only a
  // comment (bullet blank types 217, 218, 219).
  int FolioMode = 0;
  // Horizontal rule attributes.
  TextString RuleWidth;
  TextString RuleWidthPercent;
  TextString RuleHeight;
  TextString RuleAlignment;
  // The address the NOFRAMES_URL tag gives when the "NOFRAMES link URL" policy is empty.
  TextString NoFramesAddress;

  // ---- Directive preprocessor (rtf/OutFileReading, tags/DirectivePreprocessor) ----
  // Inside BEGIN_CONTENTS ... END_CONTENTS and BEGIN_HTML ... END_HTML of the pass.
  int InContentsSection = 0;
  int InHtmlSection = 0;
  // The document asked for a contents field, placed a contents list, asked for a new file.
  int TocDirectiveSeen = 0;
  int ContentsListDirectiveSeen = 0;
  int NewFileRequested = 0;
  // The analysis pass met an in-line tag: the contents pass expands title tags as well.
  int InlineTagSeen = 0;
  // Marks the analysis pass's tag execution sets: a colour or font tag, a TEXT, VERSION, OT
  // or CT tag; and the number of folio definitions the FOLIO tags made (one per argument).
  int ColourOrFontSeen = 0;
  int TextTagSeen = 0;
  int FolioDefinitions = 0;
  // A line's terminal escape sequences were converted (the text looks like a screen shot).
  int ScreenShotSeen = 0;
  // ---- Pre-formatted regions ----
  // A region is being written; two quiet states in which a region's messages are dropped.
  int InPreformattedRegion = 0;
  int RegionQuiet = 0;
  int RegionQuiet2 = 0;
  // The "[[fo" ... "]]" font marker of the last region line that carried one.
  TextString RegionFontMarker;
  // The table number in force and the one a region recorded; every table opening raises
  // the counter.
  int TableNumber = 0;
  int PreviousTableNumber = 0;
  int TableCounter = 0;
  FontSpec TableFont;
  // The conversion stage of a line (PreHTML::TidyLine) neither encodes entities nor runs
  // the line's conversion.
  int SuppressTidyConversion = 0;
  // Input markup (links, tags, entities) is taken out of every line read, or only of the
  // lines of a region that a directive opened.
  int StripInputMarkup = 0;
  int PreSectionInput = 0;
  // A second folder in which INCLUDE looks for a file it cannot find; empty: none.
  TextString IncludeSearchFolder;
  // A further policy set that the analysis pass's CHANGE_POLICY lines change too (not
  // owned; null when there is none).
  FileControl* SecondControl = nullptr;
  // Document information given by directives (TITLE, KEYWORDS and DESCRIPTION go to
  // TitleTexts[0] and DocumentInfo).
  TextString AuthorUrl;
  TextString BookmarkUrl;
  TextString CopyrightUrl;
  TextString ShortcutIcon;
  TextString DocumentStyleSheet;
  TextString BaseAddress;

  DirectiveNameTable DirectiveNames;

  // Top-level domains for the host check; the mail-header names. Filled by their users on
  // first need.
  NameIndex GenericDomains;
  NameIndex CountryDomains;
  NameIndex MailHeaderIndex;
  // The mail or news header block being read by the line analysis: its From, Date and
  // Subject values, each taken while not yet seen (a value is seen once it is not empty).
  // Forgotten on the first line after the block, and by every reset.
  struct MailHeaderBlock {
    TextString from;
    TextString date;
    TextString subject;
    int fromSeen = 0;
    int dateSeen = 0;
    int subjectSeen = 0;
    void Forget() {
      from.SetEmpty();
      date.SetEmpty();
      subject.SetEmpty();
      fromSeen = dateSeen = subjectSeen = 0;
    }
  };
  MailHeaderBlock MailBlock;

  // The font of a table cell that neither a tag nor its table gave one, and of the cell
  // writer's font size.
  FontSpec DefaultCellFont;

  QualifierTable Qualifiers;

 private:
  std::unique_ptr<FileControl> fileControl_;
};

// Fills the fixed HTML tag-name forms of the Context.
void BuildHtmlTagNames(Context& ctx);
// Fills the qualifier table of the Context ("/" and every entry enabled).
void BuildQualifierTable(Context& ctx);
