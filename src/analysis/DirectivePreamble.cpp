#include "analysis/DirectivePreamble.h"

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/PolicyTable.h"
#include "text/PathUtils.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/StatementFile.h"

static constexpr int kErrorLevel = 10;

// One line of the folio defaults: a directive (the keyword after the delimiter) or an
// in-line text queued as it is.
struct PreambleLine {
  bool directive;
  const char* text;
};

static constexpr PreambleLine kFolioDefaults[] = {
    {true, "DEFINE_BLOCK DEFAULT_FOLIO_FOOTER"},
    {false, "[_[VARIABLE FOLIO_FOOTER_PAGE_NUMBER]_][_[QUAD C]_]"},
    {true, "END_BLOCK"},
    {true, "DEFINE_BLOCK DEFAULT_FOLIO_HR"},
    {false, "[_[LINERULE]_]"},
    {true, "END_BLOCK"},
    {true, "DEFINE_VARIABLE FOLIO_FORMAT_CODE,0"},
    {true, "DEFINE_VARIABLE FOLIO_TEMPLATE,\"[Folio]\""},
    {true, "RESET_BLOCK PAGE_HEAD"},
    {true, "RESET_BLOCK PAGHD"},
    {false, "[_[PAGE_MARKER]_]"},
};

// The delimiter in force and the keyword.
static TextString DirectiveLine(const FileControl& fc, const char* keyword) {
  TextString line(fc.GetText(PolicyId::DirectiveDelimiter));
  line.Append(keyword);
  return line;
}

static void QueueDirective(const FileControl& fc, StatementFile& reader, const char* keyword) {
  reader.AddPendingPiece(DirectiveLine(fc, keyword).GetText());
}

static int OutputTypeOf(const FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr ? ctx->GetOutputType() : GetOutputFormat();
}

void WriteDefaultDirectives(FileControl& fc, StatementFile& reader) {
  const int outputType = OutputTypeOf(fc);
  const bool fragments = !fc.GetText(PolicyId::FragmentsFile).IsEmpty();
  if (outputType == kOutputPlainText) {
    if (fragments)
      ProcessIncludeFiles(fc, reader);
    return;
  }
  if (outputType != kOutputHtml)
    return;
  const int ruleSet = fc.GetRuleSet();
  if (ruleSet == 1 || ruleSet == 2) {
    for (const PreambleLine& line : kFolioDefaults) {
      if (line.directive)
        QueueDirective(fc, reader, line.text);
      else
        reader.AddPendingPiece(line.text);
    }
  }
  if (fc.GetInt(PolicyId::PreserveFileStructureUsingPRE) != 0)
    QueueDirective(fc, reader, "BEGIN_PRE");
  const Context* ctx = fc.pGetContext();
  if (ctx != nullptr && ctx->Commands.sourceIsHtml != 0)
    QueueDirective(fc, reader, "BEGIN_HTML");
  if (fragments)
    ProcessIncludeFiles(fc, reader);
}

void AddClosingEndPre(FileControl& fc, StatementFile& file) {
  if (fc.GetInt(PolicyId::PreserveFileStructureUsingPRE) != 0)
    QueueDirective(fc, file, "END_PRE");
}

// ---- The fragments file ----

// folder with a separator at its end (an empty folder stays empty).
static TextString AsFolder(const TextString& folder) {
  TextString out(folder);
  const char last = out.CharAt(out.GetLength() - 1);
  if (!out.IsEmpty() && last != '/' && last != '\\')
    out.AppendChar('/');
  return out;
}

// Opens name on reader, found in "Input directory" or else in the include search folder.
static bool OpenInFolders(FileControl& fc, StatementFile& reader, const TextString& name) {
  TextString resolved;
  ResolveRelativePath(AsFolder(fc.GetText(PolicyId::InputDirectory)), name, resolved);
  if (reader.OpenForRead(resolved.GetText(), 0))
    return true;
  const Context* ctx = fc.pGetContext();
  if (ctx == nullptr || ctx->IncludeSearchFolder.IsEmpty())
    return false;
  ResolveRelativePath(AsFolder(ctx->IncludeSearchFolder), name, resolved);
  return reader.OpenForRead(resolved.GetText(), 0);
}

static bool PassIsRunning(const FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr && (ctx->AnalysisPass != 0 || ctx->ContentsPass != 0 || ctx->OutputPass != 0);
}

static void FollowInclude(FileControl& fc, StatementFile& reader, const Statement& line) {
  TextString name;
  (void)line.GetField(2, ' ', name);
  const bool opened = !name.IsEmpty() && OpenInFolders(fc, reader, name);
  if (!PassIsRunning(fc))
    return;
  TextString message(opened ? "INFO: Opened include file \"" : "ERROR: Failed to open include file \"");
  message.Append(name);
  message.AppendChar('"');
  if (opened)
    fc.ReportProgress(message.GetText());
  else
    fc.ReportMessage(message.GetText(), kErrorLevel);
}

// What a line of the fragments file does.
enum class FragmentLine { Opens, Closes, Include, OtherDirective, Text };

static FragmentLine ClassifyFragmentLine(const FileControl& fc, const Statement& line) {
  const TextString& delimiter = fc.GetText(PolicyId::DirectiveDelimiter);
  if (delimiter.IsEmpty() || !line.StartsWith(delimiter.GetText(), 0))
    return FragmentLine::Text;
  TextString word;
  (void)line.GetField(1, ' ', word);
  const auto is = [&](const char* keyword) {
    return word.EqualsText(DirectiveLine(fc, keyword), 0, 0);
  };
  if (is("DEFINE_HTML_FRAGMENT") || is("DEFINE_TEXT_FRAGMENT"))
    return FragmentLine::Opens;
  if (is("END_BLOCK") || is("RESET_HTML_FRAGMENT") || is("RESET_TEXT_FRAGMENT"))
    return FragmentLine::Closes;
  if (is("INCLUDE"))
    return FragmentLine::Include;
  return FragmentLine::OtherDirective;
}

void ProcessIncludeFiles(FileControl& fc, StatementFile& reader) {
  const TextString& fileName = fc.GetText(PolicyId::FragmentsFile);
  if (fileName.IsEmpty())
    return;
  StatementFile fragments;
  if (!OpenInFolders(fc, fragments, fileName)) {
    TextString message("ERROR: Can't find file ");
    message.Append(fileName);
    fc.ReportMessage(message.GetText(), kErrorLevel);
    return;
  }
  const StatementReadRules rules;
  InputRuleState state;
  Statement line;
  bool inFragment = false;
  while (true) {
    line.SetEmpty();
    if (!fragments.ReadStatementWith(line, rules, state))
      break;
    const FragmentLine kind = ClassifyFragmentLine(fc, line);
    switch (kind) {
      case FragmentLine::Opens:
      case FragmentLine::Closes:
        inFragment = kind == FragmentLine::Opens;
        reader.AddPendingPiece(line.GetText());
        continue;
      case FragmentLine::Include:
        FollowInclude(fc, fragments, line);
        break;
      case FragmentLine::OtherDirective: {
        TextString message("TAG ERROR: fragment file contains : ");
        message.Append(line);
        fc.ReportMessage(message.GetText(), kErrorLevel);
        break;
      }
      case FragmentLine::Text:
        break;
    }
    if (inFragment)
      reader.AddPendingPiece(line.GetText());
  }
  fragments.CloseAll();
}
