#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "policy/ConversionOptions.h"
#include "policy/CorePolicy.h"
#include "policy/ErrorHandler.h"
#include "policy/HeadDetails.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "policy/TextCommandSet.h"
#include "text/StringList.h"
#include "text/TextPosition.h"
#include "text/TextString.h"

class Context;
class PolicyContext;
class LinkDictionary;
class PreForm;
class Statement;
class StatementFile;
class TableAnalysisPolicies;
class TableDataDefinition;
enum class TablePolicyId : std::uint8_t;

// The complete set of policies that steers one conversion: the registered policies of the
// registry (PolicyRows), the sectioned policies, the special settings that are not single
// policies, the objects that policies name (link dictionary, table policies) and the
// per-file working state. Layers of policy sets are combined with MergePolicies, which takes
// only what the other set has set explicitly.
class FileControl {
 public:
  static constexpr int kMaxPositions = 6;
  static constexpr int kMaxBulletChars = 7;
  static constexpr int kHeadingLevels = 6;

  // Special settings: each group has its own set-explicitly flag, cleared by every reset.
  struct IndentPositions {
    int present = 0;  // the positions are written to policy files
    int count = 1;
    int positions[kMaxPositions] = {0, -1, -1, -1, -1, -1};  // -1: no position
    int setExplicitly = 0;
  };
  struct HangingPositions {
    int count = 0;
    int positions[kMaxPositions] = {-1, -1, -1, -1, -1, -1};
    int setExplicitly = 0;
  };
  struct DefinitionChars {
    int dashAccepted = 1;
    int dashStrong = 0;
    int colonAccepted = 1;
    int colonStrong = 0;
    int setExplicitly = 0;
  };
  struct BulletChars {
    int given = 1;
    int count = -1;  // -1: none given
    unsigned char chars[kMaxBulletChars] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    int setExplicitly = 0;
  };
  struct RecognisedHeadings {
    int count = 0;  // heading levels described
    HeadDetails headings[kHeadingLevels];
    HeadDetails contents[kHeadingLevels];
    int setExplicitly = 0;
  };
  // What the heading detection of one pass over a file has found so far. A contents list
  // goes from not seen to in progress to ended, and does not start again within the file; a
  // list begun by a numbered line that ends holding nothing but that line counts as not seen.
  struct HeadingState {
    int inContentsList = 0;
    int contentsListEnded = 0;
    // No contents list is looked for any more.
    int contentsSearchClosed = 0;
    TextPosition lastContentsLine;
    // Lines with text read since the last contents line, and whether a form feed came
    // among them: across a page break only lines with text count towards the gap that ends
    // the list, as the page break's own blank lines, footer and header are no end of it.
    int linesAfterContentsLine = 0;
    int pageBreakAfterContentsLine = 0;
    // Contents lines noted since the list began, the line that began it included, and
    // whether a title line ("Table of Contents") began it.
    int contentsLines = 0;
    int contentsTitled = 0;
    TextPosition lastLevel1Heading;
    // Some level heading has been accepted.
    int headingAccepted = 0;
    // The line type of the last heading the line analysis found (0: none yet).
    int lastHeadingType = 0;
    // The letter of the last lettered appendix heading ("Appendix B", "B.2."); 0: none so far.
    char lastAppendixLetter = 0;

    void BeginContentsList(int titled) {
      inContentsList = 1;
      contentsLines = 0;
      contentsTitled = titled;
    }
    void NoteContentsLine(const TextPosition& position) {
      lastContentsLine = position;
      linesAfterContentsLine = 0;
      pageBreakAfterContentsLine = 0;
      ++contentsLines;
    }
  };

  // Builds every policy at its default (no Context: the 12-point font set), the default
  // table policies "Default" and the link dictionary.
  FileControl();
  virtual ~FileControl();
  // A policy set owns its policies, lists and dictionary; layers are combined with
  // CopyPolicies and MergePolicies, never by copying the object.
  FileControl(const FileControl&) = delete;
  FileControl& operator=(const FileControl&) = delete;

  // Returns every policy and special setting to its default. keep = 1 only from the
  // constructor: nothing is freed and the version text stays the placeholder.
  void ResetPolicies(int keep);
  // Stores the Context (not owned), sets the version text, then ApplyDerivedDefaults(0, 0).
  void AttachContext(PolicyContext* context);
  // Makes this set an exact copy of source's values and marks.
  void CopyPolicies(const FileControl& source);
  // Lays what source has set explicitly over this set. level 0 copies values only; any
  // other level also copies the marks, so the result counts as set here.
  void MergePolicies(const FileControl& source, int level);

  // ---- Policy files (policy/PolicyFileReader.cpp, policy/PolicyFileWriter.cpp) ----
  // Results of LoadPolicyLine.
  enum : int {
    kPolicyLineDone = 0,      // comment, blank, header, or a line taken with a valid value
    kPolicyLineUnknown = 10,  // no policy or special key matched
    kPolicyLineInvalid = 11,  // a policy matched but refused the value (it keeps its value)
  };
  // Applies one "key: value" line to this set. The line is left with its blank runs
  // collapsed and trimmed. category receives 0 for comments and headers, else the category
  // of what took the line. With repeatCheck a policy already set explicitly is not set again.
  // diagnostic, when given, receives "LoadPolicyLine - success: ", "... unknown policy: " or
  // "... invalid value: " and the line or value.
  [[nodiscard]] int LoadPolicyLine(TextString& line, int& category, int repeatCheck,
                                   TextString* diagnostic = nullptr);
  // Reads the open policy file line by line (includes, switches and the link dictionary file
  // resolved against its folder). 1 when every line was taken and every file opened (and the
  // configuration files loaded, when asked); else 0 and errorText (when given) holds the last
  // failure. The caller opens the file before and closes it after.
  [[nodiscard]] int ReadPolicyFile(StatementFile& file, TextString* errorText,
                                   int loadConfigFiles);
  // Writes every policy (all != 0) or only those set explicitly as a policy file.
  void WritePolicyFile(TextFile& out, int all);

  // Recomputes the policies that depend on others (rule set, output type, encodings ...).
  // ignored is not read; force is passed to every rule-set assignment.
  void ApplyDerivedDefaults(int ignored, int force);
  // Empties the link dictionary and the document-section list; drops the held region and
  // the table-policy queue.
  void FreeOwnedObjects();
  // Per-file counters, flags and working texts back to their start values; the working
  // extension becomes ".html" when html is non-zero or no Context is attached.
  void ResetFileState(int html);

  // ---- Registered policies (typed) ----
  // An id that names no policy, or one of another kind, is a program error: it is reported
  // ("PROGRAM ERROR: FC::Int called for ...") and a spare policy of the asked kind, fresh at
  // every such call, stands in, so nothing reads or writes past the arrays.
  CorePolicy& Policy(PolicyId id);
  const CorePolicy& Policy(PolicyId id) const;
  IntPolicy& Int(PolicyId id);
  BoolPolicy& Bool(PolicyId id);
  TextPolicy& Text(PolicyId id);
  AlignPolicy& Align(PolicyId id);
  ColourPolicy& Colour(PolicyId id);
  FontPolicy& Font(PolicyId id);
  ListPolicy& List(PolicyId id);
  const IntPolicy& Int(PolicyId id) const { return Mutable().Int(id); }
  const BoolPolicy& Bool(PolicyId id) const { return Mutable().Bool(id); }
  const TextPolicy& Text(PolicyId id) const { return Mutable().Text(id); }
  const AlignPolicy& Align(PolicyId id) const { return Mutable().Align(id); }
  const ColourPolicy& Colour(PolicyId id) const { return Mutable().Colour(id); }
  const FontPolicy& Font(PolicyId id) const { return Mutable().Font(id); }
  const ListPolicy& List(PolicyId id) const { return Mutable().List(id); }
  // Values: Int, Bool, Align and List give their number; Text, Colour and Font their text.
  // Asked of the other group (or of an unknown id) they report and give 0 or an empty text.
  int GetInt(PolicyId id) const;  // inline below: it runs for every policy test of every line
  const TextString& GetText(PolicyId id) const;  // inline below, as GetInt
  int IsSet(PolicyId id) const { return Policy(id).set; }
  // False for the two policies of product identity 10 while this is another product: they
  // keep empty keys and take no part in reads, copies and merges.
  bool IsRegistered(PolicyId id) const;

  PolicyList& GetPolicyList() { return policyList_; }
  const PolicyList& GetPolicyList() const { return policyList_; }

  // ---- Special settings ----
  int GetRuleSet() const { return ruleSet_; }
  // A caller's request to end a line's conversion early is honoured while this mark is set.
  int GetStopMark() const { return stopMark_; }
  void SetStopMark(int mark) { stopMark_ = mark; }
  // code: 0 none, 1 Pembrelle, 2 ZUR.
  void SetRuleSet(int code, int setExplicitly);
  int IsRuleSetSet() const { return ruleSetSet_; }
  IndentPositions& GetIndentPositions() { return indent_; }
  const IndentPositions& GetIndentPositions() const { return indent_; }
  HangingPositions& GetHangingPositions() { return hanging_; }
  const HangingPositions& GetHangingPositions() const { return hanging_; }
  DefinitionChars& GetDefinitionChars() { return definitionChars_; }
  const DefinitionChars& GetDefinitionChars() const { return definitionChars_; }
  BulletChars& GetBulletChars() { return bulletChars_; }
  const BulletChars& GetBulletChars() const { return bulletChars_; }
  int AreBulletsActive() const { return bulletsActive_; }
  void SetBulletsActive(int active) { bulletsActive_ = active; }
  RecognisedHeadings& GetRecognisedHeadings() { return headings_; }
  const RecognisedHeadings& GetRecognisedHeadings() const { return headings_; }
  // Reset with the per-file state.
  HeadingState& GetHeadingState() { return headingState_; }
  const HeadingState& GetHeadingState() const { return headingState_; }
  // "Recognised USENET groups" and "Include document section(s)" with their set flags.
  StringList& GetUsenetGroups() { return usenetGroups_; }
  const StringList& GetUsenetGroups() const { return usenetGroups_; }
  int& UsenetGroupsSet() { return usenetGroupsSet_; }
  StringList& GetDocumentSections() { return documentSections_; }
  const StringList& GetDocumentSections() const { return documentSections_; }
  int& DocumentSectionsSet() { return documentSectionsSet_; }
  // Link definitions were read into the dictionary; text commands were loaded.
  int& LinkDefinitionsRead() { return linkDefinitionsRead_; }
  int& TextCommandsLoaded() { return textCommandsLoaded_; }

  // ---- Owned objects and texts ----
  ErrorHandler& GetErrorHandler() { return errorHandler_; }
  LinkDictionary* pGetLinkDictionary() { return linkDictionary_.get(); }
  // The text commands of "Text command" lines and the text command file.
  TextCommandSet& GetTextCommands() { return textCommands_; }
  const TextCommandSet& GetTextCommands() const { return textCommands_; }
  const LinkDictionary* pGetLinkDictionary() const { return linkDictionary_.get(); }
  TableAnalysisPolicies* pGetDefaultTablePolicies() { return defaultTablePolicies_.get(); }
  const TableAnalysisPolicies* pGetDefaultTablePolicies() const { return defaultTablePolicies_.get(); }
  // Entries of the table-policy queue.
  int NumTabPolicy() const { return static_cast<int>(tablePolicyQueue_.size()); }
  // The run this set belongs to (not owned), or null. Above the policy layer the run is the
  // whole Context: pGetContext gives it where Context is a complete type.
  PolicyContext* pGetPolicyContext() const { return context_; }
  template <class C = Context>
  C* pGetContext() const { return static_cast<C*>(context_); }
  const TextString& GetVersionText() const { return versionText_; }
  const TextString& GetIndentOpenMarkup() const { return indentOpenMarkup_; }
  const TextString& GetIndentCloseMarkup() const { return indentCloseMarkup_; }
  const TextString& GetWorkingExtension() const { return workingExtension_; }
  const TextString& GetCurrentSection() const { return currentSection_; }
  ConversionOptions& GetConversionOptions() { return conversionOptions_; }

  // ---- Message routing (policy/MessageRouting.cpp) ----
  // The entry point of every engine message. While a pass works on a line of the main text
  // the message goes through that line (noted for the list file, shown only in the output
  // pass); otherwise ReportToHandler.
  void ReportMessage(const char* text, int level);
  // The handler road: keeps the text as the last message, copies the message policies into
  // the Context's handler and reports there. Without a Context the text goes to standard
  // error when "Display messages" is on, whatever its level.
  void ReportToHandler(const char* text, int level);
  // A progress line through the handler's diagnostic output; without a Context to standard
  // output when "Display messages" is on.
  void ReportProgress(const char* text);
  // The shared buffer in which callers compose a message before ReportMessage.
  TextString& GetMessageText() { return messageText_; }
  // The text last handed to ReportToHandler.
  const TextString& GetLastMessage() const { return lastMessage_; }
  // How many messages ReportMessage has been given: a caller compares it before and after a
  // step to learn whether the step explained itself.
  int GetMessageCount() const { return messageCount_; }

  // Marks derived from "Character encoding".
  int IsNonLatin1Encoding() const { return nonLatin1_; }
  int UsesEntities() const { return entityMark_; }
  int IsPlainEncoding() const { return plainEncoding_; }
  int IsSingleByteEncoding() const { return singleByteEncoding_; }

  // ---- Policy calculation from first-pass statistics (policy/PolicyCalculation.cpp) ----
  // Turns the attached Context's analysis statistics into policy values (page width,
  // spacing, justification, indents, headings, character set, bullets, definitions ...).
  // report non-zero lets the INFO and calculation messages out. Without a Context nothing
  // happens.
  void CalculatePolicies(int report);
  // Adds column to a position list (count 0..6, columns ascending); an empty list first gets
  // column 0. 1 when the column is (now) in the list; 0 under a rule set, when the list is
  // full, or when the column sits one off a neighbour or 12 or more right of its left one.
  int AcceptIndentPosition(int column, int& count, int (&positions)[kMaxPositions]);
  // Heading expectations and the per-level heading details ("Keep it simple" off only).
  void CalculateHeaderLevels(int report);
  // Guesses "Character encoding" from the byte-pair census when "Look for character
  // encodings" is on.
  void DetectCharacterSet(int report);
  // The Context found a contents list; contents are to be generated. Set by the calculation.
  int ContentsListFound = 0;
  int GenerateContents = 0;

  // ---- The heading a HEADING tag opened, until its END_HEADING ----
  struct TaggedHeading {
    int open = 0;
    int level = 1;
    int alignment = 1;
    int breakMark = 0;  // -12 once a BR tag stood inside the heading
    TextPosition start;
    TextString text;        // the heading text: the tag's own and the lines collected
    TextString secondText;  // the tag's third field: the anchor text when not empty
    TextString collected;   // the second rendering collected in the contents pass
  };
  TaggedHeading& GetTaggedHeading() { return taggedHeading_; }
  const TaggedHeading& GetTaggedHeading() const { return taggedHeading_; }

  // ---- Per-file preprocessor state, reset at the start of each input file ----
  int IgnoreDepth = 0;
  int SectionIncluded = -1;
  int InRegion = 0;
  int RegionCode = 0;
  int InHtmlFragmentDefinition = 0;
  int InTextFragmentDefinition = 0;
  int ContentsBegun = 0;
  int InContents = 0;
  int ContentsEnded = 0;

  // ---- Statement writer state, reset at the start of each input file ----
  // A pre-formatted region is being collected (the writer's two region flags, which are
  // always set and cleared together).
  int CollectingRegion = 0;
  // Automatic centring is in force (a run of centred lines).
  int AutoCentringActive = 0;
  // The indentation level of list lines (END_LIST returns to it).
  int ListLevel = 0;

  // ---- Emphasis and in-line output tags (analysis/Emphasis.cpp, tags/InlineOutputTags.cpp) ----
  // Inside a tagged user table: the analysis pass leaves its emphasis alone.
  int InTaggedUserTable = 0;
  // Appended to the file names of page links (PREV_PAGE, NEXT_PAGE ...).
  TextString LinkSuffix;

  // ---- Rule sets and policy-set services (policy/RuleSets.cpp, policy/PolicyServices.cpp) ----
  // The Context's command-line settings go into the policies nobody set explicitly (a few
  // also when on); once per file, after the policy layers are merged.
  void ApplyCommandSettings(PolicyContext& context);
  // The signed offset ApplyCommandSettings derives from the command-line level, shift and
  // count (-1 for a level of 6 or more).
  int CommandOffset = 0;
  // Emphasis tags chosen by "Use <EM> and <STRONG> markup".
  const TextString& GetBoldOpenTag() const { return boldOpen_; }
  const TextString& GetBoldCloseTag() const { return boldClose_; }
  const TextString& GetItalicOpenTag() const { return italicOpen_; }
  const TextString& GetItalicCloseTag() const { return italicClose_; }

  // Forwarders to the owned link dictionary and text commands; 0 when the object is missing.
  // AddLinkDefinition gives LinkDictionary::AddOrUpdate's result; anchorText is the input's
  // anchor tag, occurrence which occurrence of the link text it surrounded, column where.
  int AddLinkDefinition(const TextString& match, const TextString& replacement,
                        const TextString& address, const TextString& anchorText, int occurrence,
                        int column);
  int ApplyLinkDictionary(const TextString& text, TextString& result);
  // Appends a table-data definition to the "Default" table policies, which take it over;
  // 0 (the definition dropped) when there are none.
  int AddTableDataDefinition(std::unique_ptr<TableDataDefinition> definition);
  // Puts the input's link anchors back into text (LinkDictionary::RestoreAnchors with the
  // current position); result = text and 0 without a dictionary.
  int RestoreLinkAnchors(const TextString& text, TextString& result);
  int GetLinkCount() const;
  // When both sets are attached to different Contexts, this Context's handler takes the
  // settings of the other's.
  void CopyHandlerSettings(const FileControl& other);

  // The first six characters of a non-empty "Bullet point characters" become the bullet
  // characters and bullets are looked for. Returns 1.
  int SetBulletCharsFromPolicy();
  // Before and during the analysis pass: 1 unless c is a bracket, letter, digit or one of
  // ! < > | and 0xB3. Afterwards: 1 for '-' and the kept bullet characters only.
  int IsBulletChar(char c) const;
  // Index of the last indent position at or left of column (0 at least).
  int GetIndentLevel(int column) const;
  // "Table extending factor" of the default table policies; 5 without them.
  int GetTableExtendingFactor() const;
  void SetCurrentSection(const TextString& section) { currentSection_ = section; }
  // 1 when the current document section is to be converted (see "Include document section(s)").
  int IsSectionIncluded() const;

  // Loads the link dictionary, table definitions, text commands and styles file that the
  // policies name, resolved against baseFolder. 1, or 0 with the failure in result.
  [[nodiscard]] int LoadConfigFiles(const TextString& baseFolder, TextString& result);

  // Table-policy queue: table tags change the newest entry, the table writer reads the oldest.
  TableAnalysisPolicies* GetDefaultTabPolicy() { return defaultTablePolicies_.get(); }
  // The newest queue entry, else the default table policies.
  TableAnalysisPolicies* GetNewTabPolicy();
  // The oldest queue entry, else null.
  TableAnalysisPolicies* GetOldTabPolicy();
  // Appends a "table" entry; refused (program error) before the output stage, nothing for
  // text output.
  void CreateNewTabPolicy();
  // Drops the oldest entry; a program error before the output stage or on an empty queue.
  void DeleteOldTabPolicy();
  // Setters of the newest table policies: value and set mark; the policies or null.
  TableAnalysisPolicies* SetTableBorderSize(int size);
  TableAnalysisPolicies* SetTableHeaderRows(int rows);
  TableAnalysisPolicies* SetTableHeaderCols(int cols);
  TableAnalysisPolicies* SetTableCellSpacing(int spacing);
  TableAnalysisPolicies* SetTableCellPadding(int padding);
  TableAnalysisPolicies* SetTableColumnSeparation(int separation);
  TableAnalysisPolicies* SetConvertTableXrefs(int yes);
  TableAnalysisPolicies* SetExpectSparseTables(int yes);
  TableAnalysisPolicies* SetIgnoreTableHeader(int yes);
  // A null alignment changes nothing and gives null.
  TableAnalysisPolicies* SetTableCellAlignment(const int* alignment);
  TableAnalysisPolicies* SetTableAlignment(const int* alignment);
  TableAnalysisPolicies* SetColourDataRows(int yes);
  TableAnalysisPolicies* SetAddTableWidth(int yes);
  TableAnalysisPolicies* SetPercentageWidths(int yes);
  TableAnalysisPolicies* SetTableCaption(const TextString& caption);
  // Marked set only when mark is non-zero.
  TableAnalysisPolicies* SetTableDelimiter(const TextString& delimiter, int mark);
  TableAnalysisPolicies* SetTableLayout(const TextString& layout);
  TableAnalysisPolicies* SetTableWidth(const TextString& width);
  // Colours are canonicalised; one that is not a standard colour is kept and reported (7).
  TableAnalysisPolicies* SetTableColour(const TextString& colour);
  TableAnalysisPolicies* SetTableBorderColour(const TextString& colour);
  TableAnalysisPolicies* SetTableOddRowColour(const TextString& colour);
  TableAnalysisPolicies* SetTableEvenRowColour(const TextString& colour);
  // Outside a table: puts the HIDE_COLUMN tag error into the message text for the caller.
  void HideTableColumn();
  // Records text among the newest table policies' tag lines (duplicates counted).
  void AddTableTagLine(const TextString& line, const TextString& name, const TextString& text);

  // The contents-list file name for an input path (also kept as the contents file name).
  const TextString& MakeContentsFileName(const TextString& inputPath);
  // The name of the policy file to write for a requested name (also kept).
  const TextString& MakePolicyFileName(const TextString& requested);
  const TextString& GetContentsFileName() const { return contentsFileName_; }
  const TextString& GetPolicyFileName() const { return policyFileName_; }

 private:
  // Steps of ApplyDerivedDefaults.
  void ApplyRuleSetValues(int force);
  void ApplyOutputTypeDefaults();
  void ApplyEncodingDefaults();
  void ComputeWorkingExtension();
  void ApplyContentsListDefaults();
  void ApplyIndentationMarkup();
  void ApplyFontMarkup();
  TableAnalysisPolicies* SetNewTableColour(TablePolicyId id, const TextString& colour);

  TextString boldOpen_{"<B>"};
  TextString boldClose_{"</B>"};
  TextString italicOpen_{"<I>"};
  TextString italicClose_{"</I>"};

 private:
  // Position of a policy in its kind's array; -1, reported as a program error of method,
  // when id names no policy or one of another kind.
  int SlotOf(PolicyId id, PolicyKind kind, const char* method);
  // The policy at id of the asked kind, or the reset spare after a reported error.
  template <class P, std::size_t N>
  P& PolicyOfKind(std::array<P, N>& policies, P& spare, PolicyId id, PolicyKind kind,
                  const char* method);
  void ReportMisuse(const char* method, const char* what);
  // GetInt asked of a text policy or an unknown id: reports and gives 0.
  int MisusedGetInt(PolicyId id) const;
  // GetText asked of a number policy or an unknown id: reports and gives an empty text.
  const TextString& MisusedGetText(PolicyId id) const;
  // Reports go through the non-const road; the const readers share it.
  FileControl& Mutable() const { return const_cast<FileControl&>(*this); }
  // Output type of the attached Context; -1 without one.
  int ContextOutputType() const;
  bool IsProductTen() const;
  // Registers one policy from its row (value := default, marks cleared).
  void RegisterPolicy(const PolicyRow& row, bool rtfFonts);
  void ResetSpecialSettings();
  void BuildDocumentTitle();
  void TakeBulletCharsFromPolicy();
  void RecomputeBulletsActive();
  void ApplyHandlerSettings();
  void UpdateEncodingMarks();

  // Registered policies, one array per kind, indexed by PolicyRow::slot.
  std::array<IntPolicy, kIntPolicyCount> ints_;
  std::array<BoolPolicy, kBoolPolicyCount> bools_;
  std::array<TextPolicy, kTextPolicyCount> texts_;
  std::array<AlignPolicy, kAlignPolicyCount> aligns_;
  std::array<ColourPolicy, kColourPolicyCount> colours_;
  std::array<FontPolicy, kFontPolicyCount> fonts_;
  std::array<ListPolicy, kListPolicyCount> lists_;
  PolicyList policyList_;
  // Stand-ins handed out after a misuse was reported (see Int and its kin).
  struct SparePolicies {
    IntPolicy ints;
    BoolPolicy bools;
    TextPolicy texts;
    AlignPolicy aligns;
    ColourPolicy colours;
    FontPolicy fonts;
    ListPolicy lists;
  } spares_;

  int ruleSet_ = 0;
  int stopMark_ = 0;
  int ruleSetSet_ = 0;
  IndentPositions indent_;
  HangingPositions hanging_;
  DefinitionChars definitionChars_;
  BulletChars bulletChars_;
  int bulletsActive_ = 1;
  RecognisedHeadings headings_;
  HeadingState headingState_;
  StringList usenetGroups_;
  int usenetGroupsSet_ = 0;
  StringList documentSections_;
  int documentSectionsSet_ = 0;
  int linkDefinitionsRead_ = 0;
  int textCommandsLoaded_ = 0;

  ErrorHandler errorHandler_;
  std::unique_ptr<LinkDictionary> linkDictionary_;
  TaggedHeading taggedHeading_;
  TextCommandSet textCommands_;
  std::unique_ptr<TableAnalysisPolicies> defaultTablePolicies_;
  std::vector<std::unique_ptr<TableAnalysisPolicies>> tablePolicyQueue_;
  // The region being collected; it belongs to the table writer, so this set only ever clears
  // the pointer.
  PreForm* heldRegion_ = nullptr;
  TextString versionText_;
  TextString indentOpenMarkup_;
  TextString indentCloseMarkup_;

  // Per-file working state.
  TextString workingExtension_;
  TextString contentsFileName_;
  TextString policyFileName_;
  TextString currentSection_;
  ConversionOptions conversionOptions_;

  int nonLatin1_ = 0;
  int entityMark_ = 1;
  int plainEncoding_ = 1;
  int singleByteEncoding_ = 0;

  PolicyContext* context_ = nullptr;  // not owned

  // Message routing.
  TextString messageText_;
  TextString lastMessage_;
  int messageCount_ = 0;
};

// The row's slot indexes the array of its kind (the table sizes each array by its kind's
// count), so the value is read without the checks of the policy accessors.
inline int FileControl::GetInt(PolicyId id) const {
  if (!IsKnownPolicy(id))
    return MisusedGetInt(id);
  const PolicySlotRef ref = kPolicySlotRefs[static_cast<std::size_t>(id)];
  switch (ref.kind) {
    case PolicyKind::Int: return ints_[ref.slot].value;
    case PolicyKind::Bool: return bools_[ref.slot].value;
    case PolicyKind::Align: return aligns_[ref.slot].value;
    case PolicyKind::List: return lists_[ref.slot].value;
    case PolicyKind::Text:
    case PolicyKind::Colour:
    case PolicyKind::Font: break;
  }
  return MisusedGetInt(id);
}

inline const TextString& FileControl::GetText(PolicyId id) const {
  if (!IsKnownPolicy(id))
    return MisusedGetText(id);
  const PolicySlotRef ref = kPolicySlotRefs[static_cast<std::size_t>(id)];
  switch (ref.kind) {
    case PolicyKind::Text: return texts_[ref.slot].value;
    case PolicyKind::Colour: return colours_[ref.slot].value;
    case PolicyKind::Font: return fonts_[ref.slot].value;
    case PolicyKind::Int:
    case PolicyKind::Bool:
    case PolicyKind::Align:
    case PolicyKind::List: break;
  }
  return MisusedGetText(id);
}

// An ErrorHandler that hands every report to a policy set's message road, so that a line
// splitter or parser reporting through a handler is filtered like the policy set's own
// messages.
class PolicySetReporter : public ErrorHandler {
 public:
  explicit PolicySetReporter(FileControl& fc) : fc_(fc) {}
  void Report(const char* text, int level) override { fc_.ReportMessage(text, level); }

 private:
  FileControl& fc_;
};
