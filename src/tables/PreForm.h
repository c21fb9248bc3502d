#pragma once

#include <memory>
#include <vector>

#include "rtf/RegionWriter.h"
#include "tables/TableCell.h"
#include "text/StatementTypes.h"
#include "text/TextPosition.h"
#include "text/TextStats.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;
class RTFFile;
class TableGenerationPolicies;
class TableLayout;
struct ColumnFormat;
class TableType;
enum class Directive : int;

// One line of a pre-formatted region as the region keeps it. The three texts have their
// trailing blanks removed.
struct PreFormLine {
  TextString output;  // the line's output rendering (its markup rendering)
  TextString work;    // the working text every analysis test reads (its tidy rendering)
  TextString raw;     // the line as read, less any "[[fo" font marker
  int workLength = 0;
  int indent = 0;     // leading blanks of the source line
  int type = 0;       // StatementType
  TextPosition start;
  TextPosition end;
  int ruler = 0;
  int blank = 0;
  // The latest split into cells, written by every column-statistics pass.
  int nonEmptyCells = 0;
  int firstNonEmptyCell = -1;
  int restEmpty = 0;           // every cell after the first is empty
  int filledFromFirst = 0;     // every cell from the first non-empty one on is non-empty
  int allBeforeLastEmpty = 0;  // every cell before the last is empty
  int hasSpanningCell = 0;
  int firstCellEmpty = 0;
  int lastCellEmpty = 0;
  int tagReported = 0;  // an unbalanced tag delimiter of the line has been reported
};

// What the lines of a region hold at one character position: how often it is blank (or a
// tab) and how often a column separator, each weighed by the line's weight. Both are binary
// frequency tables; their most frequent value prefers 0 on a tie, as a frequency table
// ordered by value does.
struct ColumnPositionStats {
  int blankCount[2] = {0, 0};      // samples with blank = 0 and blank = 1
  int separatorCount[2] = {0, 0};  // samples with separator = 0 and separator = 1
  int samples = 0;
  int blankSamples = 0;      // samples with blank = 1
  int separatorSamples = 0;  // samples with separator = 1
  int mostlySeparator = 0;
  int mostlyBlank = 1;
  int gap = 0;
};

// What a column of a region is apart from its frequency tables: its positions and the
// results of the column-statistics pass. Positions are character columns of the region's
// lines after the common indent has been removed; the boundary is where the column's text
// ends and the next column's begins.
struct PreFormColumnFields {
  int start = 0;
  int gapEnd = 0;
  int boundary = 0;
  int score = 0;
  // Alignments a table layout gives (0 none); they override the ones found.
  int givenAlignment = 0;
  int verticalAlignment = 0;
  // Results of the column-statistics pass.
  int alignment = 1;
  int spanMode = 1;
  int spanMark = 0;  // the column took the last column in (MergeLastColumn)
  int mostlyEmpty = 0;
  int alwaysEmpty = 0;
  int textLike = 0;
  int symbolic = 0;
  int isNumeric = 0;
  int width = 0;      // RTF width in twips: the widest cell + 108
  int rightEdge = 0;  // twips; set when a table row is written
};

// One column found in a region.
struct PreFormColumn : PreFormColumnFields {
  PreFormColumn(int startPosition, int gapEndPosition, int boundaryPosition, int columnScore) {
    Renew(startPosition, gapEndPosition, boundaryPosition, columnScore);
  }
  PreFormColumn(const PreFormColumn&) = delete;  // owns its frequency tables
  PreFormColumn& operator=(const PreFormColumn&) = delete;

  // The column as the constructor makes it, its tables keeping their room.
  void Renew(int startPosition, int gapEndPosition, int boundaryPosition, int columnScore);
  // Every table emptied; the width 0.
  void ClearStatistics();

  // Filled per body line from the latest split.
  TextStats alignmentKinds;
  TextStats spans;
  TextStats emptiness;
  TextStats alphanumeric;
  TextStats symbolLike;
  TextStats numeric;
};

// Reads one field of a delimited text from pos (moved past the field's delimiter) into out:
// outside quotes the delimiter ends the field; a double quote opens quoting, inside which two
// double quotes stand for one and a single one closes it. The field is trimmed and a quoted
// field loses its quotes. 0 at the end of the text (out empty), else 1.
int ReadCsvField(int& pos, const TextString& text, char delimiter, TextString& out);

// What the analysis and the writing of one region find and keep while the region is
// processed: every field starts as a region's first line finds it, and a region restarted
// for the next one (PreForm::Restart) takes them afresh.
struct PreFormFindings {
  // ---- Region statistics ----
  int headerLineCount = 0;
  int codeLineCount = 0;
  int blankLineCount = 0;
  int rulerLineCount = 0;
  int tickRulerCount = 0;  // rulers ticked at every other column ("+-+-+-+"), as in bit diagrams
  int leadingBlankLines = 0;
  int trailingBlankLines = 0;
  int policyLineCount = 0;
  int mailHeaderLineCount = 0;
  int firstRuler = -1;
  int secondRuler = -1;
  int lastRuler = -1;
  int minTabCount = 500;
  int maxTabCount = 0;
  int minIndent = 80;
  int maxLineLength = -1;
  int minLineLength = -1;
  // Spanning cells of the body, and of the window from the header ruler to the fifth line
  // from the end; refilled by every column-statistics pass.
  int spanningCells = 0;
  int spanningSum = 0;  // the sum of (span - 1)
  int spanningLines = 0;
  int windowSpanningCells = 0;
  int windowSpanningSum = 0;
  int windowSpanningLines = 0;
  // The region's header index: the layout's "header rows" when above 0, else set by the
  // table parser from the rulers; -1 before either.
  int fixedHeaderIndex = -1;

  // ---- Special-format flags (from the region's code) ----
  int specialFormat = kFormatNone;
  int userTable = 0;
  int userCode = 0;
  int userDiagram = 0;
  int userPre = 0;
  int userTagged = 0;
  int delimited = 0;
  char delimiter = '\t';
  int underwriter = 0;
  int invertedPyramid = 0;

  // ---- Detection results ----
  int diagram = 0;
  int code = 0;
  int mailHeader = 0;
  int twoColumnText = 0;
  int textBlock = 0;  // heavily indented text block
  int sparseTable = 0;
  int separatorDelimited = 0;
  int fixedColumns = 0;  // the columns are fixed by a layout
  int tableLike = 1;     // cleared by any non-table verdict

  // ---- Table description ----
  const TableType* tableType = nullptr;  // the registry owns it
  int tableTypeMatched = 0;      // the table type is settled
  int generationPoliciesMade = 0;
  int definitionsUsed = 0;

  // ---- Output ----
  int rtfOutput = 0;
  int htmlOutput = 0;
  int reporting = 1;  // messages of the table writer are reported
  TextString reportText;
  int reportLevel = 0;
  int landscape = 0;      // this table put the section in landscape
  int numericTable = 0;
  int verticalAlignment = 0;
  int multiLineOutsideFirst = 0;
  int headerColumnCount = -1;  // cells of columns below it are bold
  int parseLeadingBlanks = 0;  // leading blank lines of the table parse
  int indentColumn = 0;
  // The cell that takes unplaced text once output has begun (owned by its list).
  TableCell* lastCell = nullptr;
  int laidOut = 0;  // the table handed to the table writer is laid out
  // Work texts for cell and line conversions.
  TextString work;
  TextString cellCodes;
  TextString cellLine;
  // A note the region adds to its report text when cell tags are applied.
  TextString noteText;
};

// One pre-formatted region of the input: its lines, what the analysis found in them and the
// table it becomes. The RTF writer makes one when its first region begins
// (MakePreFormRegion) and restarts it for every later one, adds every line of the region and
// has it processed when the region ends.
class PreForm : public RegionWriter, public PreFormFindings {
 public:
  // firstLine is not added; it gives the row positions until lines arrive. The output flags
  // follow the Context's output type.
  PreForm(RTFFile* rtf, FileControl* fc, void* data, PreHTML* firstLine);
  ~PreForm() override;
  // One region at a time; its rows point back at it.
  PreForm(const PreForm&) = delete;
  PreForm& operator=(const PreForm&) = delete;

  // The region as the constructor makes it with the same writer and these arguments. The
  // lines, columns, cells, work lines and table descriptions of the previous region are kept
  // for reuse, so that a writer's regions allocate only where one outgrows all before it.
  void Restart(FileControl* fc, void* data, PreHTML* firstLine) override;

  // ---- Region messages ----
  // Drops the message while the Context keeps region messages quiet or when level is below
  // 10 - "Error reporting level"; otherwise the report text gains it (after a newline and
  // eleven blanks when not the first) and the report level rises to level. Without a policy
  // set the message goes to the standard error stream.
  void Report(const char* message, int level);

  // ---- Lines and analysis (PreForm.cpp, PreFormAnalysis.cpp, PreFormColumns.cpp) ----
  // Appends a copy of line and updates the region statistics.
  void AddLine(PreHTML* line) override;
  // Nothing for user PRE, CODE, DIAGRAM, user-tagged tables, underwriter sections and
  // inverted pyramids; the delimited analysis for delimited data; else the fixed-width one.
  void Analyse();
  void AnalyseFixedWidth();
  void AnalyseDelimited();
  // Counts code, policy, blank and ruler lines and sets each line's ruler and blank flags.
  void ClassifyLines();
  // The per-position blank and separator tables over the body lines (built once).
  void CollectPositionStatistics();
  // Finds the columns from the position statistics with minimum separation minSeparation.
  void DetectColumns(int minSeparation);
  // Appends a column and one template cell.
  void AddColumn(int start, int gapEnd, int boundary, int score);
  // Rebuilds the per-column statistics, widths and spanning statistics from a raw split of
  // every line.
  void ComputeColumnStatistics();
  // The two-column trial of the fixed-width analysis: runs the table parser's trial mode.
  void TryTwoColumnText();

  // ---- Splitting and layout columns (PreFormSplitting.cpp) ----
  // Fills row's cells from line lineIndex; raw keeps the cell texts as they stand, else
  // they are converted for output. A cell spanning n columns stands in its first column
  // with columnSpan n; the cells it covers get columnSpan 0. Nothing when row has no cells.
  void SplitLine(TableCellList& row, int lineIndex, int raw);
  void SplitFixedWidthLine(TableCellList& row, int lineIndex, int raw);
  void SplitDelimitedLine(TableCellList& row, int lineIndex, int raw);
  // Every cell of row emptied (Reset), its line count (lineBreaks) 1, its alignment from its
  // column and its position the end of line lineIndex (of the first line for -1).
  void PrepareRow(TableCellList& row, int lineIndex);
  // Columns at the layout's positions (less the minimum indent, never negative and never
  // decreasing); the columns are then fixed.
  void ColumnsFromLayout();
  // The detected columns take the layout's positions and alignments where it gives them.
  void CheckLayoutColumns();
  // Merges columns first + 1 .. last into first; 1 when columns were merged. When last is
  // the final column or not above first, only first's span mode becomes 1 (and 0).
  int MergeColumns(int first, int last);
  // Merges the last column into the one before it.
  void MergeLastColumn();

  // ---- Definitions (PreFormDefinitions.cpp) ----
  // Completes the layout and the generation policies from their text policies and binds the
  // column formats to their definitions; once per region.
  void UseDefinitions();
  // Offers one cell value to the table-data definitions and the column's barchart.
  void OfferCellValue(int lineIndex, int columnIndex, int inHeader, const TextString& text);

  // ---- Access ----
  int GetLineCount() const override { return static_cast<int>(lines_.size()); }
  PreFormLine* GetLine(int i) const {
    return i >= 0 && i < GetLineCount() ? lines_[static_cast<size_t>(i)].get() : nullptr;
  }
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  PreFormColumn* GetColumn(int i) const {
    return i >= 0 && i < GetColumnCount() ? columns_[static_cast<size_t>(i)].get() : nullptr;
  }
  const ColumnPositionStats* GetPositionStats(int position) const {
    return position >= 0 && position < static_cast<int>(positionStats_.size())
               ? &positionStats_[static_cast<size_t>(position)]
               : nullptr;
  }
  TableCellList& GetRow() { return row_; }
  RTFFile* pGetRTFFile() const { return rtf_; }
  FileControl* pGetFileControl() const { return fc_; }
  Context* pGetContext() const { return ctx_; }
  void* GetData() const { return data_; }
  TableLayout* pGetLayout() const { return layout_.get(); }
  TableGenerationPolicies* pGetGenerationPolicies() const { return generation_.get(); }
  // The private copies of the region's table description.
  void SetLayout(std::unique_ptr<TableLayout> layout);
  void SetGenerationPolicies(std::unique_ptr<TableGenerationPolicies> generation);

  // Text that arrived before any cell of a user table.
  std::unique_ptr<TableCell> unplacedCell;
  // A table handed to the table writer: its header and data cells.
  TableCellList headerCells;
  TableCellList dataCells;
  // The work row of the table parser, shaped as the template row.
  TableCellList workRow;
  // Two work lines for cell and line conversions.
  std::unique_ptr<PreHTML> workLine;
  std::unique_ptr<PreHTML> workLine2;

  // ---- Table parser and table rows (PreFormTableParser.cpp) ----
  // Parse types of the table parser.
  static constexpr int kParseTrial = 0;      // two-column trial: nothing written
  static constexpr int kParseRtfTable = 1;   // one RTF table row per parsed row
  static constexpr int kParseTwoColumn = 2;  // one hanging paragraph per parsed row
  // Gathers the region's lines into rows of the template row and writes each row in the
  // form the parse type asks for.
  void ParseTable(int parseType);
  // 1 when the region's rulers mark a header (the first ruler index may move to the ruler
  // that closes a header between two others).
  int HeaderRulerTest();
  // Opens the table or the two-column text; border and headerRuler receive the border and
  // header-ruler flags.
  void OpenParsedTable(int parseType, int& border, int& headerRuler);
  void CloseParsedTable(int parseType);
  void OpenTable(int& border, int& headerRuler);
  void OpenTwoColumnText(int& headerRuler);
  // Writes the template row as line lineIndex; force writes a row without text.
  void WriteParsedRow(int parseType, int lineIndex, int force);
  void WriteParsedTableRow(int lineIndex, int force);
  void WriteTwoColumnRow(int lineIndex);
  // The line break put in template cell column before a further line joins it.
  void AddCellLineBreak(int parseType, int column);
  static void SetRowLineCounts(TableCellList& row, int value);

  // ---- Region dispatch and output (PreFormDispatch.cpp, PreFormOutput.cpp) ----
  // How WriteTableOutput writes a region judged a table: the table parser's table and
  // two-column-text parse types, and user-tagged tables.
  static constexpr int kParseTable = kParseRtfTable;
  static constexpr int kParseTwoColumnText = kParseTwoColumn;
  static constexpr int kParseUserTagged = -1;

  // Writes the region once its last line was added: the tab test (code 0 only), the special
  // format, the table type and the private table policies, header lines, the analysis, then
  // the first output form that applies (forced forms, user verdicts, then the detected kind).
  // Without a policy set nothing happens; without a Context a program error is reported.
  // The writer's pending output is written out before and after. Region messages collect in
  // reportText and reportLevel for the writer to report.
  void Process(int specialFormatCode) override;
  int GetReportLevel() const override { return reportLevel; }
  const TextString& GetReportText() const override { return reportText; }
  // Clears every special-format flag, the fixed-columns flag and sets the delimiter to a tab,
  // then sets the flags of code (0-10); any other code is reported and sets none.
  void SetSpecialFormat(int formatCode);
  // The first table type of the Context's registry whose content text some line holds
  // (blanks and tabs squeezed, case ignored), else the default type; once per region.
  void MatchTableType();
  // The private generation policies, copied from the format the table type names (the
  // default format for "Default", no type or an unknown name); once per region.
  void MakeGenerationPolicies();
  // The private layout, copied from the structure the table type names (as above).
  void MakeLayout();
  // A region judged a table (parseType kParseTable or kParseTwoColumnText), a user-tagged
  // table (kParseUserTagged) or delimited data: tables, delimited data and two-column text
  // through the table parser, a user-tagged table through ParseUserTable.
  void WriteTableOutput(int parseType);
  // The output forms. Each applies the region's policy lines (CHANGE_POLICY) where it meets
  // them and writes whole RTF groups, so that the writer's brace balance holds.
  // Pre-formatted text: one paragraph group in the code, diagram or pre-formatted style,
  // each line converted (word conversions, emphasis, link dictionary) with its blanks kept;
  // in code the part from the first "//" that is not part of "://" is bold italic.
  void OutputPreformatted();
  // Code with the generation policy "Use <CODE>..</CODE> markup": the working texts in the
  // code style, only the link dictionary applied, comments as above.
  void OutputCode();
  // Normal text: the writer switches to a body paragraph at the region's indent level and
  // each line (not page breaks, rulers or underlines) ends a line of it.
  void OutputNormal();
  // A mail header, its lines in their order: the Subject line in the Heading 2 style, the
  // From and Date lines in the quotation style, every other line as a body line.
  // Without a From or a Subject line the region is written as normal text.
  void OutputMailHeader();
  // A heavily indented text block: one paragraph group indented past the empty first
  // column, each line's text (its cells joined) a line of it.
  void OutputIndentedBlock();
  void OutputInvertedPyramid();

  // ---- Table writer and cell tags (PreFormTableWriter.cpp, PreFormCellTags.cpp) ----
  // A table reaches the writer as its header cells, its data cells and a laid-out flag. The
  // writer needs the policy set, the Context, the layout and the generation policies; without
  // them these do nothing. Output goes through the RTF writer, one line a call.

  // Lays the table out once (PrepareTable); on the first call of a table (started 0) fits it
  // to the page, moving its indent or putting the section in landscape with a message, and
  // opens the table's group; started becomes 1 and the cells are written (WriteTable).
  // Unplaced text goes to the table's last cell once the table has started.
  void FitTableToPage(int& started, int indentLevel, TableCellList& header, TableCellList& data,
                      int& laidOut);
  // Closes the table's group and, after a landscape table, returns to the document's page.
  void CloseTable();
  // One directive line for cell: its part before the first tag opener, delimiter removed, as
  // a tag, then any rest (with a warning). A null cell is a program error, reported.
  void AddCellLine(TableCell* cell, const TextString& line);
  // Appends text to the cell: raw text as given; the text escaped, blank runs collapsed,
  // its tags handed to ParseCellTags (layout pass) and what remains converted.
  void AddCellText(TableCell& cell, const TextString& text);
  // Counts the cells' line breaks and measures the column widths; sets laidOut.
  void PrepareTable(TableCellList& header, TableCellList& data, int& laidOut);
  // Each layout column's widest word, text and second text, and from them its width.
  void ComputeColumnWidths(TableCellList& header, TableCellList& data);
  // Alignments, the header section, the vertical-alignment code, the data section; both
  // lists are freed.
  void WriteTable(TableCellList& header, TableCellList& data);
  // Each cell's alignment by the first rule that applies; a cell tag's alignment wins.
  void SetCellAlignments(TableCellList& list, int header);
  // Checks one section's cells on their grid (gaps, overlaps, empty data, rows below 1) and
  // writes its rows; a cell left unwritten is reported.
  void CheckTableData(TableCellList& list, int header);
  // Width in points of span columns from firstColumn (span 0 or -1: the cell's own, 1
  // without a cell); 0 without layout columns.
  int GetCellWidth(const TableCell* cell, int header, int firstColumn, int span);
  // 2 when the data cells that need more than one line lie (mostly) in column 1, else 1;
  // multiLineOutsideFirst is set when some lie elsewhere.
  int ChooseVerticalAlignment(const TableCellList& dataCells, int& multiLineOutsideFirst);
  // One in-line tag of a cell, tagText standing at tagStart .. tagEnd (exclusive) of
  // cellText: pass 1 is the layout pass, any other an output pass. position receives where
  // the search for the next tag goes on (text a tag put in its place is not searched);
  // handled is 1 when the tag was consumed.
  void ParseCellTags(int pass, TableCell& cell, PreHTML& cellText, int& position, int tagStart,
                     int tagEnd, const TextString& tagText, int& handled);
  // Runs the cell tags of text (output pass); 0 when text holds no tag opener.
  int ApplyCellTags(TableCell* cell, TextString& text, const TextPosition& position);
  // Writes one cell of a table row at the row's level; commandText is the writer's work
  // text in which the cell line is built. Sets the cell's output flag.
  void WriteCell(TableCell& cell, int level, TextString& commandText);

 private:
  // ---- Region dispatch and output: private members ----
  // Lines of type 1008 that carry text.
  int CountPolicyLines() const;
  // The outputs that the special format forces; false when none applies.
  bool WriteForcedOutput();
  // A user table, DIAGRAM or CODE region overrides what the analysis found.
  void ApplyUserVerdicts();
  // The first output form whose rule applies.
  void WriteByDecision();
  // Normal-text output, announced for regions of more than 2 lines.
  void OutputAsNormalText();
  // Writes "{", the paragraph codes of the style (keep-with-next off above 40 lines) and
  // after, when given.
  void WriteRegionOpening(int styleIndex, const char* after);
  // "{" and the paragraph codes of a style, into work.
  void StartMailParagraph(int styleIndex);
  // Converts an escaped region text for output in place: fragment conversion without a
  // trim (references when xrefs), link anchors restored.
  void ConvertRegionText(TextString& text, int xrefs);
  // Executes the in-line tags of text in the writer's scan of that kind; what the scan
  // reports becomes a region message (level 10).
  void RunRegionTags(TextString& text, int kind);
  // A CHANGE_POLICY line met inside the region: title tags expanded, reported ("POLICY:
  // Changed - "), then offered to the generation policies and to the layout.
  void ApplyRegionPolicyLine(const PreFormLine& line);
  // A mail header line: escaped, converted without references, blanks squeezed, trimmed.
  void ConvertMailLine(TextString& text);

  // ---- Table writer and cell tags: private members ----
  // The cells of a section on their grid (PreFormTableWriter.cpp).
  struct CellGrid;
  // A section's grid larger than this many slots is refused rather than built.
  static constexpr long long kMaxGridSlots = 1LL << 21;
  bool CanWriteTable() const {
    return fc_ != nullptr && ctx_ != nullptr && layout_ != nullptr && generation_ != nullptr;
  }
  FileControl& TableFc() { return *fc_; }
  Context& TableCtx() { return *ctx_; }
  TableLayout& TableLayoutOf() { return *layout_; }
  TableGenerationPolicies& TableGenerationOf() { return *generation_; }
  void WriteTableLine(const char* text);
  void FitToPage(int indentLevel);
  void WriteSectionBreak(int landscapePage);
  int TableWidthTwips(int indentLevel);
  void MoveUnplacedText(int started, TableCellList& header, TableCellList& data);
  void PlaceCells(TableCellList& list, CellGrid& grid);
  bool IsRowEmpty(const CellGrid& grid, int row);
  void WriteTableRows(const CellGrid& grid, int header);
  void AppendVerticalAlignment(int header, TextString& boundaries);
  void WriteTableCell(const CellGrid& grid, int row);
  void PrepareMeasuredText(const TextString& text, TextString& out);
  int MeasuredWidth(const TableCell& cell, const TextString& text);
  void ScanCellTags(int pass, TableCell& cell, PreHTML& line);
  void ReportCellTag(const char* message, const TextString& tagText);
  void ParseStubIndent(TableCell& cell, const TextString& arguments, const TextString& tagText);
  void ApplyTagFate(int fate, int executeMode, PreHTML& cellText, int& position, int tagStart,
                    int tagEnd, const TextString& tagText, const TextString& replacement,
                    int& handled);
  // The line a tag of a cell is executed on, apart from the cell's text.
  std::unique_ptr<PreHTML> cellTagLine_;

  // ---- Lines, analysis, splitting and definitions: private members ----
  // Fixed-width analysis steps (PreFormAnalysis.cpp).
  void EnsureLayout();
  void RemoveCommonIndent();
  // Lines less header, policy, ruler and blank lines.
  int BodyLines() const;
  void PlaceColumns(int minSeparation);
  void TestRegionKind();
  int MergeRound(int& mergeCount);
  // Merge rounds until one merges nothing, or kMaxMergeRounds of them (reported).
  static constexpr int kMaxMergeRounds = 64;
  void MergeUntilSettled(int& mergeCount);
  int MergeSparseSpans();
  void MarkTextBlocks();
  void IndentTextBlock(int m);
  void TestForDiagram();
  bool IsMalformed() const;
  void TestForMalformedTable();
  void OfferAllCells();
  // Binds one column format of the generation policies to its definitions
  // (PreFormDefinitions.cpp).
  void BindColumnFormat(ColumnFormat& format);
  // Column statistics and widths from the cell texts (PreFormColumns.cpp). The merge rounds
  // decide on the statistics alone; the widths are measured once the columns stay put, as a
  // merged column's width is measured afresh in the next round.
  static constexpr int kColumnStatistics = 1;
  static constexpr int kColumnWidths = 2;
  void ComputeColumnParts(int parts);
  void MeasureColumnWidths(int fontSize, int percent, int parts);
  // row made anew with one cell per column, each at the first line's end.
  void RebuildRow(TableCellList& row);
  // The indent taken off the working texts (0 when none was).
  int RemovedIndent() const;
  void ReportLayoutOverlaps();
  // Converts one escaped cell text for output: fragment conversion, link anchors restored.
  void ConvertCellText(TextString& text, int xrefs);
  // 1 when cell texts get cross-references: tables, not code or diagrams.
  int CellCrossReferences() const;
  // The alignment of a cell: the table's cell alignment when set; else, unless analysing,
  // its column's for a one-column cell; else the one its text suggests.
  int ChooseCellAlignment(int column, int width, const TextString& text, int analyse,
                          int span) const;
  // The end position of the first line: where the template cells are placed.
  const TextPosition& FirstEndPosition() const { return firstEnd_; }

  // What the constructor and Restart set from their arguments.
  void Begin(FileControl* fc, void* data, PreHTML* firstLine);
  // A column made anew or renewed from the spare ones.
  std::unique_ptr<PreFormColumn> MakeColumn(int start, int gapEnd, int boundary, int score);
  // Columns first .. end - 1 go to the spare ones.
  void DropColumns(int first, int end);
  // A fresh work line, renewed from the spare ones when there is one.
  std::unique_ptr<PreHTML> TakeWorkLine();

  RTFFile* rtf_;
  FileControl* fc_;
  Context* ctx_;
  void* data_;
  TextPosition firstEnd_;
  int indentRemoved_ = 0;  // the common indent was taken off the working texts
  TextString splitWork_;  // the end position of the first line
  std::vector<std::unique_ptr<PreFormLine>> lines_;
  std::vector<ColumnPositionStats> positionStats_;
  std::vector<int> blankTail_;  // CollectPositionStatistics' work list, kept for its room
  std::vector<std::unique_ptr<PreFormColumn>> columns_;
  TableCellList row_;  // the template row: one cell per column
  std::unique_ptr<TableLayout> layout_;
  std::unique_ptr<TableGenerationPolicies> generation_;
  // What earlier regions left for reuse (Restart).
  std::vector<std::unique_ptr<PreFormLine>> spareLines_;
  std::vector<std::unique_ptr<PreFormColumn>> spareColumns_;
  std::vector<std::unique_ptr<PreHTML>> spareWorkLines_;
  // Private table descriptions with the empty name that MakeLayout and
  // MakeGenerationPolicies give them.
  std::unique_ptr<TableLayout> spareLayout_;
  std::unique_ptr<TableGenerationPolicies> spareGeneration_;

 public:
  // ---- User-tagged tables (PreFormUserTable.cpp) ----
  // Row kinds of NEW_ROW ("HEAD", "LINE", "DATA"; none before the first row).
  static constexpr int kUserRowNone = 0;
  static constexpr int kUserRowHead = 1;
  static constexpr int kUserRowLine = 2;
  static constexpr int kUserRowData = 3;
  // Writes a region whose rows and cells are marked by directive lines: NEW_ROW starts a
  // row of its kind (a LINE row is a rule across the table), NEW_CELL a cell that takes the
  // text lines after it, COLUMN_DETAILS sets a column's alignment and width, LINERULE lines
  // go to the current cell. The columns are as many as the widest row's cells; the policy
  // lines are applied first. Groups of head and data rows go to the table writer in order,
  // in one table. Text outside any cell is reported and placed at the table's end; a region
  // without a cell is written as pre-formatted text when it holds text, else not at all.
  void ParseUserTable();

 private:
  struct UserTableGroup;
  // A policy line or a line beginning with the directive prefix; directive
  // receives its keyword (Title for a prefix that starts no known keyword).
  bool IsUserTableDirective(const PreFormLine& line, Directive& directive) const;
  // The normalised arguments of a directive line; false when the tag recogniser refuses the
  // line, which is then reported (when report) with the recogniser's text and level.
  bool ReadUserDirectiveArguments(const PreFormLine& line, TextString& arguments, bool report);
  // The kind a NEW_ROW line gives: field 1 (default "DATA") compared ignoring case; any
  // other word, or a line the tag recogniser refuses (reported when report), keeps kind.
  int ReadUserRowKind(const PreFormLine& line, int kind, bool report);
  // One COLUMN_DETAILS line: field 1 the column, 4 its alignment, 5 its width.
  void ReadUserColumnDetails(const PreFormLine& line);
};

// The width in points of a column width text: a number followed by "pt", "pts", "px"
// (points), "in", "ins" (x 72) or "cm" (x 72 / 2.54), or by nothing (points); rounded to
// the nearest point. 0 when the text is no number or the width lies outside 0 .. 1584
// points (22 inches), else 1.
int ReadUserColumnWidth(const TextString& text, int& points);

// ---- Region dispatch helpers (PreFormDispatch.cpp, PreFormOutput.cpp) ----
// A region is tab-delimited data when every line with text holds at least minTabs and at
// most maxTabs tabs, and the spread is small for the count: 3 or more with none, 5 or more
// with 1, 9 or more with 2, 11 or more with 3.
bool IsTabDelimitedRegion(int minTabs, int maxTabs);
// The header lines the analysis skips when "Ignore table header during analysis" is set:
// a fifth of the lines less policy lines above 25 lines, 5 for 8-25 lines, else all but 2 of
// them; never below 0.
int RegionHeaderLineCount(int lines, int policyLines);
// A PreForm for the RTF writer (a RegionMaker, rtf/RegionWriter.h).
std::unique_ptr<RegionWriter> MakePreFormRegion(RTFFile* writer, FileControl* fc, void* data,
                                                PreHTML* firstLine);

// Where the "//" comment of a code line starts: the first "//" that is not part of "://";
// -1 when none.
int FindCodeComment(const TextString& text);
// Sets the comment of a code line (FindCodeComment) in bold italic.
void SetCodeCommentStyle(TextString& text);
