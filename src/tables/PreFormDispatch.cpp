#include "tables/PreForm.h"

#include <algorithm>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "policy/TableAnalysisPolicies.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tables/TableTags.h"
#include "policy/TableType.h"
#include "text/StatementTypes.h"

// ---- Special formats ----

bool IsTabDelimitedRegion(int minTabs, int maxTabs) {
  const int spread = maxTabs - minTabs;
  if (spread < 0)
    return false;
  // The more tabs a line holds, the more lines may miss one or two of them.
  return (minTabs > 2 && spread == 0) || (minTabs > 4 && spread <= 1) ||
         (minTabs > 8 && spread <= 2) || (minTabs > 10 && spread <= 3);
}

int RegionHeaderLineCount(int lines, int policyLines) {
  if (lines > 25)
    return std::max(0, (lines - policyLines) / 5);
  if (lines >= 8)
    return 5;
  return std::max(0, lines - policyLines - 2);
}

void PreForm::SetSpecialFormat(int formatCode) {
  userTable = userCode = userDiagram = userPre = userTagged = 0;
  delimited = underwriter = invertedPyramid = 0;
  fixedColumns = 0;
  delimiter = '\t';
  specialFormat = kFormatNone;
  switch (formatCode) {
    case kFormatNone:
      break;
    case kFormatUserTable:
      userTable = 1;
      break;
    case kFormatUserCode:
      userCode = 1;
      break;
    case kFormatUserDiagram:
      userDiagram = 1;
      break;
    case kFormatUserPre:
      userPre = 1;
      break;
    case kFormatUserTagged:
    case kFormatUserTagged2:
      userTagged = 1;
      break;
    case kFormatTabDelimited:
      delimited = 1;
      break;
    case kFormatCommaDelimited:
      delimited = 1;
      delimiter = ',';
      break;
    case kFormatUnderwriter:
      underwriter = 1;
      break;
    case kFormatInvertedPyramid:
      invertedPyramid = 1;
      break;
    default: {
      TextString message("UNSUPPORTED CASE: Special Format Code ");
      message.AppendNumber('1', formatCode, 0);
      Report(message.GetText(), 10);
      return;
    }
  }
  specialFormat = formatCode;
}

// ---- Table type and private policies ----

// The text of a line as the type test reads it: runs of blanks and tabs as one blank, trimmed.
static void SqueezeBlanks(const TextString& text, TextString& out) {
  out.SetEmpty();
  bool blank = false;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !out.IsEmpty())
      out.AppendChar(' ');
    blank = false;
    out.AppendChar(c);
  }
}

void PreForm::MatchTableType() {
  if (tableTypeMatched || ctx_ == nullptr)
    return;
  tableTypeMatched = 1;
  TableDefinitionRegistry& registry = ctx_->TableDefinitions;
  const int typeCount = registry.GetTypeCount();
  TextString squeezed;
  for (int t = 0; t < typeCount && tableType == nullptr; ++t) {
    const TableType* type = registry.GetType(t);
    if (type == nullptr || type->GetContent().IsEmpty())
      continue;
    for (int i = 0; i < GetLineCount(); ++i) {
      SqueezeBlanks(GetLine(i)->work, squeezed);
      if (!squeezed.ContainsNoCase(type->GetContent().GetText()))
        continue;
      tableType = type;
      TextString message("INFO: Table is of type \"");
      message.Append(type->GetName());
      message.Append("\"");
      Report(message.GetText(), 7);
      break;
    }
  }
  if (tableType != nullptr)
    return;
  if (typeCount > 0)
    Report("WARNING: Table fails to match any known type", 4);
  tableType = &registry.GetDefaultType();
}

// A table type that names "Default" (case ignored) takes the registry's default entry.
static bool NamesDefault(const TextString& name) { return name.Compare("Default", 0, 0); }

void PreForm::MakeGenerationPolicies() {
  if (generationPoliciesMade || ctx_ == nullptr || fc_ == nullptr)
    return;
  generationPoliciesMade = 1;
  TableDefinitionRegistry& registry = ctx_->TableDefinitions;
  const TableGenerationPolicies* source = nullptr;
  if (tableType != nullptr && !NamesDefault(tableType->GetFormatName()))
    source = registry.FindFormat(tableType->GetFormatName());
  if (source == nullptr)
    source = &registry.GetDefaultFormat();
  std::unique_ptr<TableGenerationPolicies> generation = std::move(spareGeneration_);
  if (generation)
    generation->Reset();
  else
    generation = std::make_unique<TableGenerationPolicies>(TextString());
  (void)generation->CopyFrom(*fc_, *source);
  SetGenerationPolicies(std::move(generation));
}

void PreForm::MakeLayout() {
  if (ctx_ == nullptr)
    return;
  TableDefinitionRegistry& registry = ctx_->TableDefinitions;
  const TableLayout* source = nullptr;
  if (tableType != nullptr && !NamesDefault(tableType->GetStructureName()))
    source = registry.FindStructure(tableType->GetStructureName());
  if (source == nullptr)
    source = &registry.GetDefaultStructure();
  std::unique_ptr<TableLayout> layout = std::move(spareLayout_);
  if (layout)
    layout->Reset();
  else
    layout = std::make_unique<TableLayout>(TextString());
  layout->CopyFrom(*source);
  SetLayout(std::move(layout));
}

// ---- Dispatch ----

int PreForm::CountPolicyLines() const {
  int count = 0;
  for (int i = 0; i < GetLineCount(); ++i) {
    const PreFormLine& line = *GetLine(i);
    if (line.type == kTagChangePolicy && !line.work.IsEmpty())
      ++count;
  }
  return count;
}

void PreForm::Process(int specialFormatCode) {
  if (fc_ == nullptr)
    return;
  if (ctx_ == nullptr) {
    fc_->ReportMessage("PROGRAM ERROR : No Context passed to PreForm::Process", 10);
    return;
  }
  FileControl& fc = *fc_;
  Context& ctx = *ctx_;
  ctx.CodeLocation = kLocationOutput;
  ctx.InPreformattedRegion = 1;

  // 3. Lines that all hold about as many tabs are tab-delimited data.
  int formatCode = specialFormatCode;
  const bool tabbed =
      formatCode == kFormatNone && IsTabDelimitedRegion(minTabCount, maxTabCount);
  if (tabbed) {
    Report("INFO: Table auto-detected as having tabbed-delimited data", 10);
    formatCode = kFormatTabDelimited;
  }
  SetSpecialFormat(formatCode);
  if (rtf_ != nullptr)
    (void)rtf_->FlushBuffer(fc, rtf_, 0);

  // 5-9. The table type, the private copies and the table policies over them.
  MatchTableType();
  MakeGenerationPolicies();
  MakeLayout();
  TableLayout& layout = *pGetLayout();
  TableGenerationPolicies* generation = pGetGenerationPolicies();
  if (const TableAnalysisPolicies* defaults = fc.GetDefaultTabPolicy(); defaults != nullptr)
    ApplyTablePolicies(*defaults, fc, 0, &layout, generation);
  if (userTable || userTagged || delimited || underwriter || invertedPyramid) {
    if (const TableAnalysisPolicies* queued = fc.GetOldTabPolicy(); queued != nullptr)
      ApplyTablePolicies(*queued, fc, 1, &layout, generation);
  }
  if (tabbed)
    layout.delimiterCharacter.value.Assign("\t");

  // 10-13. Header lines, the layout text, the delimiter, the table number and font.
  if (layout.ignoreHeader.value)
    headerLineCount = RegionHeaderLineCount(GetLineCount(), CountPolicyLines());
  if (layout.layout.set && !layout.layout.value.IsEmpty())
    ParseTableLayout(fc, layout, layout.layout.value);
  if (!layout.delimiterCharacter.value.IsEmpty())
    delimiter = layout.GetDelimiter();
  layout.firstLineNumber = ctx.TableNumber;
  layout.secondLineNumber = ctx.TableNumber;
  ctx.PreviousTableNumber = ctx.TableNumber;
  layout.font.Assign(ctx.TableFont);

  // 14. Definitions, then the analysis.
  UseDefinitions();
  Analyse();

  if (!WriteForcedOutput()) {
    ApplyUserVerdicts();
    WriteByDecision();
  }

  if (rtf_ != nullptr)
    (void)rtf_->FlushBuffer(fc, rtf_, 0);
  ctx.InPreformattedRegion = 0;
  ctx.PreviousTableNumber = 0;
}

bool PreForm::WriteForcedOutput() {
  if (userTagged) {
    Report("INFO: Table is user-tagged table", 2);
    WriteTableOutput(kParseUserTagged);
    return true;
  }
  if (delimited) {
    Report("INFO: Table is a delimited-data table", 2);
    WriteTableOutput(kParseTable);
    return true;
  }
  if (underwriter) {
    Report("PROGRAM ERROR : Underwriter sections not supported in this variant", 10);
    // The section's text is not lost: it is written as it stands.
    OutputPreformatted();
    return true;
  }
  if (invertedPyramid) {
    Report("INFO: Table is inverted pyramid", 2);
    OutputInvertedPyramid();
    return true;
  }
  return false;
}

void PreForm::ApplyUserVerdicts() {
  if (userTable) {
    tableLike = 1;
    diagram = twoColumnText = code = mailHeader = textBlock = 0;
  } else if (userDiagram) {
    diagram = 1;
    tableLike = twoColumnText = code = mailHeader = textBlock = 0;
  } else if (userCode) {
    code = 1;
    tableLike = diagram = twoColumnText = mailHeader = textBlock = 0;
  }
}

void PreForm::WriteByDecision() {
  const int contentLines = GetLineCount() - headerLineCount - policyLineCount - blankLineCount;
  const int tableParse = twoColumnText ? kParseTwoColumnText : kParseTable;
  if (userDiagram || (diagram && !userTable && !userCode && !userPre)) {
    if (userDiagram || contentLines > 1) {
      Report("INFO: Table is Diagram/Code/PRE-like", 2);
      OutputPreformatted();
    } else {
      OutputAsNormalText();
    }
    return;
  }
  if (userCode || (code && !userTable && !userPre)) {
    const TableGenerationPolicies* generation = pGetGenerationPolicies();
    if (generation != nullptr && generation->Bool(GenerationPolicyId::UseCodeMarkup).value) {
      Report("INFO: Table is Code-like", 2);
      OutputCode();
    } else {
      Report("INFO: Table is Diagram/PRE-like", 2);
      OutputPreformatted();
    }
    return;
  }
  if (mailHeader) {
    Report("INFO: Table is actually a mail header", 1);
    OutputMailHeader();
    return;
  }
  if (userPre) {
    Report("INFO: Table is user-defined PRE section", 1);
    OutputPreformatted();
    return;
  }
  if (textBlock) {
    Report("INFO: Table is a heavily indented text Block", 2);
    OutputIndentedBlock();
    return;
  }
  if (userTable || (contentLines - rulerLineCount > 1 && tableLike)) {
    WriteTableOutput(tableParse);
    return;
  }
  if (ctx_->ScreenShotSeen && rulerLineCount > 1) {
    Report("INFO: Table is user-defined screen shot", 10);
    OutputPreformatted();
    return;
  }
  OutputAsNormalText();
}

void PreForm::OutputAsNormalText() {
  if (GetLineCount() > 2)
    Report("INFO: Outputing \"table\" as normal text", 7);
  OutputNormal();
}

void PreForm::WriteTableOutput(int parseType) {
  if (parseType == kParseUserTagged) {
    ParseUserTable();
    return;
  }
  // Tables and delimited data become RTF tables, two-column text hanging paragraphs.
  if (parseType == kParseTable || parseType == kParseTwoColumnText)
    ParseTable(parseType);
}
